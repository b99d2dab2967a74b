#include "platform/FormTracker.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>
#include <algorithm>

#include "platform/Form.h"
#include "platform/Guard.h"

namespace platform {

namespace {
QPointer<FormTracker> theTracker;
constexpr int kForgetActivationRequestsMs = 2000;
}  // namespace

FormTracker& FormTracker::instance() {
    if (!theTracker) theTracker = new FormTracker(qApp);
    return *theTracker;
}

FormTracker::FormTracker(QObject* parent) : QObject(parent) {
    // A window system that ignores an activation request must not leave it pending for ever.
    forgetPending_.setSingleShot(true);
    forgetPending_.setInterval(kForgetActivationRequestsMs);
    connect(&forgetPending_, &QTimer::timeout, this, [this] { pendingActivations_.clear(); });
}

void FormTracker::registerForm(Form* form) { form->installEventFilter(this); }

void FormTracker::unregisterForm(Form* form) {
    // The screen is being destroyed: its handlers must not run any more.
    if (active_ == form) active_ = nullptr;
    if (queued_ == form) hasQueued_ = false;
    if (mainForm == form) mainForm = nullptr;
    std::erase_if(recency_, [form](const QPointer<Form>& f) { return !f || f == form; });
    std::erase_if(pendingActivations_, [form](const QPointer<QWidget>& w) { return !w || w == form; });
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
    if (target && active_ == target) runGuarded([target] { if (target) target->FormActivate(); });
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
    pendingActivations_.emplace_back(window);
    forgetPending_.start();
}

void FormTracker::windowActivated(Form* form) {
    auto it = std::find(pendingActivations_.begin(), pendingActivations_.end(), form);
    if (it != pendingActivations_.end()) {
        pendingActivations_.erase(pendingActivations_.begin(), it + 1);
        // An older request that the window system answers late: the program has moved on.
        if (!pendingActivations_.empty()) return;
    }
    switchTo(form);
}

Form* FormTracker::mostRecentVisibleExcept(const Form* form) const {
    for (auto it = recency_.rbegin(); it != recency_.rend(); ++it)
        if (*it && *it != form && (*it)->isVisible()) return *it;
    return nullptr;
}

void FormTracker::formHidden(Form* form) {
    if (active_ != form && !(switching_ && hasQueued_ && queued_ == form)) return;
    Form* next = mostRecentVisibleExcept(form);
    switchTo(next);
    if (next) requestActivation(next);
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
