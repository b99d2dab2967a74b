#include <gtest/gtest.h>

#include "assessment/core/AssessmentState.h"
#include "assessment/core/ConcentrationClasses.h"
#include "runtime/Errors.h"
#include "runtime/testing/ScratchFolder.h"

using namespace assessment;
using runtime::testing::ScratchFolder;

namespace {

struct Tables {
    ClassCaptions captions;
    ClassBounds bounds;
};

Tables built(std::int32_t index) {
    Tables t;
    makeLabel(index, t.captions, t.bounds);
    return t;
}

std::string paramLine(int pollutant, int interval) {
    return std::to_string(pollutant) + " 0  1.00000000000000E+0003  1.06000000000000E+0000 "
           " 1.00000000000000E+0000  1.10000000000000E+0000 0 3 " + std::to_string(interval) + "\r\n";
}

}  // namespace

TEST(ConcentrationClasses, CaptionsOfTheThreeSchemes) {
    const Tables ten = built(0);
    EXPECT_EQ(ten.captions[1].str(), "<10");
    EXPECT_EQ(ten.captions[2].str(), "10-19");
    EXPECT_EQ(ten.captions[3].str(), "20-29");
    EXPECT_EQ(ten.captions[20].str(), "190-199");
    EXPECT_EQ(ten.captions[21].str(), "200-249");
    EXPECT_EQ(ten.captions[24].str(), "350-399");
    EXPECT_EQ(ten.captions[25].str(), ">=400");

    const Tables five = built(1);
    EXPECT_EQ(five.captions[1].str(), "<5");
    EXPECT_EQ(five.captions[2].str(), " 5 - 9");
    EXPECT_EQ(five.captions[3].str(), "10-14");
    EXPECT_EQ(five.captions[20].str(), "95-99");
    EXPECT_EQ(five.captions[21].str(), "100-124");
    EXPECT_EQ(five.captions[24].str(), "175-199");
    EXPECT_EQ(five.captions[25].str(), ">=200");

    const Tables one = built(2);
    EXPECT_EQ(one.captions[1].str(), "<1");
    EXPECT_EQ(one.captions[2].str(), "1.0-1.9");
    EXPECT_EQ(one.captions[3].str(), "2.0-2.9");
    EXPECT_EQ(one.captions[11].str(), "10.0-10.9");
    EXPECT_EQ(one.captions[20].str(), "19.0-19.9");
    EXPECT_EQ(one.captions[21].str(), "20.0-24.9");
    EXPECT_EQ(one.captions[24].str(), "35.0-39.9");
    EXPECT_EQ(one.captions[25].str(), ">=40.0");
    EXPECT_EQ(one.captions[11].str().substr(0, 8), "10.0-10.");
}

TEST(ConcentrationClasses, BoundsComeFromTheCaptions) {
    const Tables ten = built(0);
    EXPECT_EQ(ten.bounds[1].str(), "10");
    EXPECT_EQ(ten.bounds[19].str(), "190");
    EXPECT_EQ(ten.bounds[20].str(), "200");
    EXPECT_EQ(ten.bounds[23].str(), "350");
    EXPECT_EQ(ten.bounds[24].str(), "400");

    const Tables five = built(1);
    EXPECT_EQ(five.bounds[1].str(), " 5 ");
    EXPECT_EQ(five.bounds[2].str(), "10");
    EXPECT_EQ(five.bounds[21].str(), "125");
    EXPECT_EQ(five.bounds[24].str(), "200");

    const Tables one = built(2);
    EXPECT_EQ(one.bounds[1].str(), "1.0");
    EXPECT_EQ(one.bounds[19].str(), "19.0");
    EXPECT_EQ(one.bounds[20].str(), "20.0");
    EXPECT_EQ(one.bounds[23].str(), "35.0");
    EXPECT_EQ(one.bounds[24].str(), "40.");
}

TEST(ConcentrationClasses, IndexOutsideTheSchemesKeepsCaptionsAndRebuildsBounds) {
    Tables t;
    makeLabel(-1, t.captions, t.bounds);  // at start-up: nothing built yet
    for (int k = 1; k <= 25; ++k) EXPECT_EQ(t.captions[static_cast<std::size_t>(k)].str(), "");
    for (int j = 1; j <= 24; ++j) EXPECT_EQ(t.bounds[static_cast<std::size_t>(j)].str(), "");

    makeLabel(1, t.captions, t.bounds);
    const Tables before = t;
    t.bounds[3] = "junk";
    makeLabel(3, t.captions, t.bounds);
    EXPECT_EQ(t.captions, before.captions);
    EXPECT_EQ(t.bounds, before.bounds);
    EXPECT_EQ(captionsFor(3), nullptr);
    EXPECT_EQ(captionsFor(-1), nullptr);

    AssessmentState state;
    state.interval_index = 2;
    makeLabel(state);
    EXPECT_EQ(state.class_bounds[24].str(), "40.");
}

TEST(ConcentrationClasses, GetParamTakesFirstLineOfThePollutantElseTheLast) {
    ScratchFolder dir;
    const std::string path = dir.write("params.tab", paramLine(0, 2) + paramLine(2, 1) + paramLine(2, 0) + paramLine(5, 2));
    std::int32_t interval = -7;
    getParam(path, 2, interval);
    EXPECT_EQ(interval, 1);
    getParam(path, 3, interval);  // no line of the pollutant: the last line's
    EXPECT_EQ(interval, 2);
    interval = -7;
    getParam(dir.write("empty", ""), 2, interval);
    EXPECT_EQ(interval, -7);
}

TEST(ConcentrationClasses, GetParamErrorLeavesTheIndex) {
    ScratchFolder dir;
    std::int32_t interval = 1;
    EXPECT_THROW(getParam(dir.file("missing"), 2, interval), runtime::InOutError);
    EXPECT_THROW(getParam(dir.write("bad", paramLine(0, 2) + "2 0 x 1 1 1 0 0 0\r\n"), 2, interval), runtime::InOutError);
    EXPECT_EQ(interval, 1);
}
