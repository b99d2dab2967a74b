#include "platform/Form.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QScreen>
#include <QShortcut>
#include <QShowEvent>

#include "platform/FocusTracker.h"
#include "platform/FormPrivate.h"
#include "platform/FormTracker.h"
#include "platform/Guard.h"
#include "platform/Help.h"
#include "platform/TextFieldRule.h"

namespace platform {

Form::Form(QWidget* parent) : QWidget(parent, Qt::Window), d_(new Private) {
    FormTracker::instance().registerForm(this);
    FocusTracker::instance();
    // F1 anywhere on the screen, whichever control has the focus, opens the screen's help.
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    help->setContext(Qt::WindowShortcut);
    connect(help, &QShortcut::activated, this, [this] {
        if (helpContext_ != 0) runGuarded([this] { showHelpContext(helpContext_); });
    });
}

Form::~Form() {
    // The QWidget part still runs while it is destroyed (hide, focus): nothing may reach this
    // screen's handlers from there.
    disconnect(d_->focusObjectConnection);
    removeEventFilter(&FormTracker::instance());
    FormTracker::instance().unregisterForm(this);
    delete d_;
    d_ = nullptr;
}

void Form::showForm() {
    if (isMinimized()) setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    // The offscreen platform has no stacking order (and says so for every raise).
    if (QGuiApplication::platformName() != QLatin1String("offscreen")) raise();
    FormTracker::instance().requestActivation(this);
    FormTracker::instance().switchTo(this);
}

void Form::hideForm() { hide(); }

bool Form::closeForm() {
    // Ending the program leaves every screen: each open screen is closed first, in the order the
    // screens were created, so that each asks about its unsaved changes as its own close does.
    // A screen that stays open keeps the program running.
    if (FormTracker::instance().mainForm == this && !closeOtherForms()) return false;
    // An error in either handler is shown and stops the close.
    bool allowed = false;
    runGuarded([&] { allowed = FormCloseQuery(); });
    if (!allowed) return false;
    bool closed = false;
    runGuarded([&] {
        FormClose();
        closed = true;
    });
    if (!closed) return false;
    hide();
    if (FormTracker::instance().mainForm == this) quitEventLoop(0);
    return true;
}

bool Form::closeOtherForms() {
    for (Form* other : FormTracker::instance().forms())
        if (other != this && other->isVisible() && !other->closeForm()) return false;
    return true;
}

bool Form::isActiveForm() const { return FormTracker::instance().active() == this; }

void Form::centreOnScreen() {
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void Form::onLeave(QWidget* control, std::function<void()> handler) {
    if (!control) return;
    std::erase_if(d_->leaveHandlers, [control](const auto& entry) { return !entry.first || entry.first == control; });
    d_->leaveHandlers.emplace_back(control, std::move(handler));
}

void Form::focusControl(QWidget* control) {
    if (!control) return;
    if (d_->inTransition) {
        // Inside a leave handler: the pending move goes here instead.
        d_->redirect = control;
        return;
    }
    if (!control->isEnabled()) return;
    if (control->window() != this) {
        // A control of another window: that screen moves its own focus.
        if (auto* other = qobject_cast<Form*>(control->window()))
            other->focusControl(control);
        else
            control->setFocus(Qt::OtherFocusReason);
        return;
    }
    FocusTracker::instance().programMove(this, control);
}

QWidget* Form::activeControl() const { return d_->activeControl; }

void Form::closeEvent(QCloseEvent* event) {
    // The window's close button and close() take the screen's own way: close query, close, hide.
    event->ignore();
    closeForm();
}

void Form::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    FocusTracker::instance().watchWindow(this);
    keepFieldsStorable(this);
    if (!event->spontaneous()) runGuarded([this] { FormShow(); });
}

void Form::setDefaultButton(QAbstractButton* button) { d_->defaultButton = button; }
void Form::setCancelButton(QAbstractButton* button) { d_->cancelButton = button; }

namespace {
bool canPress(const QAbstractButton* button) {
    return button && button->isEnabled() && button->isVisibleTo(button->window());
}
}  // namespace

// Key presses that no control of the screen took: Enter and Escape.
void Form::keyPressEvent(QKeyEvent* event) {
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (plain && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        auto* focused = qobject_cast<QAbstractButton*>(focusWidget());
        QAbstractButton* target = focused && isAncestorOf(focused) ? focused : d_->defaultButton.data();
        if (canPress(target)) {
            target->click();
            return;
        }
    }
    if (plain && event->key() == Qt::Key_Escape && canPress(d_->cancelButton)) {
        d_->cancelButton->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void setMainForm(Form* form) { FormTracker::instance().mainForm = form; }
Form* mainForm() { return FormTracker::instance().mainForm; }
Form* activeForm() { return FormTracker::instance().active(); }

}  // namespace platform
