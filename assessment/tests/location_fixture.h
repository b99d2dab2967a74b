#pragma once
// A program with a prepared data file and location file, and short ways to reach the controls of
// the location and air-quality data screens.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <map>
#include <string>
#include <vector>

#include "assessment/Program.h"
#include "assessment/UNIT3.h"
#include "assessment/Unit4.h"
#include "assessment/core/AqRecord.h"
#include "assessment/tests/ProgramFixture.h"
#include "platform/testing/DialogScript.h"
#include "platform/testing/GuiTest.h"  // also readable failure output for texts of the widgets

using platform::Button;
using platform::testing::DialogScript;
using platform::testing::typeInto;

class RecordScreens : public ProgramFixture {
public:
    // A data-file line: the given fields (all others 0), then the four tail texts.
    static std::string recordLine(const std::map<int, long long>& fields,
                                  const std::vector<std::string>& tails = {"", "", "", ""}) {
        std::string tail;
        for (std::size_t i = 0; i < 4; ++i) tail += (i ? ";" : "") + (i < tails.size() ? tails[i] : "");
        return dataLine(fields, tail);
    }

    // A complete record of pollutant `pollutant` for town `town`: 365 days in classes 1 to 3,
    // winter 180 and summer 185, an annual mean of 40.
    static std::map<int, long long> validRecord(int town, int pollutant, int year) {
        using namespace assessment;
        return {{kFieldTown, town},         {kFieldPollutant, pollutant}, {kFieldYear, year},
                {classField(1), 100},       {classField(2), 200},         {classField(3), 65},
                {kFieldPopulation, 250},    {kFieldStations, 1},          {kFieldAnnualDays, 365},
                {kFieldWinterDays, 180},    {kFieldSummerDays, 185},      {kFieldAnnualMean, 40}};
    }

protected:
    Program& startWith(const std::string& data, const std::string& towns = std::string()) {
        writeFile(workDir + "data_rec.dat", data);
        if (!towns.empty()) writeFile(workDir + "town.tab", towns);
        Program& p = start();
        f3 = p.Form3;
        f4 = p.Form4;
        return p;
    }

    std::string dataFile() { return readFile(workDir + "data_rec.dat"); }
    std::string townFile() { return readFile(workDir + "town.tab"); }

    QLineEdit* e3(const char* name) { return child<QLineEdit>(f3, name); }
    QLineEdit* e4(const char* name) { return child<QLineEdit>(f4, name); }
    QComboBox* box3(const char* name) { return child<QComboBox>(f3, name); }
    QPushButton* b3(const char* name) { return child<QPushButton>(f3, name); }
    QPushButton* b4(const char* name) { return child<QPushButton>(f4, name); }
    QLabel* l4(const char* name) { return child<QLabel>(f4, name); }

    // The user picks item `index` of the box.
    static void pick(QComboBox* box, int index) { platform::testing::chooseComboItem(box, index); }
    // The user enters an edit, types over its text and leaves it for `next`.
    static void enterAndLeave(platform::Form* form, QLineEdit* edit, const QString& text, QWidget* next) {
        form->focusControl(edit);
        edit->setText(text);
        form->focusControl(next);
    }

    TForm3* f3 = nullptr;
    TForm4* f4 = nullptr;

private:
    template <typename T>
    static T* child(QWidget* form, const char* name) {
        T* widget = form->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
};
