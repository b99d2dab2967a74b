#pragma once
// A life-table state with every value the input/result and calculations files carry, and helpers
// to look at the files the writers produce.
#include <sstream>
#include <string>
#include <vector>

#include "lifetables/core/LTState.h"
#include "lifetables/core/tests/ltengine_TestState.h"
#include "runtime/NumberText.h"
#include "runtime/testing/ScratchFolder.h"

namespace lifetables::testing {

using runtime::testing::ScratchFolder;

// Values of every magnitude the general form meets: integral, fractional, negative, tiny, huge.
inline double sampleValue(int seed) {
    static const double kValues[] = {0.0,        1.0,         -3.5,        0.1,       123.456,
                                     1.5e-7,     2.5e20,      12345678901234.5, 1.0 / 3.0, 2e-5,
                                     -0.000123,  65.0,        99999.75,    7.25e-4,   1e15};
    return kValues[seed % 15] + (seed / 15) * 1000.0;
}

// Fills the state as a loaded file or a calculation would: data for the sexes in `withData`,
// results for the same sexes, all other fields set.
inline void fillState(LTState& s, std::vector<int> withData = {1, 2, 3}) {
    int seed = 0;
    for (int sex : withData) {
        const int rows = 3 + sex;
        for (int r = 1; r <= rows; ++r) {
            for (int c = 1; c <= kLTEmpiricalColumns; ++c) s.LTempirical[r][c][sex] = sampleValue(seed++);
        }
        s.LTempirical[1][kLTPopulation][sex] = 1000.0;
        s.LTlineCount[sex] = rows;
        s.LTcomments[sex] = "comment " + std::to_string(sex);
        s.LTresultValid[sex] = true;
        for (int t = 0; t < kLTIndicatorCount; ++t) {
            for (int sc = 0; sc < 3; ++sc) s.LTsummary[t][sc][sex] = sampleValue(seed++);
        }
        for (int a = 1; a <= kLTMaxRows; ++a) {
            for (int sc = 0; sc < 4; ++sc) {
                s.LTlifeExp[a][sc][sex] = sampleValue(seed++);
                s.LTlifeExpDelta[a][sc][sex] = sampleValue(seed++);
            }
        }
    }
    s.LTyearOfData = 2004;
    s.LTshownCause = 2;
    s.LTcalcEnded = "12.03.2005 14:22:01";

    LTInfos& i = s.LTinfos;
    i.YofMeasurement = 2003;
    i.annualMaxAll = 88.5;
    i.winterMaxAll = 1.5e-7;
    i.summerMaxAll = -2.25;
    i.All98percentile = 77.125;
    i.pollutant = 2;
    i.effect = 1;
    i.startYear = 2005;
    i.country = "Österreich";
    i.agglomeration = "Graz; Umgebung";
    i.exPop = 230;
    i.annualCapture = 365;
    i.winterCapture = 180;
    i.summerCapture = -1;
    i.annualMeanAll = 31.2;
    i.winterMeanAll = 40.05;
    i.summerMeanAll = 22.0;
    i.loStation = "Nord";
    i.hiStation = "Süd Ost";
    i.numberOfStations = 7;
    double v = 1.25;
    for (double* field : {&i.loAnnualMean, &i.loWinterMean, &i.loSummerMean, &i.loAnnualMax, &i.loWinterMax,
                          &i.loSummerMax, &i.lo98percentile, &i.hiAnnualMean, &i.hiWinterMean, &i.hiSummerMean,
                          &i.hiAnnualMax, &i.hiWinterMax, &i.hiSummerMax, &i.hi98percentile}) {
        *field = (v += 10.125);
    }
    i.certainty = 3;

    LTRRSettings& r = s.LTRRsettings;
    r.advanced = true;
    r.meanAnnualConc = 25.5;
    r.X_reference = 7.5;
    r.X_lo = 7.5;
    r.X_hi = 80;
    r.useTAVdefaults = false;
    r.birthSlope = 95.5;
    r.birthFromYear = 2006;
    r.birthUntilYear = 2010;
    r.percPoll = 99.25;
    r.percPollFromYear = 2005;
    r.percPollUntilYear = 2030;
    r.weightAge = 0.5;
    r.weightAgeFromAge = 60;
    r.weightAgeUntilAge = 99;
    r.weightYears = 0.97;
    r.weightYearsFromYear = -111111;
    r.weightYearsUntilYear = 111111;
    s.LTparamSet.name = "Version_TAV_LT_01.00.00";
    for (int c = 0; c < kLTCauseCount; ++c) {
        s.LTRRvector[0][c] = c;
        s.LTRRvector[1][c] = 30;
        s.LTRRvector[2][c] = 120;
        s.LTRRvector[3][c] = 0.006 + 0.001 * c;
        s.LTRRvector[4][c] = 0.0022654;
    }
    s.LTcauseChecked = {false, true, true};
}

// A value as the file gives it back: the text the writer makes, read again.
inline double asWritten(double value) {
    return static_cast<double>(runtime::strToFloat(runtime::formatGeneral(value, 15)));
}

// The lines of a file written with CR LF line ends; fails the test on a bare LF.
inline std::vector<std::string> crlfLines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t end = bytes.find("\r\n", start);
        EXPECT_NE(end, std::string::npos) << "line without CR LF at byte " << start;
        if (end == std::string::npos) break;
        lines.push_back(bytes.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

inline std::vector<std::string> tabFields(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
        if (tab == std::string::npos) return fields;
        start = tab + 1;
    }
}

// Reads a file of the given content through the reader into a fresh state.
struct ReadResult {
    std::unique_ptr<LTState> state = makeState();
    MessageLog log;
    bool whole = false;  // the reader's answer: the file may become the current file
};

}  // namespace lifetables::testing
