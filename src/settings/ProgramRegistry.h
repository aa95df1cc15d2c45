#pragma once

#include <QString>

namespace pennock::core {

/// The program's entry in the user's registry: "RunPath", "Version" and "FullPath", kept in a
/// small settings file of the user's config folder.
class ProgramRegistry
{
public:
    explicit ProgramRegistry(QString filePath);

    /// "registry.ini" in the user's config folder of this program.
    static QString defaultPath();

    const QString& filePath() const noexcept { return mFilePath; }
    /// The stored value; "空" when there is none.
    QString readValue(const QString& name) const;
    /// Stores and writes through at once; false when the file cannot be written.
    bool writeValue(const QString& name, const QString& value);

private:
    QString mFilePath;
};

} // namespace pennock::core
