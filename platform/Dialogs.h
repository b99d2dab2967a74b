#pragma once
// Message boxes and file dialogs, all behind one seam: tests queue the answers of the next boxes
// and dialogs (platform/testing/DialogScript.h); a box without a queued answer fails the test.
#include <QString>
#include <QStringList>
#include <initializer_list>
#include <optional>
#include <vector>

class QDialog;

namespace platform {

enum class Button { None, Ok, Cancel, Yes, No, Help };
enum class BoxKind { Plain, Information, Warning, Error, Confirmation };

// The application title: the title of message boxes (default: the application's display name).
void setApplicationTitle(const QString& title);
QString applicationTitle();

// A plain message with one OK button (ShowMessage); the title is the application title.
void showMessage(const QString& text);

// A question or note with the given buttons (MessageDlg). When `buttons` holds Help and
// `helpContext` is set, Help opens the help at that context and keeps the box open.
Button messageDlg(BoxKind kind, const QString& text, std::initializer_list<Button> buttons,
                  int helpContext = 0);

// Confirmation with Yes and No.
inline Button confirm(const QString& text) {
    return messageDlg(BoxKind::Confirmation, text, {Button::Yes, Button::No});
}

// A box with its own title (Application.MessageBox): OK/Cancel or Yes/No/Cancel and so on.
Button messageBox(const QString& text, const QString& caption, std::initializer_list<Button> buttons,
                  BoxKind kind = BoxKind::Plain);

struct FileDialogOptions {
    QString title;
    QString filter;          // "Text files (*.txt);;All files (*)"
    QString defaultExt;      // "kdf", added when the name has none
    QString initialDir;
    QString fileName;
    bool overwritePrompt = false;
    bool mustExist = false;  // open: the file and its folder must exist
};

std::optional<QString> openFileDialog(const FileDialogOptions& options);
std::optional<QString> saveFileDialog(const FileDialogOptions& options);
// A directory chooser that can create a folder.
std::optional<QString> selectDirectory(const QString& title, const QString& initialDir);

// Runs a modal dialog of the program's own and afterwards gives the activation back to the window
// that was active (the active form keeps its state: no FormActivate or FormDeactivate).
int execModal(QDialog& dialog);

}  // namespace platform
