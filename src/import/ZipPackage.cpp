#include "import/ZipPackage.h"

#include "import/SheetReader.h"

#include <orcus/zip_archive.hpp>
#include <orcus/zip_archive_stream.hpp>

#include <exception>
#include <string_view>
#include <vector>

namespace pennock::core {

ZipPackage::ZipPackage(const QByteArray& bytes, const QString& path)
    : mBytes(bytes)
    , mPath(path)
{
    try {
        mStream = std::make_unique<orcus::zip_archive_stream_blob>(
            reinterpret_cast<const uint8_t*>(mBytes.constData()), std::size_t(mBytes.size()));
        mArchive = std::make_unique<orcus::zip_archive>(mStream.get());
        mArchive->load();
        for (std::size_t i = 0; i < mArchive->get_file_entry_count(); ++i) {
            const std::string_view name = mArchive->get_file_entry_name(i);
            mNames.insert(QString::fromUtf8(name.data(), qsizetype(name.size())));
        }
    } catch (const std::exception& e) {
        throw SheetError::unreadable(path, QString::fromLocal8Bit(e.what()));
    }
}

ZipPackage::~ZipPackage() = default;

QByteArray ZipPackage::part(const QString& name) const
{
    if (!mNames.contains(name))
        return {};
    const QByteArray entry = name.toUtf8();
    std::vector<unsigned char> buffer;
    try {
        if (!mArchive->read_file_entry(
                std::string_view(entry.constData(), std::size_t(entry.size())), buffer))
            throw SheetError { error(name, QStringLiteral("无法解压")) };
    } catch (const std::exception& e) {
        throw SheetError { error(name, QString::fromLocal8Bit(e.what())) };
    }
    // liborcus ends each part with a NUL of its own. An empty part is still a part: not null.
    if (!buffer.empty() && buffer.back() == 0)
        buffer.pop_back();
    return buffer.empty()
        ? QByteArray("", 0)
        : QByteArray(reinterpret_cast<const char*>(buffer.data()), qsizetype(buffer.size()));
}

QString ZipPackage::error(const QString& part, const QString& reason) const
{
    return SheetError::unreadable(mPath, part + QStringLiteral("：") + reason).message;
}

} // namespace pennock::core
