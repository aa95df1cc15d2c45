#pragma once

#include <QString>
#include <QStringList>

#include <memory>

namespace pennock::core {

/// An INI file with the habits of Windows profiles: sections and keys without regard to letter
/// case, values trimmed, UTF-8 text. Changes stay in memory until flush(), which replaces the
/// file atomically.
class IniFile
{
public:
    explicit IniFile(QString path);
    ~IniFile();
    IniFile(const IniFile&) = delete;
    IniFile& operator=(const IniFile&) = delete;

    const QString& path() const noexcept { return mPath; }
    /// Why the file could not be read or written; empty when all went well.
    const QString& errorString() const noexcept { return mError; }

    QString readString(const QString& section, const QString& key, const QString& def = {}) const;
    int readInteger(const QString& section, const QString& key, int def) const;
    bool hasKey(const QString& section, const QString& key) const;
    QStringList keys(const QString& section) const;

    void writeString(const QString& section, const QString& key, const QString& value);
    void eraseSection(const QString& section);

    /// Writes pending changes; false (and errorString) when the file cannot be written.
    bool flush();

private:
    struct Impl;
    std::unique_ptr<Impl> mImpl;
    QString mPath;
    QString mError;
    bool mDirty = false;
};

} // namespace pennock::core
