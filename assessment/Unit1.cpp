#include "assessment/Unit1.h"

#include "assessment/Program.h"
#include "platform/Dialogs.h"
#include "platform/Guard.h"
#include "runtime/Errors.h"
#include "runtime/Files.h"
#include "runtime/TextFile.h"

namespace {

// The default line of a new data file: 61 zero fields and four empty texts.
std::string defaultDataLine() {
    std::string line;
    for (int i = 0; i < assessment::AqRecord::kFieldCount; ++i) line += "0 ";
    return line + ";;;";
}

}  // namespace

TForm1::TForm1(QWidget* parent) : platform::Form(parent) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Zelk 2.2.3 Main Screen"));
    setHelpContext(1);
    FormCreate();
}

void TForm1::FormCreate() {
    auto& aq = program().aq;
    aq.start_dir = program().options().programFolder;
    aq.file_name = aq.start_dir + "params.tav";
    aq.text_file3 = aq.file_name;
    if (!runtime::fileExists(aq.file_name)) {
        platform::showMessage(QStringLiteral("File not found. Please reinstall the application."));
        throw runtime::ExitProgram(2);
    }
    aq.work_dir = runtime::withTrailingSlash(program().options().workDir);
    for (int i = 0; i < assessment::kPollutantCount; ++i) aq.pollutant_names[static_cast<std::size_t>(i)] = assessment::kPollutantNames[static_cast<std::size_t>(i)];
    aq.record_count = 0;

    // An input/output error ends the handler at its step; the default error box shows it and
    // start-up goes on with the remaining screens.
    platform::runGuarded([&aq] {
        aq.file_name = aq.work_dir + "data_sup.tab";
        aq.supplier_country.clear();
        aq.supplier_org.clear();
        aq.supplier_city.clear();
        if (runtime::fileExists(aq.file_name)) {
            runtime::TextReader supplier(aq.file_name);
            aq.supplier_country = supplier.readLine(std::string::npos);
            aq.supplier_org = supplier.readLine(std::string::npos);
            aq.supplier_city = supplier.readLine(std::string::npos);
        }

        aq.data_file = aq.work_dir + "data_rec.dat";
        if (runtime::fileExists(aq.data_file)) {
            runtime::TextReader data(aq.data_file);
            aq.aq_record.text = data.readLine();
        } else {
            runtime::TextWriter data(aq.data_file);
            data.writeln(defaultDataLine());
            data.close();
        }
    });
}
