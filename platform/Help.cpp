#include "platform/Help.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QWindow>

#include "platform/Dialogs.h"
#include "platform/Form.h"
#include "platform/HelpViewer.h"
#include "platform/testing/DialogScript.h"

namespace platform {

namespace {

QString helpFile;

// The help files keep their old mixed-case names; a name that differs only in case is the same file.
QString existingFile(const QString& file) {
    QFileInfo info(file);
    if (info.isFile()) return file;
    const QDir dir = info.dir();
    for (const QString& name : dir.entryList(QDir::Files))
        if (name.compare(info.fileName(), Qt::CaseInsensitive) == 0) return dir.filePath(name);
    return {};
}

void openHelp(const QString& wanted, const QString& anchor) {
    const QString file = existingFile(wanted);
    if (file.isEmpty()) {
        showMessage(QStringLiteral("Cannot find the help file %1.").arg(QDir::toNativeSeparators(wanted)));
        return;
    }
    HelpViewer& viewer = helpViewer();
    viewer.open(file, anchor);
    // Asked for from a message box's Help button: the help window must not be blocked by the box.
    if (QWidget* modal = QApplication::activeModalWidget(); modal && modal != &viewer) {
        viewer.winId();
        if (viewer.windowHandle() && modal->windowHandle())
            viewer.windowHandle()->setTransientParent(modal->windowHandle());
    }
    // Over the screen the user works in.
    Form* over = activeForm() ? activeForm() : mainForm();
    viewer.showOver(over && over->isVisible() ? over : nullptr);
}

}  // namespace

void setApplicationHelpFile(const QString& path) { helpFile = path; }
QString applicationHelpFile() { return helpFile; }

void showHelpTopic(const QString& file, const QString& topic) {
    if (testing::DialogScript::active()) {
        testing::DialogScript::recordHelp(testing::HelpRequest{file, topic, 0});
        return;
    }
    openHelp(file, topic);
}

void showHelpContext(const QString& file, int context) {
    if (testing::DialogScript::active()) {
        testing::DialogScript::recordHelp(testing::HelpRequest{file, QString(), context});
        return;
    }
    openHelp(file, QStringLiteral("context-%1").arg(context));
}

}  // namespace platform
