#pragma once
// The life-table state: every value that the life-table screen, its files and the engine share.
// There is one instance for the whole run, created once when the program starts (the program owns
// it, e.g. through std::make_unique<LTState>()); it starts at zero, false or empty, and nothing in
// it is allocated per calculation. Array indices follow the program's own numbering: where the
// numbering starts at 1 (sex, data row, age row, year), element 0 is present but unused.
//
//   sex s:       1 male, 2 female, 3 male + female
//   cause c:     0 all causes, 1 cardiopulmonary, 2 LCA
//   RR column:   0 cause index, 1 from age, 2 until age (excluded), 3 beta, 4 se of beta,
//                5 RR central, 6 RR lower (beta - 1.96 se), 7 RR upper (beta + 1.96 se)
//   matrix k:    4 * scenario + role; scenario 0 baseline, 1 RR central, 2 RR lower, 3 RR upper;
//                role 0 death rate, 1 deaths, 2 person-years, 3 entrants
#include <array>
#include <cstdint>
#include <string>

#include "runtime/ShortText.h"

namespace lifetables {

constexpr int kLTMaxRows = 120;     // data rows, single-age rows and simulated years
constexpr int kLTMatrixCount = 16;
constexpr int kLTSexCount = 3;
constexpr int kLTCauseCount = 3;
constexpr int kLTRRColumns = 8;
constexpr int kLTEmpiricalColumns = 9;  // columns 1..9
constexpr int kLTIndicatorCount = 10;   // T0..T9

// Matrix numbers by scenario and role.
constexpr int kLTRoleRate = 0;
constexpr int kLTRoleDeaths = 1;
constexpr int kLTRolePersonYears = 2;
constexpr int kLTRoleEntrants = 3;
constexpr int ltMatrixNumber(int scenario, int role) { return 4 * scenario + role; }

// Empirical data columns.
enum LTEmpiricalColumn : int {
    kLTFromAge = 1,
    kLTUntilAge = 2,
    kLTPopulation = 3,
    kLTDeathsAll = 4,
    kLTDeathsCardio = 5,
    kLTDeathsLCA = 6,
    kLTRateAll = 7,
    kLTRateCardio = 8,
    kLTRateLCA = 9,
};

// The information record (Infos tab, plus the fields the Calc tab shares).
struct LTInfos {
    std::uint8_t pollutant = 0;   // index into LTpollutantNames
    std::uint8_t certainty = 0;   // 0..3: "UNKNOWN", "LOW", "MEDIUM", "HIGH"
    std::int32_t effect = 0;      // cause analysed: 0 all causes, 1 cardiopulmonary, 2 LCA
    std::int32_t startYear = 0;   // first calendar year of the simulation
    runtime::ShortText<255> country;
    runtime::ShortText<255> agglomeration;
    std::int32_t exPop = 0;       // thousands
    std::int32_t YofMeasurement = 0;
    std::int32_t annualCapture = 0;
    std::int32_t winterCapture = 0;
    std::int32_t summerCapture = 0;
    double annualMaxAll = 0;
    double winterMaxAll = 0;
    double summerMaxAll = 0;
    double All98percentile = 0;
    double annualMeanAll = 0;
    double winterMeanAll = 0;
    double summerMeanAll = 0;
    runtime::ShortText<255> loStation;
    runtime::ShortText<255> hiStation;
    std::int32_t numberOfStations = 0;
    double loAnnualMean = 0;
    double loWinterMean = 0;
    double loSummerMean = 0;
    double loAnnualMax = 0;
    double loWinterMax = 0;
    double loSummerMax = 0;
    double lo98percentile = 0;
    double hiAnnualMean = 0;
    double hiWinterMean = 0;
    double hiSummerMean = 0;
    double hiAnnualMax = 0;
    double hiWinterMax = 0;
    double hiSummerMax = 0;
    double hi98percentile = 0;
};

// The calculation settings (Calc tab).
struct LTRRSettings {
    bool advanced = false;
    double meanAnnualConc = 0;
    double X_reference = 0;
    double X_lo = 0;
    double X_hi = 0;
    bool useTAVdefaults = false;
    double birthSlope = 0;        // percent of the first year's births inside the birth window
    std::int32_t birthFromYear = 0;
    std::int32_t birthUntilYear = 0;
    double percPoll = 0;          // yearly factor of the pollution level, percent
    std::int32_t percPollFromYear = 0;
    std::int32_t percPollUntilYear = 0;
    double weightAge = 0;
    std::int32_t weightAgeFromAge = 0;
    std::int32_t weightAgeUntilAge = 0;
    double weightYears = 0;
    std::int32_t weightYearsFromYear = 0;
    std::int32_t weightYearsUntilYear = 0;
};

// Neutral values of the advanced settings (set when "advanced" is switched off).
constexpr double kLTNeutralBirthSlope = 100.0;
constexpr double kLTNeutralPercPoll = 100.0;
constexpr double kLTNeutralWeight = 1.0;
constexpr std::int32_t kLTNeutralFrom = -111111;
constexpr std::int32_t kLTNeutralUntil = 111111;

// Switches the advanced settings off, with their neutral values.
inline void ltSetNeutralAdvanced(LTRRSettings& s) {
    s.advanced = false;
    s.birthSlope = kLTNeutralBirthSlope;
    s.percPoll = kLTNeutralPercPoll;
    s.weightAge = s.weightYears = kLTNeutralWeight;
    s.birthFromYear = s.percPollFromYear = s.weightAgeFromAge = s.weightYearsFromYear = kLTNeutralFrom;
    s.birthUntilYear = s.percPollUntilYear = s.weightAgeUntilAge = s.weightYearsUntilYear = kLTNeutralUntil;
}

// [column 0..7][cause 0..2]
using LTRRTable = std::array<std::array<double, kLTCauseCount>, kLTRRColumns>;

struct LTParamSet {
    runtime::ShortText<23> name;
    LTRRTable values{};
};

// One projection matrix of one sex: [row 0..120][column 0..120]. Row 0 holds the calendar years,
// column 0 the ages of the single-age rows, cell (0, 0) is 0.
using LTMatrix = std::array<std::array<double, kLTMaxRows + 1>, kLTMaxRows + 1>;

// The sixteen projection matrices of the three sexes (16 x 121 x 121 x 3 doubles).
// Read and write cell (row, column) of matrix k and sex s as LTmatrices(k, row, column, s);
// of(k, s) gives one matrix of one sex.
struct LTMatrices {
    std::array<std::array<LTMatrix, kLTSexCount>, kLTMatrixCount> cells{};

