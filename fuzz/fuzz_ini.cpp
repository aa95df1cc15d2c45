// Settings files as any editor or a broken disk may leave them: read, queried, written back.
#include "FuzzSupport.h"
#include "settings/IniFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace pennock::core;
    const QString path = pennock::fuzz::writeInput(data, size, QStringLiteral(".ini"));
    IniFile ini(path);
    for (const char* section : { "Config", "PrinterCalibration", "Database", "" }) {
        const QStringList keys = ini.keys(QString::fromLatin1(section));
        for (const QString& key : keys) {
            (void)ini.readString(QString::fromLatin1(section), key);
            (void)ini.readInteger(QString::fromLatin1(section), key, 0);
        }
    }
    (void)ini.hasKey(QStringLiteral("Config"), QStringLiteral("DefaultPrinter"));
    ini.writeString(QStringLiteral("Config"), QStringLiteral("Fuzz"), QStringLiteral("1"));
    (void)ini.flush();
    return 0;
}
