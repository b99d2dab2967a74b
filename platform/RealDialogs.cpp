#include "platform/RealDialogs.h"

#include <QAbstractButton>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLocale>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QPushButton>
#include <QScreen>
#include <QTreeView>
#include <algorithm>
#include <map>

#include "platform/Help.h"
#include "platform/ModalState.h"

namespace platform::detail {

namespace {

bool has(const std::vector<Button>& buttons, Button b) {
    return std::find(buttons.begin(), buttons.end(), b) != buttons.end();
}

QMessageBox::StandardButton standardButton(Button b) {
    switch (b) {
    case Button::Ok: return QMessageBox::Ok;
    case Button::Cancel: return QMessageBox::Cancel;
    case Button::Yes: return QMessageBox::Yes;
    case Button::No: return QMessageBox::No;
    case Button::Help: return QMessageBox::Help;
    case Button::None: break;
    }
    return QMessageBox::NoButton;
}

QMessageBox::Icon iconOf(BoxKind kind) {
    switch (kind) {
    case BoxKind::Plain: return QMessageBox::NoIcon;
    case BoxKind::Information: return QMessageBox::Information;
    case BoxKind::Warning: return QMessageBox::Warning;
    case BoxKind::Error: return QMessageBox::Critical;
    case BoxKind::Confirmation: return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

Button defaultAnswer(const std::vector<Button>& buttons) {
    if (has(buttons, Button::Ok)) return Button::Ok;
    if (has(buttons, Button::Yes)) return Button::Yes;
    return buttons.front();
}

// A directory chooser that accepts the name of a folder that does not exist yet: it asks, then
// creates the folder.
class DirectoryDialog : public QFileDialog {
public:
    using QFileDialog::QFileDialog;
    void accept() override {
        const QStringList files = selectedFiles();
        const QString path = files.value(0);
        if (!path.isEmpty() && !QFileInfo::exists(path)) {
            const QString question =
                QStringLiteral("The directory %1 does not exist. Create it?").arg(QDir::toNativeSeparators(path));
            if (messageDlg(BoxKind::Confirmation, question, {Button::Yes, Button::No}) != Button::Yes) return;
            if (!QDir().mkpath(path)) {
                showMessage(QStringLiteral("Cannot create the directory %1.").arg(QDir::toNativeSeparators(path)));
                return;
            }
        }
        QFileDialog::accept();
    }
};

// The file list in detail view with its name, size, type and date columns wide enough for their
// titles and usual entries, and the dialog wide enough for all four; whatever widths an earlier
// dialog left in the user's settings.
void fitFileList(QFileDialog& dialog) {
    dialog.setViewMode(QFileDialog::Detail);
    auto* view = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
    if (!view) return;
    QHeaderView* header = view->header();
    const QFontMetrics metrics(view->font());
    const QFontMetrics titleMetrics(header->font());
    const QDateTime lateDate(QDate(2000, 12, 28), QTime(23, 59, 59));
    const QStringList widest[] = {
        {QStringLiteral("Zelk_LT-params.kpx  "), QStringLiteral("Name")},
        {QStringLiteral("1023.99 KiB"), QStringLiteral("Size")},
        // The type of the program's text files, as the list names it in the user's language.
        {QStringLiteral("plain text document"), QMimeDatabase().mimeTypeForName(QStringLiteral("text/plain")).comment(),
         QStringLiteral("Type")},
        {QLocale::system().toString(lateDate, QLocale::ShortFormat), QLocale().toString(lateDate, QLocale::ShortFormat),
         QStringLiteral("Date Modified")},
    };
    int total = 0;
    for (int column = 0; column < 4 && column < header->count(); ++column) {
        int width = 0;
        for (const QString& text : widest[column]) width = std::max(width, metrics.horizontalAdvance(text));
        width = std::max(width, titleMetrics.horizontalAdvance(header->model()->headerData(column, Qt::Horizontal).toString()));
        // Room for the icon of the name column, the sort arrow and the margins.
        width += column == 0 ? 48 : 32;
        header->resizeSection(column, width);
        total += width;
    }
    // Beside the list: the side bar of places, the frames and the vertical scroll bar.
    int dialogWidth = total + 300;
    if (QScreen* screen = dialog.screen()) dialogWidth = std::min(dialogWidth, screen->availableGeometry().width());
    dialog.resize(std::max(dialog.width(), dialogWidth), std::max(dialog.height(), 440));
}

// Runs the dialog with its file list fitted; the path chosen, or nothing when it was cancelled.
std::optional<QString> chosenPath(QFileDialog& dialog) {
    fitFileList(dialog);
    if (execModal(dialog) != QDialog::Accepted) return std::nullopt;
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty()) return std::nullopt;
    return files.front();
}

}  // namespace

Button escapeAnswer(const std::vector<Button>& buttons) {
    if (has(buttons, Button::Cancel)) return Button::Cancel;
    if (has(buttons, Button::No)) return Button::No;
    if (has(buttons, Button::Ok)) return Button::Ok;
    return buttons.empty() ? Button::None : buttons.front();
}

Button runMessageBox(BoxKind kind, const QString& caption, const QString& text, const std::vector<Button>& buttons,
                     int helpContext) {
    QMessageBox box(modalOwner());
    box.setWindowTitle(caption);
    box.setText(text);
    box.setTextFormat(Qt::PlainText);
    box.setIcon(iconOf(kind));
    std::map<QAbstractButton*, Button> answers;
    for (Button b : buttons) {
        QAbstractButton* button = box.addButton(standardButton(b));
        if (button) answers[button] = b;
    }
    for (const auto& [button, answer] : answers) {
        if (answer == defaultAnswer(buttons)) box.setDefaultButton(qobject_cast<QPushButton*>(button));
        if (answer == escapeAnswer(buttons)) box.setEscapeButton(button);
    }
    // Help must leave the box open: the box's own button handling is replaced.
    Button result = Button::None;
    if (auto* buttonBox = box.findChild<QDialogButtonBox*>()) {
        QObject::disconnect(buttonBox, &QDialogButtonBox::clicked, &box, nullptr);
        QObject::connect(buttonBox, &QDialogButtonBox::clicked, &box, [&](QAbstractButton* clicked) {
            Button answer = answers.count(clicked) ? answers[clicked] : Button::None;
            if (answer == Button::Help) {
                showHelpContext(helpContext);
                return;
            }
            result = answer;
            box.done(0);
        });
    }
    execModal(box);
    return result == Button::None ? escapeAnswer(buttons) : result;
}

std::optional<QString> runFileDialog(FileDialogKind kind, const FileDialogOptions& options) {
    QFileDialog dialog(modalOwner(), options.title, options.initialDir);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (!options.filter.isEmpty()) dialog.setNameFilters(options.filter.split(QStringLiteral(";;"), Qt::SkipEmptyParts));
    if (!options.defaultExt.isEmpty()) dialog.setDefaultSuffix(options.defaultExt);
    if (kind == FileDialogKind::Save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, !options.overwritePrompt);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(options.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    }
    if (!options.fileName.isEmpty()) dialog.selectFile(options.fileName);
    return chosenPath(dialog);
}

std::optional<QString> runDirectoryDialog(const QString& title, const QString& initialDir) {
    DirectoryDialog dialog(modalOwner(), title, initialDir.isEmpty() ? QDir::currentPath() : initialDir);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    return chosenPath(dialog);
}

}  // namespace platform::detail
