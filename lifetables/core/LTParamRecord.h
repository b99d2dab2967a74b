#pragma once
// The 216-byte record of the life-table parameter-set file: a name of at most 23 single-byte
// characters behind its length byte, then 24 little-endian doubles, column by column
// (column g = 0..7, cause c = 0..2 at byte 24 + 8 (3 g + c)).
#include <array>
#include <cstddef>

#include "lifetables/core/LTState.h"

namespace lifetables {

constexpr std::size_t kLTParamRecordSize = 216;
constexpr std::size_t kLTParamNameMax = 23;
using LTParamRecord = std::array<unsigned char, kLTParamRecordSize>;

// The record's contents; a length byte above 23 gives the first 23 characters.
LTParamSet decodeLTParamRecord(const LTParamRecord& record);

// The record of a set; the bytes after the name are zero.
LTParamRecord encodeLTParamRecord(const LTParamSet& set);

}  // namespace lifetables
