#pragma once
// Test seam of the message boxes, file dialogs and printing: a test queues the answers of the next
// boxes and dialogs and reads what was shown. While a script is active, a box without a queued
// answer is reported as a failure (the failure handler) and answered with its default
// (OK, No, Cancel), so that a test never hangs on a modal box.
#include <QString>
#include <functional>
#include <optional>
#include <vector>

#include "platform/Dialogs.h"

namespace platform::testing {

struct ShownBox {
    BoxKind kind = BoxKind::Plain;
    QString caption;
    QString text;
    std::vector<Button> buttons;
    int helpContext = 0;
};

struct ShownFileDialog {
    enum Kind { Open, Save, Directory } kind = Open;
    FileDialogOptions options;
};

struct HelpRequest {
    QString helpFile;
    QString topic;  // empty for a context request
    int context = 0;
};

class DialogScript {
public:
    // Installs the script (boxes stop being shown on the screen) and clears it.
    static void activate(std::function<void(const QString& what)> onUnexpected);
    static void deactivate();
    static bool active();

    // The next box answers `button`. Help opens the help at the box's context (a help request) and
    // leaves the box open for the next answer; an answer that is no button of the box is reported.
    static void answer(Button button);
    // The next file or directory dialog chooses `path`. As the real dialogs do, a file dialog adds
    // its default extension to a name without one, and the directory chooser creates a folder
    // that does not exist yet.
    static void answerFile(const QString& path);
    static void cancelFile();                          // the next file or directory dialog is cancelled
    static std::size_t pendingAnswers();

    static const std::vector<ShownBox>& boxes();       // every box shown since activate/clear
    static const std::vector<ShownFileDialog>& fileDialogs();
    static const std::vector<HelpRequest>& helpRequests();
    static void clearShown();

    // Printing goes to this PDF file without asking (empty: the normal way); every job overwrites it.
    static void printToPdf(const QString& path);
    static QString pdfTarget();
    static int printJobCount();       // print jobs finished since activate/clearShown
    static int lastPageCount();       // pages of the last finished job (0: none)

    // The printer dialogs (set-up and print) are accepted unless the next one is told otherwise.
    static void answerPrintDialog(bool accept);
    static int printDialogCount();

    // The failure handler (tests swap it to check the mechanism itself).
    static void setUnexpectedHandler(std::function<void(const QString& what)> onUnexpected);

    // Used by the platform layer when a box, dialog, help request or print job happens.
    static void recordBox(const ShownBox& box);
    static std::optional<Button> takeBoxAnswer();
    static void recordFileDialog(const ShownFileDialog& dialog);
    static std::optional<std::optional<QString>> takeFileAnswer();  // nullopt: none queued
    static void recordHelp(const HelpRequest& request);
    static bool takePrintDialogAnswer();
    static void recordPrintJob(int pages);
    static void reportUnexpected(const QString& what);
};

}  // namespace platform::testing
