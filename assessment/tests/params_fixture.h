#pragma once
// The parameters screen of a fresh program, opened for a current record as the air-quality
// screen's CALC hands it over.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <filesystem>
#include <string>

#include "assessment/Unit5.h"
#include "assessment/core/ConcentrationClasses.h"
#include "assessment/core/ParameterFile.h"
#include "assessment/tests/ProgramFixture.h"
#include "platform/StringGrid.h"
#include "platform/testing/GuiTest.h"
#include "ui_TForm5.h"

class ParamsScreen : public ProgramFixture {
protected:
    // A record line of the parameter files.
    static std::string paramLine(int pollutant, int endpoint, long double incidence, long double rr, long double lower,
                                 long double upper, int cutOff, int certainty, int interval) {
        return assessment::formatParamLine({pollutant, endpoint, incidence, rr, lower, upper, cutOff, certainty, interval}) +
               "\r\n";
    }

    // PM10 for total mortality and respiratory mortality, then ozone.
    static std::string shippedParams() {
        return paramLine(2, 0, 1000, 1.06L, 1.04L, 1.08L, 0, 3, 0) + paramLine(2, 2, 80, 1.013L, 1.005L, 1.02L, 4, 2, 0) +
               paramLine(6, 0, 1000, 1.03L, 1.01L, 1.04L, 0, 3, 0);
    }

    Program& startWith(const std::string& shipped) {
        writeFile(programDir + "params.tav", shipped);
        // Without its parameter set the life-table screen says so at creation.
        if (!std::filesystem::exists(programDir + "Zelk_LT-params.kpx"))
            platform::testing::answerNextBox(platform::Button::Ok);
        p = &start();
        platform::testing::DialogScript::clearShown();
        return *p;
    }

    // The current record: all 365 days in class 3, 100 thousand people, `pollutant` with classes
    // of width `interval`; taken over from the air-quality screen.
    void publishRecord(int pollutant = 2, int interval = 0) {
        auto& aq = p->aq;
        for (int k = 1; k <= 25; ++k) aq.aq_record[assessment::classField(k)] = k == 3 ? 365 : 0;
        aq.days_total = 365;
        aq.exposed_pop = 100;
        aq.cur_pollutant = pollutant;
        aq.interval_index = interval;
        assessment::makeLabel(aq);
        aq.aq_filled = true;
    }

    TForm5& open() {
        EXPECT_TRUE(platform::testing::activateForm(p->Form5));
        return *p->Form5;
    }

    // The usual start: the shipped parameters, the current record taken over, the screen shown.
    TForm5& openWithShippedParams() {
        startWith(shippedParams());
        publishRecord();
        return open();
    }

    Ui::TForm5Ui& u() { return p->Form5->ui(); }
    QString cell(int col, int row) { return u().StringGrid1->cell(col, row); }
    bool gridIsStale() { return u().StringGrid1->palette().color(QPalette::Base) != QColor(Qt::white); }

    Program* p = nullptr;
};
