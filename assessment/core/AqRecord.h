#pragma once
// The current air-quality record: 61 signed 32-bit fields numbered from 1 and a text tail of four
// texts joined by ";" (lowest station, highest station, network affiliation, technical body), and
// the name of every field. Code reaches a field by its name, never by its number.
#include <array>
#include <cstdint>
#include <string>

namespace assessment {

// The number of concentration classes; their counts fill fields 4 to 28.
constexpr int kClassCount = 25;

struct AqRecord {
    static constexpr int kFieldCount = 61;
    std::array<std::int32_t, kFieldCount + 1> field{};  // field[1..61]; field[0] unused
    std::string text;                                   // the tail, also a line buffer

    std::int32_t& operator[](int i) { return field.at(static_cast<std::size_t>(i)); }
    std::int32_t operator[](int i) const { return field.at(static_cast<std::size_t>(i)); }
};

// The fields of a record, in the order of the data-file line.
inline constexpr int kFieldTown = 1;         // index of the town in the location tables, not its id
inline constexpr int kFieldPollutant = 2;    // index into the pollutant names
inline constexpr int kFieldYear = 3;
inline constexpr int kFieldFirstClass = 4;   // the count of class 1; class k is field k + 3
inline constexpr int kFieldLastClass = 28;   // the count of class 25
inline constexpr int kFieldClassWidth = 29;  // the class-width index (interval_index)
inline constexpr int kFieldPopulation = 30;  // exposed population, in thousands
inline constexpr int kFieldSpare1 = 31;      // 31 to 33: written by no screen, kept as read
inline constexpr int kFieldSpare2 = 32;
inline constexpr int kFieldSpare3 = 33;
inline constexpr int kFieldStations = 34;    // number of stations used for the profile
inline constexpr int kFieldAnnualDays = 35;  // data capture: the sum of the class counts
inline constexpr int kFieldWinterDays = 36;
inline constexpr int kFieldSummerDays = 37;
inline constexpr int kFieldAnnualMean = 38;
inline constexpr int kFieldWinterMean = 39;
inline constexpr int kFieldSummerMean = 40;
inline constexpr int kFieldAnnualP98 = 41;   // annual 98 percentile
inline constexpr int kFieldAnnualMax = 42;
inline constexpr int kFieldWinterMax = 43;
inline constexpr int kFieldSummerMax = 44;
inline constexpr int kFieldZero1 = 45;       // always written as 0, like kFieldZero2 and kFieldZero3
// The lowest station (46 to 51) and the highest (52 to 57): annual, winter and summer mean, then
// annual, winter and summer maximum.
inline constexpr int kFieldLowAnnualMean = 46, kFieldLowWinterMean = 47, kFieldLowSummerMean = 48;
inline constexpr int kFieldLowAnnualMax = 49, kFieldLowWinterMax = 50, kFieldLowSummerMax = 51;
inline constexpr int kFieldHighAnnualMean = 52, kFieldHighWinterMean = 53, kFieldHighSummerMean = 54;
inline constexpr int kFieldHighAnnualMax = 55, kFieldHighWinterMax = 56, kFieldHighSummerMax = 57;
inline constexpr int kFieldLowAnnualP98 = 58;
inline constexpr int kFieldHighAnnualP98 = 59;
inline constexpr int kFieldZero2 = 60;
inline constexpr int kFieldZero3 = 61;
static_assert(kFieldZero3 == AqRecord::kFieldCount);
static_assert(kFieldLastClass - kFieldFirstClass + 1 == kClassCount);

// The field that holds the count of class k (1 to 25).
constexpr int classField(int k) { return kFieldFirstClass + k - 1; }

}  // namespace assessment
