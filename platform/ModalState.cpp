#include "platform/ModalState.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QWidget>

#include "platform/Dialogs.h"
#include "platform/Form.h"
#include "platform/FormTracker.h"

namespace platform {

namespace detail {

namespace {
unsigned serial = 0;
}

unsigned modalSerial() { return serial; }
void noteModalShown() { ++serial; }

QWidget* modalOwner() {
    Form* form = activeForm();
    if (form && form->isVisible()) return form;
    return QApplication::activeWindow();
}

}  // namespace detail

int execModal(QDialog& dialog) {
    detail::noteModalShown();
    QPointer<QWidget> owner = detail::modalOwner();
    int result = dialog.exec();
    // Without a window manager nothing re-activates the owner after a modal dialog; with one, the
    // re-activation arrives late. Either way the active form stays what it was.
    if (owner && owner->isVisible()) FormTracker::instance().requestActivation(owner->window());
    return result;
}

}  // namespace platform
