#include "platform/Ansi.h"

#include <QByteArray>
#include <QFile>

#include "runtime/Cp1252.h"

namespace platform {

QString fromAnsi(const std::string& bytes) { return QString::fromStdString(runtime::utf8FromCp1252(bytes)); }

std::string toAnsi(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    return runtime::cp1252FromUtf8(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}

bool ansiCanHold(const QString& text) { return fromAnsi(toAnsi(text)) == text; }

std::string toFileName(const QString& path) { return QFile::encodeName(path).toStdString(); }

QString fromFileName(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }

}  // namespace platform
