#include "assessment/Unit1.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include <filesystem>
#include <system_error>

#include "assessment/Program.h"
#include "assessment/RecordScreenHelpers.h"
#include "assessment/TownFile.h"
#include "assessment/UNIT3.h"
#include "assessment/Unit2.h"
#include "assessment/Unit4.h"
#include "assessment/Unit5.h"
#include "assessment/Unit6.h"
#include "assessment/Unit7.h"
#include "assessment/Unit8.h"
#include "assessment/core/AssessmentState.h"
#include "assessment/core/DataFile.h"
#include "assessment/core/EndpointFile.h"
#include "assessment/core/ExchangeFile.h"
#include "assessment/core/ParameterFile.h"
#include "assessment/core/RecordLine.h"
#include "assessment/core/SupplierFile.h"
#include "lifetables/Unit_LifeTables.h"
#include "platform/Ansi.h"
#include "platform/Dialogs.h"
#include "platform/Guard.h"
#include "platform/Help.h"
#include "platform/Printing.h"
#include "runtime/Errors.h"
#include "runtime/Files.h"
#include "runtime/TextFile.h"
#include "ui_TForm1.h"
#include "ui_TForm3.h"
#include "ui_TForm5.h"

using platform::fromAnsi;
using platform::toAnsi;

namespace {

constexpr int kMainHelpContext = 1;
constexpr int kLoadQuestionHelpContext = 8;
constexpr int kOverwriteHelpContext = 9;
const char* const kOverwriteQuestion = "This operation will overwrite datafiles. Continue?";

bool isEmptyFile(const std::string& path) {
    std::error_code error;
    return std::filesystem::file_size(path, error) == 0 && !error;
}

// Deletes a working file; false when it is missing or cannot be deleted.
bool deleteFile(const std::string& path) {
    std::error_code error;
    return runtime::fileExists(path) && std::filesystem::remove(path, error) && !error;
}

platform::Button askOverwrite(int helpContext) {
    return platform::messageDlg(platform::BoxKind::Information, QString::fromLatin1(kOverwriteQuestion),
                                {platform::Button::Yes, platform::Button::No, platform::Button::Help}, helpContext);
}

// The file dialogs of the exchange file: "data.kdf" proposed, "kdf" added to a name without one.
platform::FileDialogOptions exchangeFileDialog(const QString& filter) {
    platform::FileDialogOptions options;
    options.fileName = QString::fromLatin1(assessment::kExchangeDefaultName);
    options.filter = filter;
    options.defaultExt = QStringLiteral("kdf");
    return options;
}

}  // namespace

TForm1::TForm1(QWidget* parent) : platform::Form(parent), ui_(std::make_unique<Ui::TForm1Ui>()) {
    ui_->setupUi(this);
    setObjectName(QStringLiteral("Form1"));
    setHelpContext(kMainHelpContext);
    connectHandlers();
    FormCreate();
}

TForm1::~TForm1() = default;

assessment::AssessmentState& TForm1::aq() { return program().aq; }

void TForm1::FormCreate() {
    auto& aq = program().aq;
    aq.start_dir = program().options().programFolder;
    aq.file_name = aq.start_dir + assessment::kDefaultParameterFile;
    aq.text_file3 = aq.file_name;
    if (!runtime::fileExists(aq.file_name)) exitForReinstall();
    aq.work_dir = runtime::withTrailingSlash(program().options().workDir);
    for (int i = 0; i < assessment::kPollutantCount; ++i) aq.pollutant_names[static_cast<std::size_t>(i)] = assessment::kPollutantNames[static_cast<std::size_t>(i)];
    aq.record_count = 0;

    // An input/output error ends the handler at its step; the default error box shows it and
    // start-up goes on with the remaining screens.
    platform::runGuarded([&aq] {
        aq.file_name = assessment::supplierFilePath(aq.work_dir);
        aq.supplier_country.clear();
        aq.supplier_org.clear();
        aq.supplier_city.clear();
        if (runtime::fileExists(aq.file_name)) {
            assessment::takeSupplierNames(aq, assessment::readSupplierFile(aq.file_name));
        }

        aq.data_file = aq.work_dir + "data_rec.dat";
        const auto defaultRecord = [](runtime::TextWriter& data) { data.writeln(assessment::defaultRecordLine()); };
        if (!runtime::createFileUnlessExists(aq.data_file, defaultRecord)) {
            runtime::TextReader data(aq.data_file);
            aq.aq_record.text = data.readLine();
        }
    });
}

