// Review aid: starts the program in a scratch working directory, shows every screen in turn and
// saves a PNG of each into the folder given as the first argument.
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QWidget>

#include <cstdio>

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
            for (int i = 0; i < 5; ++i) QApplication::processEvents();
            const QString file = outDir + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".png");
            if (!form->grab().save(file)) std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            form->hideForm();
        }
    } catch (const runtime::ExitProgram& exit) {
        return exit.code();
    }
    return 0;
}
