#pragma once

#include <QString>

namespace pennock::core {

/// The installation folder and the files in it. Names inside are matched without regard to
/// letter case and with either slash: "Image\Sys_boot.jpg" and "image/sys_boot.jpg" are one file.
class ProgramFolder
{
public:
    explicit ProgramFolder(QString root);

    /// PENNOCK_HOME when set, else the folder of the running executable when it is writable,
    /// else "pennock" in the user's data folder.
    static QString locate();

    const QString& root() const noexcept { return mRoot; }
    /// The existing file or folder that `relative` names; where a part does not exist yet,
    /// the path as given from that part on.
    QString path(const QString& relative) const;

    QString databasePath() const { return path(QStringLiteral("Data/EPData.ini")); }
    QString blankPackagePath() const { return path(QStringLiteral("Data/Template.a01")); }
    QString imageFolder() const { return path(QStringLiteral("Image")); }
    QString checkIniFolder() const { return path(QStringLiteral("Temp/CheckIni")); }
    QString configIniPath() const { return path(QStringLiteral("Config.ini")); }
    QString debugIniPath() const { return path(QStringLiteral("Debug.ini")); }

private:
    QString mRoot;
};

} // namespace pennock::core
