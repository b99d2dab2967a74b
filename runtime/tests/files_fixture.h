#pragma once
// What the tests of the file layer share: a write of one line, and the message of a failed save.
#include <functional>
#include <string>

#include "runtime/Errors.h"
#include "runtime/TextFile.h"

namespace runtime::testing {

inline void writeNew(TextWriter& w) { w.writeln("new"); }

// The message of the InOutError that `save` throws; "" without one.
inline std::string failure(const std::function<void()>& save) {
    try {
        save();
    } catch (const InOutError& e) {
        return e.what();
    }
    return "";
}

}  // namespace runtime::testing
