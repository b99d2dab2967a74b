#pragma once
// The program-wide state of the health impact assessment. One object, owned by the program and
// reachable by every screen; it starts empty or zero and is rebuilt from the working files at each
// start. Names follow the program's own names for them.
//
// Screens and the core add the state they own in their own section below.
#include <array>
#include <cstdint>
#include <string>

#include "assessment/core/AqRecord.h"
#include "assessment/core/EndpointFile.h"
#include "assessment/core/ImpactCalculation.h"
#include "assessment/core/ParameterFile.h"
#include "assessment/core/ReadStops.h"
#include "runtime/ShortText.h"

namespace assessment {

constexpr int kPollutantCount = 16;
constexpr int kMaxTowns = 101;     // indices 0..100
constexpr int kMaxEndpoints = 26;

struct AssessmentState {
    // Directories and file names. Directories end in "/".
    std::string start_dir;   // the program folder
    std::string work_dir;    // the working directory
    std::string data_file;   // work_dir at start-up + "data_rec.dat"; fixed for the run
    std::string file_name;   // scratch file name
    std::string tmp_name;    // scratch file name whose last value init_all reads

    // The current record and navigation.
    AqRecord aq_record;
    std::int32_t cur_record = 0;     // 1-based line of the current record; 0 = none
    std::int32_t record_count = 0;   // lines of the data file as last counted; 0 = not counted
    std::int32_t cur_pollutant = 0;  // index into pollutant_names
    std::int32_t interval_index = 0; // class-width index 0, 1, 2 (10, 5, 1 µg/m3)

    // The data supplier (lines 1, 2, 3 of "data_sup.tab").
    std::string supplier_country;
    std::string supplier_org;
    std::string supplier_city;

    // Values one screen publishes for the calculation.
    std::int32_t exposed_pop = 0;    // thousands
    std::int32_t days_total = 0;
    std::string pollutant_text;
    std::int32_t cur_year = 0;
    bool long_term = false;
    bool aq_filled = false;
    std::array<long double, 4> rel_risk{};  // [1..3]: central, lower, upper
    long double base_incidence = 0;
    std::int32_t first_class = 0;

    // Tables.
    std::array<runtime::ShortText<16>, kPollutantCount> pollutant_names;
    std::array<runtime::ShortText<9>, kClassCount + 1> class_captions;  // [1..25]
    std::array<runtime::ShortText<9>, kClassCount> class_bounds;        // [1..24]
    std::array<runtime::ShortText<35>, kMaxTowns> town_names;
    std::array<runtime::ShortText<15>, kMaxTowns> town_lat;
    std::array<runtime::ShortText<15>, kMaxTowns> town_long;
    std::array<runtime::ShortText<35>, 5> split_fields;                 // [1..4]

    // The current parameter file ("text_file3"): the readers of the parameter file open it
    // through this binding.
    std::string text_file3;

    // ---- location screen ----
    // Town ids by table index; -1 marks an entry that no line of "town.tab" and no "Add" filled.
    std::array<std::int32_t, kMaxTowns> town_ids = [] {
        std::array<std::int32_t, kMaxTowns> ids{};
        ids.fill(-1);
        return ids;
    }();
    std::int32_t max_town_id = -1;  // the largest id read from "town.tab"; -1 when none
    std::int32_t town_count = 0;    // towns listed at activation; the new entry's index after "Add"
    std::int32_t cur_town = 0;      // index of the current town (record field 1)
    std::int32_t new_record = 0;    // -1 while a new record is being entered
    std::string town_line;          // line buffer of the location file readers


    // ---- air-quality data screen ----
    std::string params_file;          // the parameter file of the class-width look-up, bound once
    std::int32_t aq_changed = 0;      // -1: the record on the screens differs from the stored one
    std::int32_t aq_valid = -1;       // 0 after a failed check or a duplicate warning, else -1
    std::int32_t line_counter = 0;    // scratch counter
    // The air-quality screen holds typing of its own (a leave found a difference, or an import):
    // every save of the record then runs the air-quality checks. Cleared with aq_changed.
    bool aq_typed = false;
    // The key of the record under edit, its own: only showing a record, the location screen's
    // pollutant and class-width choices, the class-width look-up of a new record and the class
    // import set it. The record is written with it, whatever another screen did to cur_pollutant
    // and interval_index meanwhile.
    struct RecordKey {
        std::int32_t pollutant = 0;
        std::int32_t interval = 0;
    } record_key;


    // ---- parameter and endpoint files ----
    ParamRecord param_record;      // the record buffer: the values of the parameter record last read
    std::int32_t rec_endpoint = 0; // its endpoint code (its class-width index goes to interval_index)
    EndpointTables endpoints;      // endpoint_codes and endpoint_names, list position = entry
    std::string endpoint_text;     // the endpoint name the parameter screen published

    // ---- impact calculation and results ----
    ImpactResults impact;  // rewritten by every calculateImpact
    std::int32_t chart_column = 0;  // the results column that the chart shows; 0: "Cum.#"
    std::array<std::string, kClassCount + 1> impact_class_captions;  // [1..25], cut to 8 characters

    // ---- data supplier ----
    std::int32_t supplier_changed = 0;  // -1 once an edit of the supplier screen changed since its activation

    // ---- working files that screens rewrite from what they read ----
    ReadStops read_stops;  // those whose last read stopped early: not rewritten until read whole
};

// The 16 pollutant names in their fixed order.
inline constexpr std::array<const char*, kPollutantCount> kPollutantNames = {
    "TSP", "SO2", "PM10", "PM2.5", "Pb", "O3 (1 hour avg)", "O3 (8 hour avg)",
    "NO2 (1 hour avg)", "NO2 (daily avg)", "CO", "BS", "B(a)P", "PM10 long term",
    "PM2.5 long term", "BS long term", "TSP long term"};

}  // namespace assessment
