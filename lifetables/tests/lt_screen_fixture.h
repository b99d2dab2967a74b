#pragma once
// A fresh program with its life-table screen shown, and small life-table input/result files
// written the way the program writes them.
#include <QTabWidget>
#include <initializer_list>
#include <source_location>
#include <string>
#include <utility>

#include "assessment/Program.h"
#include "assessment/tests/ProgramFixture.h"
#include "lifetables/Unit_LifeTables.h"
#include "lifetables/core/LTState.h"
#include "platform/StringGrid.h"
#include "platform/testing/DialogScript.h"
#include "platform/testing/GuiTest.h"
#include "ui_TPagesDlgLT.h"

// The test support every life-table screen test uses.
using platform::Button;
using namespace platform::testing;

// The bytes of an input/result file: male and female age groups of five years, the information
// record, the relative-risk settings and empty result sections for the sexes with data. Its numbers
// have the user's decimal separator, as the screen writes them, or "." when `dotted`.
struct LTInputFileBytes {
    int groups = 4;              // age groups 0-4, 5-9, ...
    int firstAge = 30;
    bool useDefaults = false;
    int effect = 0;              // the cause analysed, and the cause of the stored results
    std::string calcEnded = "- - - - - -";
    bool dotted = false;

    std::string numbers(std::string text) const { return dotted ? text : withUsersSeparator(std::move(text)); }

    static std::string row(int from, int population, int deaths, int cardio, int lca) {
        return std::to_string(from) + "\t" + std::to_string(from + 4) + "\t" + std::to_string(population) + "\t" +
               std::to_string(deaths) + "\t" + std::to_string(cardio) + "\t" + std::to_string(lca) + "\t";
    }

    std::string dataSection(const char* header, const char* comment, int populationScale) const {
        std::string out = std::string(header) + "\r\n" + comment + "\r\n2004\r\n";
        for (int g = 0; g < groups; ++g) {
            const int from = firstAge + 5 * g;
            // Populations of 1000 or 2000 and death counts whose rates have short decimal forms.
            const int population = 1000 * populationScale;
            const int deaths = 8 * (g + 1) * populationScale;
            const int cardio = 4 * (g + 1) * populationScale;
            const int lca = (g + 1) * populationScale;
            out += row(from, population, deaths, cardio, lca) +
                   numbers(rateText(deaths, population) + "\t" + rateText(cardio, population) + "\t" +
                           rateText(lca, population)) +
                   "\t\r\n";
        }
        return out + "[END]\r\n";
    }

    static std::string rateText(int deaths, int population) {
        // deaths / population with population 1000 or 2000: at most three decimals.
        const int thousandths = deaths * 1000 / population;
        std::string digits = std::to_string(thousandths);
        while (digits.size() < 4) digits.insert(0, "0");
        std::string text = digits.substr(0, digits.size() - 3) + "." + digits.substr(digits.size() - 3);
        while (text.back() == '0') text.pop_back();
        if (text.back() == '.') text.pop_back();
        return text;
    }

    std::string emptyResults(const char* header) const {
        std::string out = std::string(header) + "\r\n";
        for (int k = 0; k < 3; ++k) out += "0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t" + std::to_string(effect) + "\r\n";
        for (int a = 0; a < 120; ++a) out += "0\t0\t0\t0\t0\t0\t0\t0\t\r\n";
        return out + "[END]\r\n";
    }

    std::string bytes() const {
        std::string out = dataSection("[LT_empirical_data/male]", "men of Graz", 1) +
                          dataSection("[LT_empirical_data/female]", "women of Graz", 2);
        out += "[LT_Infos]\r\n" + numbers("2003\t80.5\t90\t70\t60\t1\t") + std::to_string(effect) +
               numbers("\t2005\tAustria\tGraz\t1500\t350\t170\t180\t25.5\t30\t20\t") +
               "Low st\tHigh st\t4\t15\t18\t12\t40\t45\t35\t30\t35\t40\t30\t90\t95\t85\t75\r\n"
               "[END]\r\n";
        out += "[LT_relative_risks]\r\n";
        out += "Version_TAV_LT_01.00.00\t" +
               numbers(useDefaults ? "25.5\t7.5\t7.5\t80\t-1\t" : "25.5\t7.5\t5\t60\t0\t") + calcEnded + "\r\n";
        if (useDefaults)
            out += numbers(
                "0\t1\t2\t30\t30\t30\t120\t120\t120\t"
                "0.00602\t0.008933\t0.012673\t0.0022654\t0.002907\t0.00426\t-1\t0\t0\t\r\n");
        else
            out += numbers(
                "0\t1\t2\t30\t30\t30\t120\t120\t120\t0.006\t0.009\t0.0127\t0.002\t0.003\t0.004\t-1\t0\t0\t\r\n");
        out += "0\t2\t100\t-111111\t111111\t100\t-111111\t111111\t1\t-111111\t111111\t1\t-111111\t111111\t\r\n"
               "[END]\r\n";
        return out + emptyResults("[YOLL_male]") + emptyResults("[YOLL_female]");
    }
};

class LifeTableScreen : public ProgramFixture {
protected:
    void SetUp() override {
        ProgramFixture::SetUp();
        program_ = &start();
        ASSERT_TRUE(platform::testing::activateForm(screen()));
    }

    TPagesDlgLT* screen() { return program_->PagesDlgLT; }
    Ui::TPagesDlgLTUi& ui() { return screen()->ui(); }
    lifetables::LTState& lt() { return program_->lt(); }
    void showTab(QWidget* page) {
        ui().TabPageControl->setCurrentWidget(page);
        platform::testing::processEvents();
    }

    // The text a grid cell must show ("" for an empty cell).
    struct CellText {
        int col, row;
        QString text;
    };
    static void expectCells(const platform::StringGrid* grid, std::initializer_list<CellText> cells,
                            std::source_location where = std::source_location::current()) {
        const ::testing::ScopedTrace trace(where.file_name(), static_cast<int>(where.line()), "expectCells");
        for (const CellText& c : cells)
            EXPECT_EQ(grid->cell(c.col, c.row), c.text)
                << grid->objectName().toStdString() << " cell " << c.col << ", " << c.row;
    }

    // Opens `bytes` as an input/result file of the working directory through File / Open.
    std::string openFile(const std::string& name, const std::string& bytes) {
        const std::string path = workDir + name;
        writeFile(path, bytes);
        answerNextFile(QString::fromStdString(path));
        ui().MFileOpenInputData->trigger();
        platform::testing::processEvents();
        return path;
    }

    Program* program_ = nullptr;
};
