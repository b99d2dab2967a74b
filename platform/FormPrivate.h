#pragma once
// The per-screen state behind Form: leave handlers, the logical active control and the state of a
// running leave handler. Shared by Form and its two trackers only.
#include <QMetaObject>
#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QWidget>
#include <QWindow>
#include <functional>
#include <utility>
#include <vector>

#include "platform/Form.h"

namespace platform {

struct Form::Private {
    std::vector<std::pair<QPointer<QWidget>, std::function<void()>>> leaveHandlers;
    QPointer<QWidget> activeControl;
    QPointer<QAbstractButton> defaultButton;
    QPointer<QAbstractButton> cancelButton;

    // While a leave handler runs: focus notifications of this screen are ignored, and
    // focusControl() only records where the focus goes afterwards.
    bool inTransition = false;
    QPointer<QWidget> redirect;

    // Counts focus notifications seen for this screen (tells focusControl whether Qt reported its move).
    unsigned notifications = 0;

    // The native window whose focus-object changes are watched while the screen is inactive.
    QPointer<QWindow> watchedWindow;
    QMetaObject::Connection focusObjectConnection;

    std::function<void()> leaveHandlerOf(const QWidget* control) const {
        if (!control) return {};
        for (const auto& [widget, handler] : leaveHandlers)
            if (widget == control) return handler;
        return {};
    }
    // The edit that takes a control's typing: a line edit itself, or an editable combo box's edit.
    static QLineEdit* typedEditOf(QWidget* control) {
        if (auto* edit = qobject_cast<QLineEdit*>(control)) return edit;
        if (auto* combo = qobject_cast<QComboBox*>(control)) return combo->lineEdit();
        return nullptr;
    }
    // An edit or editable combo box entered from the keyboard, by the program or by the screen's
    // activation shows its whole text selected, so that typing replaces it; a mouse click places
    // the cursor instead. The edit counts as not typed in since this entry.
    static void selectOnEntry(QWidget* control) {
        if (QLineEdit* edit = typedEditOf(control)) {
            edit->selectAll();
            edit->setModified(false);
        }
    }
    // The activation of a screen enters its control again, unless the user has typed in it since
    // it was entered: that edit keeps its cursor.
    static void enterOnActivation(QWidget* control) {
        const QLineEdit* edit = typedEditOf(control);
        if (!edit || !edit->isModified()) selectOnEntry(control);
    }
    bool hasLeaveHandler(const QWidget* control) const {
        for (const auto& entry : leaveHandlers)
            if (entry.first == control) return true;
        return false;
    }
};

}  // namespace platform
