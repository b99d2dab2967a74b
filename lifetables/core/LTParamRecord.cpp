#include "lifetables/core/LTParamRecord.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <string>

namespace lifetables {
namespace {

constexpr std::size_t kValuesOffset = 1 + kLTParamNameMax;

std::size_t valueOffset(int column, int cause) {
    return kValuesOffset + 8 * static_cast<std::size_t>(3 * column + cause);
}

}  // namespace

LTParamSet decodeLTParamRecord(const LTParamRecord& record) {
    LTParamSet set;
    const std::size_t length = std::min<std::size_t>(record[0], kLTParamNameMax);
    set.name = std::string(reinterpret_cast<const char*>(record.data() + 1), length);
    for (int column = 0; column < kLTRRColumns; ++column) {
        for (int cause = 0; cause < kLTCauseCount; ++cause) {
            const std::size_t at = valueOffset(column, cause);
            std::uint64_t bits = 0;
            for (int byte = 7; byte >= 0; --byte) bits = (bits << 8) | record[at + byte];
            set.values[column][cause] = std::bit_cast<double>(bits);
        }
    }
    return set;
}

LTParamRecord encodeLTParamRecord(const LTParamSet& set) {
    LTParamRecord record{};
    const std::string& name = set.name.str();
    const std::size_t length = std::min(name.size(), kLTParamNameMax);
    record[0] = static_cast<unsigned char>(length);
    std::copy_n(name.begin(), length, record.begin() + 1);
    for (int column = 0; column < kLTRRColumns; ++column) {
        for (int cause = 0; cause < kLTCauseCount; ++cause) {
            std::uint64_t bits = std::bit_cast<std::uint64_t>(set.values[column][cause]);
            const std::size_t at = valueOffset(column, cause);
            for (int byte = 0; byte < 8; ++byte, bits >>= 8) {
                record[at + byte] = static_cast<unsigned char>(bits & 0xFF);
            }
        }
    }
    return record;
}

}  // namespace lifetables
