#include "platform/FormTracker.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <algorithm>

#include "platform/Form.h"
#include "platform/FormPrivate.h"
#include "platform/Guard.h"

namespace platform {

namespace {
QPointer<FormTracker> theTracker;
// How long after an activation request of the program other screens' activations are taken as
// the window system catching up rather than as the user's choice.
constexpr qint64 kSettleActivationMs = 500;
constexpr int kRetryFallbackMs = 50;
}  // namespace

FormTracker& FormTracker::instance() {
    if (!theTracker) theTracker = new FormTracker(qApp);
    return *theTracker;
}

FormTracker::FormTracker(QObject* parent) : QObject(parent) {}

void FormTracker::registerForm(Form* form) {
    form->installEventFilter(this);
    created_.emplace_back(form);
}

std::vector<Form*> FormTracker::forms() const {
    std::vector<Form*> forms;
    for (const QPointer<Form>& form : created_)
        if (form) forms.push_back(form);
    return forms;
}

void FormTracker::unregisterForm(Form* form) {
    // The screen is being destroyed: its handlers must not run any more.
    if (active_ == form) active_ = nullptr;
    if (queued_ == form) hasQueued_ = false;
    if (mainForm == form) mainForm = nullptr;
    std::erase_if(created_, [form](const QPointer<Form>& f) { return !f || f == form; });
    std::erase_if(recency_, [form](const QPointer<Form>& f) { return !f || f == form; });
    if (lastRequested_ == form) lastRequested_ = nullptr;
}

void FormTracker::touch(Form* form) {
    std::erase_if(recency_, [form](const QPointer<Form>& f) { return !f || f == form; });
    recency_.emplace_back(form);
}

void FormTracker::switchTo(Form* form) {
    if (switching_) {
        queued_ = form;
        hasQueued_ = true;
        return;
    }
    if (active_ == form) return;
    switching_ = true;
    QPointer<Form> old = active_;
    QPointer<Form> target = form;
    active_ = form;
    if (form) touch(form);
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{switching_};
    if (old) runGuarded([old] { if (old) old->FormDeactivate(); });
    if (target && active_ == target) {
        runGuarded([target] {
            if (target) target->FormActivate();
        });
        // The screen's activation enters the control that has its focus, also when the focus
        // stayed in it since the screen was last active (unless the user typed in it); an
        // activation handler that moved the focus and then loaded the texts has it entered once
        // the handler is done.
        if (target) Form::Private::enterOnActivation(target->d_->activeControl);
    }
    switching_ = false;
    if (hasQueued_) {
        hasQueued_ = false;
        Form* next = queued_;
        queued_ = nullptr;
        switchTo(next);
    }
}

void FormTracker::requestActivation(QWidget* window) {
    if (!window) return;
    window->activateWindow();
    lastRequested_ = window;
    lastRequestTime_.start();
}

void FormTracker::windowActivated(Form* form) {
    if (lastRequested_ && lastRequested_ != form && lastRequested_->isVisible() && lastRequestTime_.isValid() &&
        lastRequestTime_.elapsed() < kSettleActivationMs) {
        // A late activation of an earlier request: the program has moved on; ask again.
        lastRequested_->activateWindow();
        return;
    }
    switchTo(form);
}

Form* FormTracker::mostRecentVisibleExcept(const Form* form) const {
    for (auto it = recency_.rbegin(); it != recency_.rend(); ++it)
        if (*it && *it != form && (*it)->isVisible()) return *it;
    return nullptr;
}

void FormTracker::formHidden(Form* form) {
    const bool queuedTarget = switching_ && hasQueued_ && queued_ == form;
    if (active_ != form && !queuedTarget) return;
    // The hidden screen's activity ends at once. The screen that takes over is chosen when the
    // handler that hid it has finished, which usually shows the next screen itself.
    switchTo(nullptr);
    QTimer::singleShot(0, this, [this] { activateFallback(); });
}

void FormTracker::activateFallback() {
    // Nothing takes over once the program is ending (the main form was closed).
    if (active_ || requestedExitCode()) return;
    if (switching_) {
        QTimer::singleShot(kRetryFallbackMs, this, [this] { activateFallback(); });
        return;
    }
    Form* next = mostRecentVisibleExcept(nullptr);
    if (!next) return;
    switchTo(next);
    requestActivation(next);
}

bool FormTracker::eventFilter(QObject* watched, QEvent* event) {
    auto* form = qobject_cast<Form*>(watched);
    if (form && form->isWindow()) {
        if (event->type() == QEvent::WindowActivate)
            windowActivated(form);
        else if (event->type() == QEvent::Hide && !event->spontaneous())
            formHidden(form);
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace platform
