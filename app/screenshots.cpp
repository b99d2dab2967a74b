// Review aid: starts the program in a scratch working directory, shows every screen in turn and
// saves a PNG of each into the folder given as the first argument. The life-table screen is shot
// on every tab: empty, after opening an input file of a large population and after a calculation.
#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QWidget>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>

#include "assessment/Program.h"
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
#include "platform/Form.h"
#include "platform/testing/DialogScript.h"
#include "runtime/Errors.h"
#include "runtime/NumberText.h"
#include "ui_TPagesDlgLT.h"

namespace {

void shoot(QWidget* widget, const QString& file) {
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
    if (!widget->grab().save(file)) std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
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
    out << "[LT_Infos]\r\n"
           "2003\t80.5\t90\t70\t60\t0\t0\t2005\tCountry\tAgglomeration\t69000\t350\t170\t180\t25.5\t30\t20\t"
           "Low st\tHigh st\t4\t15\t18\t12\t40\t45\t35\t30\t35\t40\t30\t90\t95\t85\t75\r\n[END]\r\n"
           "[LT_relative_risks]\r\nVersion_TAV_LT_01.00.00\t25.5\t7.5\t7.5\t80\t0\t- - - - - -\r\n"
           "0\t1\t2\t30\t30\t30\t120\t120\t120\t0.00602\t0.008933\t0.012673\t0.0022654\t0.002907\t0.00426\t-1\t0\t0\t\r\n"
           "0\t2\t100\t-111111\t111111\t100\t-111111\t111111\t1\t-111111\t111111\t1\t-111111\t111111\t\r\n[END]\r\n";
}

// Every tab of the life-table screen, named "8-life-tables-<state>-<tab>.png".
void shootLifeTableTabs(TPagesDlgLT* screen, const QString& outDir, const char* state) {
    QTabWidget* tabs = screen->ui().TabPageControl;
    for (int tab = 0; tab < tabs->count(); ++tab) {
        tabs->setCurrentIndex(tab);
        shoot(screen, outDir + QStringLiteral("/8-life-tables-%1-%2.png").arg(QLatin1String(state)).arg(tab + 1));
    }
    tabs->setCurrentIndex(0);
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    platform::setUpApplication(QStringLiteral("Zelk"));
    const QString outDir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshots");
    QDir().mkpath(outDir);
    QTemporaryDir work;
    // Boxes that a screen may raise while it is shown are answered with their defaults.
    platform::testing::DialogScript::activate([](const QString& what) {
        std::fprintf(stderr, "box: %s\n", qPrintable(what));
    });
    try {
        Program program(Program::Options{{}, work.path().toStdString()});
        const std::pair<platform::Form*, const char*> screens[] = {
            {program.Form1, "1-main"},         {program.Form2, "2-data-supplier"},
            {program.Form3, "3-location"},     {program.Form4, "4-air-quality-data"},
            {program.Form5, "5-parameters"},   {program.Form6, "6-impact-estimates"},
            {program.Form7, "7-chart"},        {program.PagesDlgLT, "8-life-tables"},
            {program.AboutBox, "9-about"},
        };
        for (const auto& [form, name] : screens) {
            form->showForm();
            shoot(form, outDir + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".png"));
            form->hideForm();
        }

        TPagesDlgLT* lifeTables = program.PagesDlgLT;
        lifeTables->showForm();
        shootLifeTableTabs(lifeTables, outDir, "empty");
        const std::string input = work.path().toStdString() + "/large.txt";
        writeLifeTableFile(input);
        platform::testing::DialogScript::answerFile(QString::fromStdString(input));
        lifeTables->ui().MFileOpenInputData->trigger();
        shootLifeTableTabs(lifeTables, outDir, "opened");
        platform::testing::DialogScript::answer(platform::Button::Ok);  // the note before a calculation
        lifeTables->ui().TabPageControl->setCurrentWidget(lifeTables->ui().TabRR);
        lifeTables->ui().TabRRButton_Go->click();
        shootLifeTableTabs(lifeTables, outDir, "calculated");
        lifeTables->hideForm();
    } catch (const runtime::ExitProgram& exit) {
        return exit.code();
    }
    return 0;
}
