#include "settings/ProgramRegistry.h"

#include "settings/IniFile.h"

#include <QStandardPaths>

namespace pennock::core {

namespace {
const QString kKey = QStringLiteral("Software\\Pennock\\Orvane\\PNKSUITE");
} // namespace

ProgramRegistry::ProgramRegistry(QString filePath)
    : mFilePath(std::move(filePath))
{
}

QString ProgramRegistry::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)
        + QStringLiteral("/registry.ini");
}

QString ProgramRegistry::readValue(const QString& name) const
{
    return IniFile(mFilePath).readString(kKey, name, QStringLiteral("空"));
}

bool ProgramRegistry::writeValue(const QString& name, const QString& value)
{
    IniFile ini(mFilePath);
    if (!ini.errorString().isEmpty())
        return false;
    ini.writeString(kKey, name, value);
    return ini.flush();
}

} // namespace pennock::core
