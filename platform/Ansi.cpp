#include "platform/Ansi.h"

#include <QByteArray>

#include "runtime/Cp1252.h"

namespace platform {

QString fromAnsi(const std::string& bytes) { return QString::fromStdString(runtime::utf8FromCp1252(bytes)); }

std::string toAnsi(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    return runtime::cp1252FromUtf8(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}

}  // namespace platform