void TForm1::connectHandlers() {
    using platform::guarded;
    Ui::TForm1Ui& u = *ui_;
    const auto both = [this](QPushButton* button, QAction* item, void (TForm1::*handler)()) {
        if (button) connect(button, &QPushButton::clicked, this, guarded([this, handler] { (this->*handler)(); }));
        if (item) connect(item, &QAction::triggered, this, guarded([this, handler] { (this->*handler)(); }));
    };
    both(u.BitBtn2, u.agency, &TForm1::BitBtn2Click);
    both(u.BitBtn3, u.chars, &TForm1::BitBtn3Click);
    both(u.BitBtn4, u.data_menu, &TForm1::BitBtn4Click);
    both(u.BitBtn5, u.Parameters1, &TForm1::BitBtn5Click);
    both(u.BitBtn6, u.Export1, &TForm1::Export1Click);
    both(nullptr, u.Importdata1, &TForm1::Importdata1Click);
    both(nullptr, u.NewDirectory1, &TForm1::NewDirectory1Click);
    both(nullptr, u.ClearALLdata1, &TForm1::ClearALLdata1Click);
    both(nullptr, u.PrinterSetup1, &TForm1::Printer1Click);
    both(nullptr, u.datafile, &TForm1::datafileClick);
    both(u.BitBtn1, u.Quit2, &TForm1::Quit1Click);
    both(u.Btn_LT_data, nullptr, &TForm1::Btn_LT_dataOnClick);
    both(nullptr, u.BackgroundReport1, &TForm1::BackgroundReport1Click);
    both(nullptr, u.Example1, &TForm1::Example1Click);
    both(nullptr, u.Conte1, &TForm1::Conte1Click);
    both(nullptr, u.ProvidedRiskRatios1, &TForm1::ProvidedRiskRatios1Click);
    both(nullptr, u.About1, &TForm1::About1Click);
    // "Zelk User" is the default button (Enter).
    setDefaultButton(u.BitBtn2);
}

void TForm1::enableRecordScreens(bool enabled) {
    ui_->BitBtn3->setEnabled(enabled);
    ui_->BitBtn4->setEnabled(enabled);
    ui_->chars->setEnabled(enabled);
    ui_->data_menu->setEnabled(enabled);
}

void TForm1::setOrganLabel(const QString& text) { ui_->organ->setText(text); }

void TForm1::FormActivate() {
    enableRecordScreens(!aq().supplier_org.empty());
    setOrganLabel(fromAnsi(aq().supplier_org));
}

// ---- the screens ----

void TForm1::BitBtn2Click() { program().Form2->showForm(); }
void TForm1::BitBtn3Click() { program().Form3->showForm(); }
void TForm1::BitBtn4Click() { program().Form4->showForm(); }
void TForm1::BitBtn5Click() { program().Form5->showForm(); }
void TForm1::Btn_LT_dataOnClick() { program().PagesDlgLT->showForm(); }
void TForm1::About1Click() { program().AboutBox->showForm(); }

// ---- the File menu ----

void TForm1::Printer1Click() { platform::printerSetup(); }

void TForm1::datafileClick() { platform::showMessage(platform::fromFileName(aq().data_file)); }

void TForm1::Quit1Click() { closeForm(); }

// The open assessment screens hold what was read from the working files and the record being
// edited. Before a reload that moves or replaces those files, each is closed as Quit closes them, so
// that its changes are saved where they belong or dropped (the record's question comes once, from
// the first record screen open); one that stays open (Cancel, a failed check) stops the command,
// and the working files stay as they are. The life-table screen shares none of these files and
// stays as it is.
bool TForm1::closeAssessmentScreens() {
    Program& p = program();
    for (platform::Form* form :
         std::initializer_list<platform::Form*>{p.Form2, p.Form3, p.Form4, p.Form5, p.Form6, p.Form7, p.AboutBox})
        if (form->isVisible() && !form->closeForm()) return false;
    return true;
}

