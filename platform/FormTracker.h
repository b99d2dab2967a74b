#pragma once
// The program's logical active form. Only a window activation of a registered screen counts;
// message boxes, dialogs, popups and other applications are invisible to it. The tracker itself
// fires the old screen's FormDeactivate and then the new screen's FormActivate.
#include <QObject>
#include <QPointer>
#include <QElapsedTimer>
#include <vector>

class QWidget;

namespace platform {

class Form;

class FormTracker : public QObject {
    Q_OBJECT
public:
    static FormTracker& instance();

    void registerForm(Form* form);
    void unregisterForm(Form* form);
    // Every screen, in the order the screens were created.
    std::vector<Form*> forms() const;

    // Makes `form` (or none) the active form: old FormDeactivate, then new FormActivate. A switch
    // asked for while the handlers of another switch run follows when those are done.
    void switchTo(Form* form);
    Form* active() const { return active_; }

    // Asks the window system to activate `window`; its activation then changes nothing.
    void requestActivation(QWidget* window);

    QPointer<Form> mainForm;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit FormTracker(QObject* parent);
    void windowActivated(Form* form);
    void formHidden(Form* form);
    void activateFallback();
    Form* mostRecentVisibleExcept(const Form* form) const;
    void touch(Form* form);

    QPointer<Form> active_;
    std::vector<QPointer<Form>> created_;  // in creation order
    std::vector<QPointer<Form>> recency_;  // most recently active last
    // The window the program last asked to activate, and when: a window manager may still hand
    // the activation to a window asked for earlier, or to one it mapped in between.
    QPointer<QWidget> lastRequested_;
    QElapsedTimer lastRequestTime_;
    bool switching_ = false;
    bool hasQueued_ = false;
    QPointer<Form> queued_;
};

}  // namespace platform
