#include "lifetables/core/LTNextField.h"

#include <algorithm>

namespace lifetables {

void gl_LTnextField(std::string_view line, std::int32_t& pos, std::string& field) {
    field.clear();
    if (line.empty() || pos < 0) {
        return;
    }
    // Position 0 reads like position 1, as the classic copy routine does.
    const std::size_t start = pos == 0 ? 0 : static_cast<std::size_t>(pos) - 1;
    if (start >= line.size()) {
        pos = -1;
        return;
    }
    const std::size_t tab = line.find('\t', start);
    const std::size_t end = tab == std::string_view::npos ? line.size() : tab;
    field.assign(line.substr(start, std::min(end - start, kLTfieldMax)));
    if (tab != std::string_view::npos && tab + 1 < line.size()) {
        pos = static_cast<std::int32_t>(tab + 2);  // 1-based position after the TAB
    } else {
        pos = -1;
    }
}

}  // namespace lifetables