void TForm1::NewDirectory1Click() {
    if (!closeAssessmentScreens()) return;
    const std::optional<QString> chosen = platform::selectDirectory(QStringLiteral("New directory"), QString());
    if (chosen) aq().work_dir = platform::toFileName(*chosen);
    init_all();
}

void TForm1::ClearALLdata1Click() {
    if (askOverwrite(kOverwriteHelpContext) != platform::Button::Yes || !closeAssessmentScreens()) return;
    auto& s = aq();
    if (!deleteFile(assessment::supplierFilePath(s.work_dir)))
        platform::showMessage(QStringLiteral("Can not delete supplier file"));
    if (!deleteFile(s.work_dir + assessment::kTownFileName))
        platform::showMessage(QStringLiteral("Can not delete town file"));
    if (!deleteFile(s.data_file)) platform::showMessage(QStringLiteral("Can not delete data file"));
    // The deleted towns leave the tables as well as the list, so that no later save writes them
    // back into the emptied location file.
    assessment::clearTownTables(s);
    program().Form3->controls().agglom->clear();
    init_all();
}

// ---- the reload of a working directory ----

void TForm1::init_all() {
    auto& s = aq();
    if (runtime::fileExists(s.tmp_name)) platform::showMessage(QStringLiteral("Exists: ") + platform::fromFileName(s.tmp_name));
    s.work_dir = runtime::withTrailingSlash(s.work_dir);
    // A reload that ends early leaves the tables of the files it did not reach as they were: such a
    // file is not rewritten from them until it has been read.
    s.read_stops.awaitReload(s.work_dir + assessment::kEndpointFile);
    s.read_stops.awaitReload(s.work_dir + assessment::kTownFileName);
    s.supplier_country.clear();
    s.supplier_org.clear();
    s.supplier_city.clear();
    s.cur_record = 0;
    assessment::clearChanged(s);  // the record is reloaded: the record screens show it afresh when next activated
    reloadSupplier();
    reloadEndpoints();
    reloadDataFile();
    s.record_count = 0;
    ui_->BitBtn3->setEnabled(!s.supplier_org.empty());
    ui_->BitBtn4->setEnabled(s.cur_record > 0);
    setOrganLabel(fromAnsi(s.supplier_org));
    reloadLocations();
    if (!assessment::bindParameterFile(s)) exitForReinstall();
    s.record_count = 0;
}

void TForm1::reloadSupplier() {
    auto& s = aq();
    const std::string path = assessment::supplierFilePath(s.work_dir);
    runtime::createFileUnlessExists(path);
    if (isEmptyFile(path)) return;  // the supplier screen's edits keep what they held
    const assessment::SupplierLines lines = assessment::readSupplierFile(path);
    program().Form2->setFileLines(lines);
    assessment::takeSupplierNames(s, lines);
}

void TForm1::reloadEndpoints() {
    auto& s = aq();
    const std::string path = s.work_dir + assessment::kEndpointFile;
    // The file's entries replace the tables; after a bad line the list holds the entries read
    // before it, with none selected, and the error ends the reload here. Without the file the
    // tables are the built-in endpoints, as at a start in this directory: none of another
    // directory's entries may reach this one's file through "Add". The list then selects its first item.
    if (!runtime::fileExists(path)) {
        s.endpoints = assessment::builtinEndpoints();
    } else {
        try {
            assessment::readEndpointFile(s, path);
        } catch (...) {
            program().Form5->fill_endpoint_list();
            program().Form5->ui().endpoint->setCurrentIndex(-1);
            throw;
        }
    }
    program().Form5->fill_endpoint_list();
}

