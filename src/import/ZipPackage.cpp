#include "import/ZipPackage.h"

#include "import/SheetReader.h"

#include <zip.h>

#include <memory>

namespace pennock::core {

namespace {

QString zipReason(zip_error_t* error) { return QString::fromLocal8Bit(zip_error_strerror(error)); }

struct FileCloser
{
    void operator()(zip_file_t* file) const { zip_fclose(file); }
};

} // namespace

ZipPackage::ZipPackage(const QByteArray& bytes, const QString& path)
    : mBytes(bytes)
    , mPath(path)
{
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source
        = zip_source_buffer_create(mBytes.constData(), zip_uint64_t(mBytes.size()), 0, &error);
    if (source)
        mArchive = zip_open_from_source(source, ZIP_RDONLY, &error);
    if (!mArchive) {
        const QString reason = zipReason(&error);
        zip_source_free(source);
        zip_error_fini(&error);
        throw SheetError::unreadable(path, reason);
    }
    zip_error_fini(&error);
    const zip_int64_t count = zip_get_num_entries(mArchive, 0);
    for (zip_int64_t i = 0; i < count; ++i)
        if (const char* name = zip_get_name(mArchive, zip_uint64_t(i), ZIP_FL_ENC_GUESS))
            mEntries.insert(QString::fromUtf8(name), i);
}

ZipPackage::~ZipPackage()
{
    if (mArchive)
        zip_discard(mArchive);
}

QByteArray ZipPackage::part(const QString& name) const
{
    const auto entry = mEntries.constFind(name);
    if (entry == mEntries.constEnd())
        return {};
    const QString tooLarge = QStringLiteral("解压后超过 %1 MB").arg(kMaxPartBytes / 1024 / 1024);
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(mArchive, zip_uint64_t(*entry), 0, &stat) == 0
        && (stat.valid & ZIP_STAT_SIZE) && stat.size > zip_uint64_t(kMaxPartBytes))
        throw SheetError { error(name, tooLarge) };
    const std::unique_ptr<zip_file_t, FileCloser> file(
        zip_fopen_index(mArchive, zip_uint64_t(*entry), 0));
    if (!file)
        throw SheetError { error(name, zipReason(zip_get_error(mArchive))) };
    // An empty part is still a part: not null.
    QByteArray bytes("", 0);
    if (stat.valid & ZIP_STAT_SIZE)
        bytes.reserve(qsizetype(stat.size));
    // Read in pieces: the size the archive states is not trusted beyond the bound.
    char buffer[1 << 16];
    for (;;) {
        const zip_int64_t n = zip_fread(file.get(), buffer, sizeof buffer);
        if (n < 0)
            throw SheetError { error(name, zipReason(zip_file_get_error(file.get()))) };
        if (n == 0)
            break;
        if (bytes.size() + n > kMaxPartBytes)
            throw SheetError { error(name, tooLarge) };
        bytes.append(buffer, qsizetype(n));
    }
    return bytes;
}

QString ZipPackage::error(const QString& part, const QString& reason) const
{
    return SheetError::unreadable(mPath, part + QStringLiteral("：") + reason).message;
}

} // namespace pennock::core
