#include "platform/FocusTracker.h"

#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include "platform/FormPrivate.h"
#include "platform/Guard.h"
#include "platform/ModalState.h"

namespace platform {

namespace {
QPointer<FocusTracker> theFocusTracker;

Form* formOf(QWidget* widget) {
    if (!widget) return nullptr;
    QWidget* window = widget->window();
    auto* form = qobject_cast<Form*>(window);
    return form && form->isWindow() ? form : nullptr;
}
}  // namespace

FocusTracker& FocusTracker::instance() {
    if (!theFocusTracker) theFocusTracker = new FocusTracker(qApp);
    return *theFocusTracker;
}

FocusTracker::FocusTracker(QObject* parent) : QObject(parent) {
    connect(qApp, &QApplication::focusChanged, this, &FocusTracker::focusChanged);
    qApp->installEventFilter(this);
}

QWidget* FocusTracker::controlFor(Form* form, QWidget* widget) {
    // The nearest enclosing control with a leave handler (a grid for its cell editor), else the widget.
    for (QWidget* w = widget; w && w != form; w = w->parentWidget())
        if (form->d_->hasLeaveHandler(w)) return w;
    return widget;
}

void FocusTracker::watchWindow(Form* form) {
    QWindow* window = form->windowHandle();
    auto* d = form->d_;
    if (!window || d->watchedWindow == window) return;
    disconnect(d->focusObjectConnection);
    d->watchedWindow = window;
    QPointer<Form> guard(form);
    d->focusObjectConnection = connect(window, &QWindow::focusObjectChanged, form, [this, guard](QObject* object) {
        if (guard) focusObjectChanged(guard, object);
    });
}

void FocusTracker::focusChanged(QWidget*, QWidget* now) {
    // The widget that lost the focus is never used: it may be a box's button or on another screen.
    Form* form = formOf(now);
    if (!form) return;
    watchText(now);
    auto* d = form->d_;
    ++d->notifications;
    if (d->inTransition) return;
    bool byMouse = lastFocusIn_ == now && lastFocusReason_ == Qt::MouseFocusReason;
    transition(form, now, byMouse);
}

void FocusTracker::focusObjectChanged(Form* form, QObject* object) {
    // In the active window Qt reports this before it completes the move; focusChanged follows.
    if (form->isActiveWindow()) return;
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget || formOf(widget) != form) return;
    auto* d = form->d_;
    ++d->notifications;
    if (d->inTransition) return;
    transition(form, widget, false);
}

void FocusTracker::programMove(Form* form, QWidget* control) {
    auto* d = form->d_;
    unsigned before = d->notifications;
    control->setFocus(Qt::OtherFocusReason);
    // A window without a native window yet reports nothing: complete the move here.
    if (d->notifications == before && !d->inTransition) transition(form, control, false);
}

void FocusTracker::transition(Form* form, QWidget* focused, bool byMouse) {
    auto* d = form->d_;
    QWidget* control = controlFor(form, focused);
    if (d->activeControl == control) return;

    QPointer<QWidget> left = d->activeControl;
    std::function<void()> handler = d->leaveHandlerOf(left);
    QWidget* target = control;
    QPointer<QWidget> moveFocusTo;
    bool redirected = false;
    unsigned modalsBefore = detail::modalSerial();
    if (handler) {
        QPointer<Form> alive(form);
        d->inTransition = true;
        d->redirect = nullptr;
        {
            struct EndTransition {
                QPointer<Form>& form;
                ~EndTransition() {
                    if (form) form->d_->inTransition = false;
                }
            } end{alive};
            runGuarded(handler);
        }
        if (!alive) return;
        if (d->redirect && d->redirect->isEnabled()) {
            target = controlFor(form, d->redirect);
            moveFocusTo = d->redirect;
            redirected = true;
        } else if (QWidget* now = form->focusWidget(); now && formOf(now) == form && controlFor(form, now) != control) {
            // The handler moved Qt's focus itself.
            target = controlFor(form, now);
            redirected = true;
        }
        d->redirect = nullptr;
    }
    d->activeControl = target;
    if (moveFocusTo) moveFocusTo->setFocus(Qt::OtherFocusReason);
    // A leave handler that sends the focus elsewhere enters that control; one that sends it back
    // leaves the cursor where it was, so that what was typed can be mended.
    if (redirected ? target != left : !byMouse) Form::Private::selectOnEntry(target);
    if (byMouse && (redirected || detail::modalSerial() != modalsBefore)) eatPressInFlight();
}

void FocusTracker::watchText(QWidget* focused) {
    disconnect(textWatch_);
    QLineEdit* edit = Form::Private::typedEditOf(focused);
    if (!edit) return;
    // A new text that the program puts into the edit the user is in (a record shown, the screen
    // prepared for a new record) enters the edit afresh, so that typing replaces it. The user's
    // own typing marks the edit modified and keeps the cursor.
    textWatch_ = connect(edit, &QLineEdit::textChanged, this, [edit] {
        if (!edit->isModified() && edit->hasFocus()) edit->selectAll();
    });
}

void FocusTracker::eatPressInFlight() {
    // The mouse press that moved the focus reaches the clicked widget only after the move: when the
    // leave handler sent the focus elsewhere or showed a box, the rest of that click is dropped.
    eatPress_ = true;
    QTimer::singleShot(0, this, [this] { eatPress_ = false; });
}

bool FocusTracker::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::FocusIn:
        if (watched->isWidgetType()) {
            lastFocusIn_ = static_cast<QWidget*>(watched);
            lastFocusReason_ = static_cast<QFocusEvent*>(event)->reason();
        }
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        if (eatPress_ && watched->isWidgetType()) {
            eatPress_ = false;
            return true;
        }
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace platform
