#pragma once

#include <QByteArray>
#include <QSet>
#include <QString>

#include <memory>

namespace orcus {
class zip_archive;
class zip_archive_stream_blob;
} // namespace orcus

namespace pennock::core {

/// The parts of an xlsx or ods file held in memory, unpacked by liborcus's zip archive.
class ZipPackage
{
public:
    /// Throws SheetError naming `path` when the bytes are no zip archive.
    ZipPackage(const QByteArray& bytes, const QString& path);
    ~ZipPackage();
    ZipPackage(const ZipPackage&) = delete;
    ZipPackage& operator=(const ZipPackage&) = delete;

    /// The unpacked part, null when the package has none of that name. Throws SheetError
    /// when the part cannot be unpacked.
    QByteArray part(const QString& name) const;
    /// "无法读取表格文件：<file>（<part>：<reason>）"
    QString error(const QString& part, const QString& reason) const;

private:
    QByteArray mBytes;
    QString mPath;
    std::unique_ptr<orcus::zip_archive_stream_blob> mStream;
    std::unique_ptr<orcus::zip_archive> mArchive;
    QSet<QString> mNames;
};

} // namespace pennock::core
