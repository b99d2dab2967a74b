#pragma once
// Files for the platform tests.
#include <QByteArray>
#include <QFile>
#include <QString>

// Writes `content` to `path`; false when the file cannot be written.
inline bool writeTestFile(const QString& path, const QByteArray& content) {
    QFile out(path);
    return out.open(QIODevice::WriteOnly) && out.write(content) == content.size();
}
