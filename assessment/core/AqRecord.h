#pragma once
// The current air-quality record: 61 signed 32-bit fields numbered from 1 and a text tail of four
// texts joined by ";" (lowest station, highest station, network affiliation, technical body).
#include <array>
#include <cstdint>
#include <string>

namespace assessment {

struct AqRecord {
    static constexpr int kFieldCount = 61;
    std::array<std::int32_t, kFieldCount + 1> field{};  // field[1..61]; field[0] unused
    std::string text;                                   // the tail, also a line buffer

    std::int32_t& operator[](int i) { return field.at(static_cast<std::size_t>(i)); }
    std::int32_t operator[](int i) const { return field.at(static_cast<std::size_t>(i)); }
};

}  // namespace assessment