void TForm1::reloadDataFile() {
    auto& s = aq();
    runtime::createFileUnlessExists(s.data_file);
    if (isEmptyFile(s.data_file)) return;
    runtime::TextReader data(s.data_file);
    s.aq_record.text = data.readLine();
    s.cur_record = 1;
}

void TForm1::reloadLocations() {
    auto& s = aq();
    s.tmp_name = s.work_dir + assessment::kTownFileName;
    // A missing file is created empty and read like any other: the towns of another directory are
    // neither listed nor written into this one's file.
    runtime::createFileUnlessExists(s.tmp_name);
    program().Form3->load_towns();
}

// ---- help ----

void TForm1::showHelp(const char* file, const char* topic) {
    const QString helpFile = platform::fromFileName(aq().start_dir + file);
    platform::setApplicationHelpFile(helpFile);
    platform::showHelpTopic(helpFile, QString::fromLatin1(topic));
}

void TForm1::BackgroundReport1Click() { showHelp("desc.HLP", "description"); }
void TForm1::Example1Click() { showHelp("ex.HLP", "How"); }
void TForm1::Conte1Click() { showHelp("aq_oh.HLP", "contents"); }
void TForm1::ProvidedRiskRatios1Click() { showHelp("desc.HLP", "Annexa"); }

// ---- the data-exchange file ----

void TForm1::Export1Click() {
    platform::FileDialogOptions options = exchangeFileDialog(QStringLiteral("KDF Data (*.kdf)"));
    options.overwritePrompt = true;
    const std::optional<QString> chosen = platform::saveFileDialog(options);
    if (!chosen) return;
    auto& s = aq();
    s.file_name = platform::toFileName(*chosen);
    const assessment::ExchangePaths sources = assessment::exchangeSources(s);
    // The scratch name ends on the source last taken: the data file, or the first one missing.
    for (const std::string& source : sources) {
        s.tmp_name = source;
        if (!runtime::fileExists(source)) break;
    }
    assessment::writeExchangeFile(s.file_name, sources);
}

void TForm1::Importdata1Click() {
    if (askOverwrite(kLoadQuestionHelpContext) != platform::Button::Yes || !closeAssessmentScreens()) return;
    platform::FileDialogOptions options = exchangeFileDialog(QStringLiteral("KDF data (*.kdf)"));
    options.mustExist = true;
    const std::optional<QString> chosen = platform::openFileDialog(options);
    if (chosen) loadExchangeFile(platform::toFileName(*chosen));
    init_all();
}

void TForm1::loadExchangeFile(const std::string& path) {
    auto& s = aq();
    s.file_name = path;
    // The whole file is read first: one that ends inside a section replaces no working file.
    const auto sections = assessment::readExchangeFile(path);
    if (!sections) {
        platform::showMessage(QString::fromLatin1(assessment::kIncorrectExchangeMessage));
        throw runtime::ExitProgram(3);
    }
    const assessment::ExchangePaths targets = assessment::exchangeTargets(s);
    // Every target's new contents are written beside it before the first is put in place.
    assessment::loadExchangeSections(targets, *sections);
    s.tmp_name = targets.back();

    const bool earlier = assessment::isEarlierVersionParameters((*sections)[assessment::kParameterSection]);
    if (earlier) {
        platform::showMessage(QString::fromLatin1(assessment::kEarlierVersionMessage));
        const platform::Button replace = platform::messageDlg(
            platform::BoxKind::Information, QString::fromLatin1(assessment::kReplaceParametersQuestion),
            {platform::Button::Yes, platform::Button::No, platform::Button::Help}, kOverwriteHelpContext);
        if (replace == platform::Button::Yes) {
            std::error_code ignored;
            std::filesystem::remove(s.work_dir + assessment::kUserParameterFile, ignored);
            if (!runtime::fileExists(s.work_dir + assessment::kDefaultParameterFile))
                platform::showMessage(QString::fromLatin1(assessment::kCopyDefaultsMessage));
        }
    }

    if (earlier) {
        s.tmp_name = assessment::tempFileIn(s.work_dir);
        assessment::convertEarlierDataFile(s.data_file, s.tmp_name);
    }
}