    double& operator()(int k, int row, int column, int sex) { return cells[k][sex - 1][row][column]; }
    double operator()(int k, int row, int column, int sex) const { return cells[k][sex - 1][row][column]; }
    LTMatrix& of(int k, int sex) { return cells[k][sex - 1]; }
    const LTMatrix& of(int k, int sex) const { return cells[k][sex - 1]; }
};

template <typename T>
using LTPerSex = std::array<T, kLTSexCount + 1>;  // [1..3]

struct LTState {
    LTInfos LTinfos;
    LTRRSettings LTRRsettings;
    std::array<bool, kLTCauseCount> LTcauseChecked{};

    // Relative-risk tables [column 0..7][cause 0..2].
    LTRRTable LTRRvector{};
    LTRRTable LTRRatLevel{};
    LTParamSet LTparamSet;

    // Empirical data [row 1..120][column 1..9][sex 1..3].
    std::array<std::array<LTPerSex<double>, kLTEmpiricalColumns + 1>, kLTMaxRows + 1> LTempirical{};
    LTPerSex<std::int32_t> LTlineCount{};   // rows in use, 0..120
    LTPerSex<std::string> LTcomments;
    std::int32_t LTyearOfData = 0;
    LTPerSex<std::string> LTsectionNames;   // file section header of each sex
    LTPerSex<bool> LTresultValid{};

    // Projection state.
    LTPerSex<std::int32_t> LTageCount{};                       // single-age rows, at most 120
    std::array<LTPerSex<double>, kLTMaxRows + 1> LTstartPop{};  // [age row 1..120][sex]
    std::array<LTPerSex<double>, kLTMaxRows + 1> LTbirths{};    // [year 1..120][sex]
    LTMatrices LTmatrices;

    // Results.
    // [indicator T0..T9][scenario 0 central, 1 lower, 2 upper][sex]
    std::array<std::array<LTPerSex<double>, 3>, kLTIndicatorCount> LTsummary{};
    // [age row 1..120][scenario 0 baseline, 1 central, 2 lower, 3 upper][sex]
    std::array<std::array<LTPerSex<double>, 4>, kLTMaxRows + 1> LTlifeExp{};
    std::array<std::array<LTPerSex<double>, 4>, kLTMaxRows + 1> LTlifeExpDelta{};
    std::int32_t LTshownCause = 0;
    std::string LTcalcEnded;

    // Screen and file state.
    bool LTchanged = false;
    bool LTmarkEnabled = false;
    bool LTmanualLock = false;
    std::string LTinputPath, LTinputName;  // folder ends in "/"
    std::string LTcalcPath, LTcalcName;
    std::string LTexePath, LTexeName;      // folder ends in "/"
    std::string LThelpFile;
    runtime::ShortText<255> LTOSmajor;
};

// The time stamp shown while no current result exists.
inline constexpr const char* kLTNoCalcEnded = "- - - - - -";

// Constant tables.
inline constexpr std::array<const char*, 4> LTpollutantNames = {
    "PM2.5 long term", "PM10 long term", "BS long term", "TSP long term"};
inline constexpr std::array<const char*, kLTCauseCount> LTcauseNames = {
    "ALL causes of death", "cardiopulmonary", "LCA"};
inline constexpr std::array<const char*, 4> LTintervalTexts = {"", "1", "5", "10"};  // [1..3]
inline constexpr std::array<std::int32_t, 4> LTintervals = {0, 1, 5, 10};           // [1..3]

}  // namespace lifetables
