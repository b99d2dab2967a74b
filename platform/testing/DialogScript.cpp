#include "platform/testing/DialogScript.h"

#include <deque>

namespace platform::testing {

namespace {
struct Script {
    bool active = false;
    std::function<void(const QString&)> onUnexpected;
    std::deque<Button> boxAnswers;
    struct FileAnswer {
        bool cancelled;
        QString path;
    };
    std::deque<FileAnswer> fileAnswers;
    std::deque<bool> printDialogAnswers;
    std::vector<ShownBox> boxes;
    std::vector<ShownFileDialog> fileDialogs;
    std::vector<HelpRequest> helpRequests;
    QString pdfTarget;
    int printJobs = 0;
    int lastPages = 0;
    int printDialogs = 0;
};

Script& script() {
    static Script s;
    return s;
}
}  // namespace

void DialogScript::activate(std::function<void(const QString& what)> onUnexpected) {
    Script& s = script();
    s = Script{};
    s.active = true;
    s.onUnexpected = std::move(onUnexpected);
}

void DialogScript::deactivate() {
    Script& s = script();
    s = Script{};
}

bool DialogScript::active() { return script().active; }

void DialogScript::answer(Button button) { script().boxAnswers.push_back(button); }
void DialogScript::answerFile(const QString& path) { script().fileAnswers.push_back({false, path}); }
void DialogScript::cancelFile() { script().fileAnswers.push_back({true, QString()}); }

std::size_t DialogScript::pendingAnswers() {
    const Script& s = script();
    return s.boxAnswers.size() + s.fileAnswers.size() + s.printDialogAnswers.size();
}

const std::vector<ShownBox>& DialogScript::boxes() { return script().boxes; }
const std::vector<ShownFileDialog>& DialogScript::fileDialogs() { return script().fileDialogs; }
const std::vector<HelpRequest>& DialogScript::helpRequests() { return script().helpRequests; }

void DialogScript::clearShown() {
    Script& s = script();
    s.boxes.clear();
    s.fileDialogs.clear();
    s.helpRequests.clear();
    s.printJobs = 0;
    s.lastPages = 0;
    s.printDialogs = 0;
}

void DialogScript::printToPdf(const QString& path) { script().pdfTarget = path; }
QString DialogScript::pdfTarget() { return script().pdfTarget; }
int DialogScript::printJobCount() { return script().printJobs; }
int DialogScript::lastPageCount() { return script().lastPages; }

void DialogScript::answerPrintDialog(bool accept) { script().printDialogAnswers.push_back(accept); }
int DialogScript::printDialogCount() { return script().printDialogs; }

void DialogScript::setUnexpectedHandler(std::function<void(const QString& what)> onUnexpected) {
    script().onUnexpected = std::move(onUnexpected);
}

void DialogScript::recordBox(const ShownBox& box) { script().boxes.push_back(box); }

std::optional<Button> DialogScript::takeBoxAnswer() {
    Script& s = script();
    if (s.boxAnswers.empty()) return std::nullopt;
    Button b = s.boxAnswers.front();
    s.boxAnswers.pop_front();
    return b;
}

void DialogScript::recordFileDialog(const ShownFileDialog& dialog) { script().fileDialogs.push_back(dialog); }

std::optional<std::optional<QString>> DialogScript::takeFileAnswer() {
    Script& s = script();
    if (s.fileAnswers.empty()) return std::nullopt;
    const Script::FileAnswer a = s.fileAnswers.front();
    s.fileAnswers.pop_front();
    if (a.cancelled) return std::optional<QString>();
    return std::optional<QString>(a.path);
}

void DialogScript::recordHelp(const HelpRequest& request) { script().helpRequests.push_back(request); }

bool DialogScript::takePrintDialogAnswer() {
    Script& s = script();
    ++s.printDialogs;
    if (s.printDialogAnswers.empty()) return true;
    bool a = s.printDialogAnswers.front();
    s.printDialogAnswers.pop_front();
    return a;
}

void DialogScript::recordPrintJob(int pages) {
    Script& s = script();
    ++s.printJobs;
    s.lastPages = pages;
}

void DialogScript::reportUnexpected(const QString& what) {
    // Copied first: the handler may swap itself.
    auto handler = script().onUnexpected;
    if (handler) handler(what);
}

}  // namespace platform::testing
