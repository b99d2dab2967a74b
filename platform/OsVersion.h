#pragma once
#include <QString>

namespace platform {
// The operating system's major version as decimal text (on Linux the kernel's major version).
QString osMajorVersion();
}  // namespace platform
