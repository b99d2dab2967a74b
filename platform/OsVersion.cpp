#include "platform/OsVersion.h"

#include <sys/utsname.h>

#include <cctype>

namespace platform {

QString osMajorVersion() {
    utsname info{};
    if (uname(&info) != 0) return QStringLiteral("0");
    // The release starts with the major version: "6.1.0-13-amd64".
    QString major;
    for (const char* p = info.release; *p && std::isdigit(static_cast<unsigned char>(*p)); ++p) major += QLatin1Char(*p);
    return major.isEmpty() ? QStringLiteral("0") : major;
}

}  // namespace platform
