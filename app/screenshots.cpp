// Review aid: starts the program in a scratch working directory with a data supplier, a town and
// records of pollutants whose captions differ, shows every screen in turn (the air-quality screen
// once per record, at the top and at the bottom of its scroll box; the parameter, impact and
// chart screens along the road from "CALC"), then one box of each kind the screens show, and saves
// a PNG of each into the folder given as the first argument. The life-table screen is shot on every
// tab: empty, after opening an input file of a large population and after a calculation.
#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>

#include "assessment/Program.h"
#include "assessment/core/AqRecord.h"
#include "assessment/core/RecordLine.h"
#include "assessment/UNIT3.h"
#include "assessment/Unit1.h"
#include "assessment/Unit2.h"
#include "assessment/Unit4.h"
#include "assessment/Unit5.h"
#include "assessment/Unit6.h"
#include "assessment/Unit7.h"
#include "assessment/Unit8.h"
#include "lifetables/Unit_LifeTables.h"
#include "platform/Application.h"
#include "platform/Dialogs.h"
#include "platform/Form.h"
#include "platform/testing/DialogScript.h"
#include "runtime/Errors.h"
#include "runtime/NumberText.h"
#include "ui_TPagesDlgLT.h"

namespace {

using platform::testing::DialogScript;
using namespace assessment;

QString outDir;

void reportBox(const QString& what) { std::fprintf(stderr, "box: %s\n", qPrintable(what)); }

void settle() {
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

void save(QWidget* widget, const QString& name) {
    const QString file = outDir + QLatin1Char('/') + name + QStringLiteral(".png");
    if (!widget->grab().save(file)) std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
}

void shoot(platform::Form* form, const QString& name) {
    form->showForm();
    settle();
    save(form, name);
}

void press(QWidget* form, const char* button) {
    if (auto* b = form->findChild<QAbstractButton*>(QLatin1String(button))) b->click();
    settle();
}

// A record line: pollutant, class width, the days of classes 3 and 5, then the statistics.
std::string recordLine(int pollutant, int width) {
    AqRecord r{{}, "Lowest station;Highest station;National network;Environment agency"};
    r[kFieldPollutant] = pollutant;
    r[kFieldYear] = 2001;
    r[classField(3)] = 200;
    r[classField(5)] = 165;
    r[kFieldClassWidth] = width;
    r[kFieldPopulation] = 100;
    r[kFieldStations] = 2;
    r[kFieldAnnualDays] = 365;
    r[kFieldWinterDays] = 180;
    r[kFieldSummerDays] = 185;
    r[kFieldAnnualMean] = 30;
    return formatRecordLine(r) + "\r\n";
}

// The kinds of boxes the screens show, each with one of its longest texts.
void shootBoxes() {
    using platform::BoxKind;
    using platform::Button;
    const std::pair<const char*, std::function<void()>> boxes[] = {
        {"box-1-message", [] { platform::showMessage(QStringLiteral("File not found. Please reinstall the application.")); }},
        {"box-2-information", [] {
             platform::messageDlg(BoxKind::Information, QStringLiteral("This operation will overwrite datafiles. Continue?"),
                                  {Button::Yes, Button::No, Button::Help}, 9);
         }},
        {"box-3-warning", [] { platform::messageDlg(BoxKind::Warning, QStringLiteral("Record already exists."), {Button::Ok, Button::Help}, 8); }},
        {"box-4-confirmation", [] { platform::confirm(QStringLiteral("Save changes?")); }},
        {"box-5-own-title", [] {
             platform::messageBox(QStringLiteral("Data capture: Summer and Winter do not add up to Annual!"), QStringLiteral("zelk"),
                                  {Button::Ok, Button::Cancel});
         }},
        {"box-6-error", [] { platform::showMessage(QStringLiteral("'3x' is not a valid integer value")); }},
    };
    DialogScript::deactivate();
    for (const auto& [name, show] : boxes) {
        QTimer::singleShot(400, [name = QLatin1String(name)] {
            if (QWidget* box = QApplication::activeModalWidget()) {
                save(box, name);
                box->close();
            }
        });
        show();
    }
    DialogScript::activate(reportBox);
}

// A life-table input file of men and women in twenty age groups of five years, some millions of
// people each, with the default relative risks.
void writeLifeTableFile(const std::string& path) {
    std::ofstream out(path, std::ios::binary);
    const char* const headers[] = {"[LT_empirical_data/male]", "[LT_empirical_data/female]"};
    for (int sex = 0; sex < 2; ++sex) {
        out << headers[sex] << "\r\nlarge population\r\n2004\r\n";
        for (int group = 0; group < 20; ++group) {
            const double population = 3456789.0 - 61234.0 * group;
            const double deaths = std::round(population * 0.0004 * std::exp(0.085 * (5 * group + 2)) * (sex ? 0.8 : 1.0));
            out << 5 * group << '\t' << 5 * group + 4 << '\t' << runtime::floatToStr(population) << '\t'
                << runtime::floatToStr(deaths) << '\t' << runtime::floatToStr(std::round(deaths * 0.45)) << '\t'
                << runtime::floatToStr(std::round(deaths * 0.06)) << "\t\r\n";
        }
        out << "[END]\r\n";
    }
    // The file's reals have the user's decimal separator, as the screen writes and reads them.
    const auto local = [](std::string text) {
        std::replace(text.begin(), text.end(), '.', runtime::decimalSeparator());
        return text;
    };
    out << "[LT_Infos]\r\n"
        << local("2003\t80.5\t90\t70\t60\t0\t0\t2005\tCountry\tAgglomeration\t69000\t350\t170\t180\t25.5\t30\t20\t"
                 "Low st\tHigh st\t4\t15\t18\t12\t40\t45\t35\t30\t35\t40\t30\t90\t95\t85\t75\r\n[END]\r\n")
        << "[LT_relative_risks]\r\nVersion_TAV_LT_01.00.00\t"
        << local("25.5\t7.5\t7.5\t80\t0\t- - - - - -\r\n"
                 "0\t1\t2\t30\t30\t30\t120\t120\t120\t0.00602\t0.008933\t0.012673\t0.0022654\t0.002907\t0.00426\t-1\t0\t0\t\r\n"
                 "0\t2\t100\t-111111\t111111\t100\t-111111\t111111\t1\t-111111\t111111\t1\t-111111\t111111\t\r\n[END]\r\n");
}

// Every tab of the life-table screen, named "8-life-tables-<state>-<tab>.png".
void shootLifeTableTabs(TPagesDlgLT* screen, const char* state) {
    QTabWidget* tabs = screen->ui().TabPageControl;
    for (int tab = 0; tab < tabs->count(); ++tab) {
        tabs->setCurrentIndex(tab);
        settle();
        save(screen, QStringLiteral("8-life-tables-%1-%2").arg(QLatin1String(state)).arg(tab + 1));
    }
    tabs->setCurrentIndex(0);
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    platform::setUpApplication(QStringLiteral("Zelk"));
    outDir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshots");
    QDir().mkpath(outDir);
    QTemporaryDir work;
    const std::string dir = work.path().toStdString() + "/";
    std::ofstream(dir + "data_sup.tab", std::ios::binary)
        << "Country\r\nOrganisation of the data supplier\r\nCity\r\nStreet 1\r\n\r\n\r\n\r\n\r\n\r\nA. Person\r\n";
    std::ofstream(dir + "town.tab", std::ios::binary) << "0 45.1|12.5|Old Town\r\n";
    // With parameters: PM10 per 10, O3 (8 hour avg) per 5, PM2.5 per 1; then CO per 1,
    // PM2.5 long term per 5 and Pb.
    std::ofstream(dir + "data_rec.dat", std::ios::binary) << recordLine(2, 0) << recordLine(6, 1) << recordLine(3, 2)
                                                          << recordLine(9, 2) << recordLine(13, 1) << recordLine(4, 0);
    // Boxes that a screen may raise while it is shown are answered with their defaults.
    DialogScript::activate(reportBox);
    try {
        Program program(Program::Options{{}, dir});
        shoot(program.Form1, QStringLiteral("1-main"));
        shoot(program.Form2, QStringLiteral("2-data-supplier"));
        shoot(program.Form3, QStringLiteral("3-location"));
        program.Form3->hideForm();
        for (int record = 1; record <= 6; ++record) {
            program.aq.cur_record = record;
            QScrollBar* scroll = program.Form4->findChild<QScrollArea*>()->verticalScrollBar();
            scroll->setValue(0);
            shoot(program.Form4, QStringLiteral("4-air-quality-data-%1").arg(record));
            scroll->setValue(scroll->maximum());
            settle();
            save(program.Form4, QStringLiteral("4-air-quality-data-%1-bottom").arg(record));
            if (record <= 3) {  // the records with parameters: CALC opens the parameters screen
                press(program.Form4, "BitBtn1");
                press(program.Form5, "Button3");
                save(program.Form5, QStringLiteral("5-parameters-%1").arg(record));
                program.Form5->hideForm();
            }
            program.Form4->hideForm();
        }
        program.aq.cur_record = 1;
        program.Form4->showForm();
        press(program.Form4, "BitBtn1");
        press(program.Form5, "BitBtn2");  // "&Tables"
        save(program.Form6, QStringLiteral("6-impact-estimates"));
        press(program.Form6, "BitBtn1");  // "&Chart"
        save(program.Form7, QStringLiteral("7-chart"));
        for (platform::Form* form : {static_cast<platform::Form*>(program.Form7), static_cast<platform::Form*>(program.Form6),
                                     static_cast<platform::Form*>(program.Form5), static_cast<platform::Form*>(program.Form4)})
            form->hideForm();
        TPagesDlgLT* lifeTables = program.PagesDlgLT;
        shoot(lifeTables, QStringLiteral("8-life-tables"));
        shootLifeTableTabs(lifeTables, "empty");
        const std::string input = dir + "large.txt";
        writeLifeTableFile(input);
        DialogScript::answerFile(QString::fromStdString(input));
        lifeTables->ui().MFileOpenInputData->trigger();
        shootLifeTableTabs(lifeTables, "opened");
        DialogScript::answer(platform::Button::Ok);  // the note before a calculation
        lifeTables->ui().TabPageControl->setCurrentWidget(lifeTables->ui().TabRR);
        lifeTables->ui().TabRRButton_Go->click();
        shootLifeTableTabs(lifeTables, "calculated");
        lifeTables->hideForm();
        shoot(program.AboutBox, QStringLiteral("9-about"));
        shootBoxes();
    } catch (const runtime::ExitProgram& exit) {
        return exit.code();
    }
    return 0;
}
