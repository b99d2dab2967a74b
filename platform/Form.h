#pragma once
// A screen with the form semantics of the classic class library:
// - the program's active form: FormActivate/FormDeactivate fire only when the active screen of the
//   program changes; a message box, a file dialog or another application fires neither;
// - the active control: a leave handler runs when the focus moves to another control of the same
//   screen (by the user or by focusControl), never when the window loses the focus;
// - show (non-modal, brought to the front, made active), hide, close with a close query;
//   closing the main form ends the event loop;
// - every one-line edit and editable box takes only text that its file can store
//   (platform/TextFieldRule.h): the plain rule unless the screen declared the field's own.
#include <QWidget>

class QAbstractButton;
#include <functional>

namespace platform {

class Form : public QWidget {
    Q_OBJECT
public:
    explicit Form(QWidget* parent = nullptr);
    ~Form() override;

    // Show: shows the screen non-modally, brings it to the front and makes it the active form.
    void showForm();
    // Hide: hides the screen; when it was the active form, its FormDeactivate runs at once, and when
    // the running handler has shown no other screen, the most recently active visible form becomes
    // active as soon as the handler has finished (on the next turn of the event loop).
    void hideForm();
    // Close: FormCloseQuery decides; when it allows, FormClose runs and the screen hides. Closing the
    // main form first closes every other open screen, in creation order, each in its own way; when
    // one of them stays open, so does the main form. Once the main form is closed, the event loop
    // ends. Returns true when the screen was closed.
    bool closeForm();
    // Closes every other open screen, in the order the screens were created, each in its own way;
    // stops at the first one that stays open and returns false. Closing the main form begins so.
    bool closeOtherForms();
    bool isActiveForm() const;
    // Position "screen centre": moves the screen to the middle of the primary screen's work area.
    void centreOnScreen();

    // The leave (exit) handler of a control of this screen.
    void onLeave(QWidget* control, std::function<void()> handler);
    // The program's SetFocus: moves the focus to `control`; the leave handler of the control that had
    // the focus runs first (whether or not the window is active). Called inside a leave handler, it
    // redirects the pending move.
    void focusControl(QWidget* control);
    // The control that has the focus on this screen (logically; also while a box is open).
    QWidget* activeControl() const;

    // The default button: Enter presses it, unless the focus is on another button, which Enter
    // then presses. The cancel button: Escape presses it.
    void setDefaultButton(QAbstractButton* button);
    void setCancelButton(QAbstractButton* button);

    // The screen's help context (F1 opens the help at it).
    void setHelpContext(int context) { helpContext_ = context; }
    int helpContext() const { return helpContext_; }

protected:
    virtual void FormActivate() {}
    virtual void FormDeactivate() {}
    virtual bool FormCloseQuery() { return true; }
    virtual void FormClose() {}
    virtual void FormShow() {}

    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    friend class FormTracker;
    friend class FocusTracker;
    int helpContext_ = 0;
    struct Private;
    Private* d_;
};

// The main form (closing it quits the application) and the active form.
void setMainForm(Form* form);
Form* mainForm();
Form* activeForm();

}  // namespace platform
