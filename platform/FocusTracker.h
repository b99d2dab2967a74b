#pragma once
// The logical active control of every screen and its leave handlers. Fed by
// QApplication::focusChanged (moves inside the active window), by Form::focusControl (the
// program's moves) and, for an inactive window, by its focus-object changes.
#include <QObject>
#include <QPointer>

class QWidget;

namespace platform {

class Form;

class FocusTracker : public QObject {
    Q_OBJECT
public:
    static FocusTracker& instance();

    // Watches the screen's native window (call after it was shown; reconnects a recreated window).
    void watchWindow(Form* form);
    // The program moves the focus of `form` to `control` (Form::focusControl outside a leave handler).
    void programMove(Form* form, QWidget* control);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit FocusTracker(QObject* parent);
    void focusChanged(QWidget* old, QWidget* now);
    void focusObjectChanged(Form* form, QObject* object);
    void transition(Form* form, QWidget* focused, bool byMouse);
    static QWidget* controlFor(Form* form, QWidget* widget);
    void eatPressInFlight();
    void watchText(QWidget* focused);

    QPointer<QWidget> lastFocusIn_;
    int lastFocusReason_ = 0;
    bool eatPress_ = false;
    QMetaObject::Connection textWatch_;  // the text of the edit that has the focus
};

}  // namespace platform
