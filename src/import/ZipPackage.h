#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

typedef struct zip zip_t;

namespace pennock::core {

/// The parts of an xlsx or ods file held in memory, unpacked by libzip.
class ZipPackage
{
public:
    /// The most one part may unpack to: far beyond any sheet the import takes, and a bound for a
    /// damaged or hostile archive that claims or inflates to gigabytes.
    static constexpr qint64 kMaxPartBytes = 256 * 1024 * 1024;

    /// Throws SheetError naming `path` when the bytes are no zip archive.
    ZipPackage(const QByteArray& bytes, const QString& path);
    ~ZipPackage();
    ZipPackage(const ZipPackage&) = delete;
    ZipPackage& operator=(const ZipPackage&) = delete;

    /// The unpacked part, null when the package has none of that name. Throws SheetError
    /// when the part cannot be unpacked or is larger than kMaxPartBytes.
    QByteArray part(const QString& name) const;
    /// "无法读取表格文件：<file>（<part>：<reason>）"
    QString error(const QString& part, const QString& reason) const;

private:
    QByteArray mBytes;
    QString mPath;
    zip_t* mArchive = nullptr;
    QHash<QString, qint64> mEntries; // name -> index
};

} // namespace pennock::core
