#pragma once

#include <QString>
#include <QTemporaryDir>

namespace pennock::test {

/// A fresh program folder in a temporary directory, removed afterwards.
class TempHome
{
public:
    TempHome();
    QString path() const { return mDir.path(); }
    QString file(const QString &relative) const { return mDir.filePath(relative); }
    /// Writes raw bytes to a file below the folder, creating folders.
    void write(const QString &relative, const QByteArray &bytes) const;

private:
    QTemporaryDir mDir;
};

} // namespace pennock::test
