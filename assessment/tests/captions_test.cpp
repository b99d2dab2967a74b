// Every caption of the assessment screens can be read whole at the program's font: no text is
// wider or taller than its control, and no other control lies over it. The screens are shown with
// each text they can take: every pollutant and class width on the air-quality and parameters
// screens, the longest subject line on the impact-estimates and chart screens.
#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include <string>

#include "assessment/UNIT3.h"
#include "assessment/Unit1.h"
#include "assessment/Unit2.h"
#include "assessment/Unit4.h"
#include "assessment/Unit5.h"
#include "assessment/Unit6.h"
#include "assessment/Unit7.h"
#include "assessment/Unit8.h"
#include "assessment/core/AqRecord.h"
#include "assessment/core/ConcentrationClasses.h"
#include "assessment/tests/CaptionCheck.h"
#include "assessment/tests/ImpactInputs.h"
#include "assessment/tests/ProgramFixture.h"
#include "platform/testing/GuiTest.h"
#include "ui_TForm3.h"
#include "ui_TForm5.h"
#include "ui_TForm6.h"

using namespace assessment;
using captions::cutCaptions;
using platform::testing::activateForm;

namespace {

class Captions : public ProgramFixture {
protected:
    // A supplier, a town and one record line for each pollutant (0..15) in each class width.
    Program& startWithRecords() {
        writeFile(workDir + "data_sup.tab",
                  "Country\r\nInstitute of Public Health and Environment\r\nCity\r\nStreet\r\n\r\n\r\n\r\n\r\n\r\nPerson\r\n");
        writeFile(workDir + "town.tab", "0 45.1|12.5|Old Town\r\n");
        std::string lines;
        for (int width = 0; width < 3; ++width) {
            for (int pollutant = 0; pollutant < 16; ++pollutant) {
                lines += dataLine({{kFieldPollutant, pollutant}, {kFieldYear, 2003}, {classField(3), 365},
                                   {kFieldClassWidth, width}, {kFieldPopulation, 100}, {kFieldStations, 2},
                                   {kFieldAnnualDays, 365}, {kFieldWinterDays, 180}, {kFieldSummerDays, 185},
                                   {kFieldAnnualMean, 30}},
                                  "Lowest station;Highest station;Network;Agency");
            }
        }
        writeFile(workDir + "data_rec.dat", lines);
        return start();
    }
};

}  // namespace

TEST_F(Captions, MainSupplierLocationAndAboutScreensReadWhole) {
    Program& p = startWithRecords();
    for (platform::Form* form : {static_cast<platform::Form*>(p.Form1), static_cast<platform::Form*>(p.Form2),
                                 static_cast<platform::Form*>(p.Form3), static_cast<platform::Form*>(p.AboutBox)}) {
        ASSERT_TRUE(activateForm(form));
        EXPECT_EQ(cutCaptions(form), QStringList()) << form->windowTitle().toStdString();
        form->hideForm();
    }
    // The location screen in new-location mode offers "Add" and "Save and Go to Air Quality data".
    ASSERT_TRUE(activateForm(p.Form3));
    platform::testing::pressButton(p.Form3->controls().Button2);
    ASSERT_TRUE(p.Form3->controls().BitBtn2->isVisible());
    EXPECT_EQ(cutCaptions(p.Form3), QStringList());
}

TEST_F(Captions, AirQualityScreenReadsWholeForEveryPollutantAndClassWidth) {
    Program& p = startWithRecords();
    for (int record = 1; record <= 48; ++record) {
        p.aq.cur_record = record;
        ASSERT_TRUE(activateForm(p.Form4));
        EXPECT_EQ(cutCaptions(p.Form4), QStringList())
            << "pollutant " << (record - 1) % 16 << ", class width " << (record - 1) / 16;
        p.Form4->hideForm();
    }
}

TEST_F(Captions, ParametersScreenReadsWholeForEveryPollutantAndClassWidth) {
    Program& p = startWithRecords();
    for (int width = 0; width < 3; ++width) {
        p.aq.cur_record = 16 * width + 3;  // PM10, whose parameters are shipped
        p.aq.interval_index = width;
        assessment::makeLabel(p.aq);
        p.aq.aq_filled = true;
        ASSERT_TRUE(activateForm(p.Form5));
        for (int pollutant = 0; pollutant < 16; ++pollutant) {
            platform::testing::chooseComboItem(p.Form5->ui().editpol, pollutant);
            EXPECT_EQ(cutCaptions(p.Form5), QStringList()) << "pollutant " << pollutant << ", class width " << width;
        }
        p.Form5->hideForm();
    }
}

TEST_F(Captions, ImpactAndChartScreensReadWholeWithTheLongestSubject) {
    Program& p = startWithRecords();
    PublishedInputs in = PublishedInputs::spreadOver(25);
    in.pollutant = "PM2.5 long term";
    in.endpoint = "Hospital Admissions Respiratory Dis 15-64 Years";
    for (int width = 0; width < 3; ++width) {
        in.interval = width;
        in.publish(p);
        ASSERT_TRUE(activateForm(p.Form6));
        EXPECT_EQ(cutCaptions(p.Form6), QStringList()) << "class width " << width;
        ASSERT_TRUE(activateForm(p.Form7));
        EXPECT_EQ(cutCaptions(p.Form7), QStringList()) << "class width " << width;
        p.Form7->hideForm();
        p.Form6->hideForm();
    }
}
