#include "platform/Dialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <algorithm>

#include "platform/Help.h"
#include "platform/ModalState.h"
#include "platform/RealDialogs.h"
#include "platform/testing/DialogScript.h"

namespace platform {

using testing::DialogScript;

namespace {

QString applicationTitleText;
bool applicationTitleSet = false;

const char* buttonName(Button b) {
    switch (b) {
    case Button::None: return "None";
    case Button::Ok: return "OK";
    case Button::Cancel: return "Cancel";
    case Button::Yes: return "Yes";
    case Button::No: return "No";
    case Button::Help: return "Help";
    }
    return "?";
}

Button scriptedBox(const testing::ShownBox& box) {
    DialogScript::recordBox(box);
    for (;;) {
        std::optional<Button> answer = DialogScript::takeBoxAnswer();
        if (!answer) {
            DialogScript::reportUnexpected(QStringLiteral("A message box without a queued answer: \"%1\"").arg(box.text));
            return detail::escapeAnswer(box.buttons);
        }
        if (std::find(box.buttons.begin(), box.buttons.end(), *answer) == box.buttons.end()) {
            DialogScript::reportUnexpected(QStringLiteral("The answer %1 is not a button of the box \"%2\"")
                                               .arg(QLatin1String(buttonName(*answer)), box.text));
            return detail::escapeAnswer(box.buttons);
        }
        if (*answer != Button::Help) return *answer;
        // Help opens the help and leaves the box open for the next answer.
        showHelpContext(box.helpContext);
    }
}

Button showBox(BoxKind kind, const QString& caption, const QString& text, std::vector<Button> buttons,
               int helpContext) {
    if (buttons.empty()) buttons.push_back(Button::Ok);
    if (DialogScript::active()) {
        detail::noteModalShown();
        return scriptedBox(testing::ShownBox{kind, caption, text, buttons, helpContext});
    }
    return detail::runMessageBox(kind, caption, text, buttons, helpContext);
}

std::optional<QString> scriptedFileDialog(testing::ShownFileDialog::Kind kind, const FileDialogOptions& options) {
    detail::noteModalShown();
    DialogScript::recordFileDialog(testing::ShownFileDialog{kind, options});
    std::optional<std::optional<QString>> answer = DialogScript::takeFileAnswer();
    if (!answer) {
        DialogScript::reportUnexpected(QStringLiteral("A file dialog without a queued answer: \"%1\"").arg(options.title));
        return std::nullopt;
    }
    return *answer;
}

// The dialog adds the default extension to a name without one.
std::optional<QString> withDefaultExt(std::optional<QString> path, const FileDialogOptions& options) {
    if (path && !options.defaultExt.isEmpty() && QFileInfo(*path).suffix().isEmpty())
        *path += QLatin1Char('.') + options.defaultExt;
    return path;
}

}  // namespace

void setApplicationTitle(const QString& title) {
    applicationTitleText = title;
    applicationTitleSet = true;
}

QString applicationTitle() {
    return applicationTitleSet ? applicationTitleText : QApplication::applicationDisplayName();
}

void showMessage(const QString& text) { showBox(BoxKind::Plain, applicationTitle(), text, {Button::Ok}, 0); }

Button messageDlg(BoxKind kind, const QString& text, std::initializer_list<Button> buttons, int helpContext) {
    return showBox(kind, applicationTitle(), text, buttons, helpContext);
}

Button messageBox(const QString& text, const QString& caption, std::initializer_list<Button> buttons, BoxKind kind) {
    return showBox(kind, caption.isEmpty() ? applicationTitle() : caption, text, buttons, 0);
}

std::optional<QString> openFileDialog(const FileDialogOptions& options) {
    if (DialogScript::active())
        return withDefaultExt(scriptedFileDialog(testing::ShownFileDialog::Open, options), options);
    return detail::runFileDialog(detail::FileDialogKind::Open, options);
}

std::optional<QString> saveFileDialog(const FileDialogOptions& options) {
    if (DialogScript::active())
        return withDefaultExt(scriptedFileDialog(testing::ShownFileDialog::Save, options), options);
    return detail::runFileDialog(detail::FileDialogKind::Save, options);
}

std::optional<QString> selectDirectory(const QString& title, const QString& initialDir) {
    if (DialogScript::active()) {
        FileDialogOptions options;
        options.title = title;
        options.initialDir = initialDir;
        std::optional<QString> path = scriptedFileDialog(testing::ShownFileDialog::Directory, options);
        // The chooser creates a folder that the user named and confirmed.
        if (path && !QFileInfo::exists(*path) && !QDir().mkpath(*path)) return std::nullopt;
        return path;
    }
    return detail::runDirectoryDialog(title, initialDir);
}

}  // namespace platform
