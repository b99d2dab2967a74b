#include "platform/Ansi.h"

#include <QByteArray>
#include <QFile>

#include "runtime/CodePage.h"

namespace platform {
namespace {
std::string_view view(const QByteArray& bytes) {
    return std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}
}  // namespace

QString fromAnsi(const std::string& bytes) { return QString::fromStdString(runtime::utf8FromAnsi(bytes)); }

std::string toAnsi(const QString& text) { return runtime::ansiFromUtf8(view(text.toUtf8())); }

bool ansiCanHold(const QString& text) { return runtime::ansiCanHold(view(text.toUtf8())); }

std::string toFileName(const QString& path) { return QFile::encodeName(path).toStdString(); }

QString fromFileName(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }

}  // namespace platform
