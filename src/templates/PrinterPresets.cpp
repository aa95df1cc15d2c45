#include "templates/PrinterPresets.h"

#include "format/TextUtils.h"
#include "settings/IniFile.h"
#include "store/Database.h"
#include "templates/Seed.h"

#include <QFile>

namespace pennock::core {

namespace {

const QString kListSection = QStringLiteral("PrinterWeKnow");
const QString kPresetSection = QStringLiteral("printerweknow");
const QString kUseSection = QStringLiteral("printeruse");
const QString kPrinters = QStringLiteral("printers");

QString presetKey(const QString& model, const char* field)
{
    return QStringLiteral("default.") + model + QLatin1Char('.') + QLatin1String(field);
}

QString useKey(const QString& model, const char* field)
{
    return model + QLatin1Char('.') + QLatin1String(field);
}

} // namespace

QStringList presetModels(const IniFile& ini)
{
    if (!ini.hasKey(kListSection, kPrinters))
        return { QStringLiteral("没有预选打印机配置") };
    QStringList models;
    const QString list = ini.readString(kListSection, kPrinters);
    for (const QString& model : SplitText(list, QStringLiteral(",")))
        if (!model.trimmed().isEmpty()) // a trailing comma is no model
            models << model;
    return models;
}

PrinterPreset readPreset(const IniFile& ini, const QString& model)
{
    return { model, ini.readString(kPresetSection, presetKey(model, "x")),
        ini.readString(kPresetSection, presetKey(model, "y")),
        ini.readString(kPresetSection, presetKey(model, "board")),
        ini.readString(kPresetSection, presetKey(model, "d")),
        ini.readString(kPresetSection, presetKey(model, "img")) };
}

PrinterUse readPrinterUse(const IniFile& ini)
{
    const QString model = ini.readString(kUseSection, kPrinters);
    if (model.isEmpty())
        return {};
    return { model, ini.readString(kUseSection, useKey(model, "PrinterName")),
        ini.readString(kUseSection, useKey(model, "x")),
        ini.readString(kUseSection, useKey(model, "y")),
        ini.readString(kUseSection, useKey(model, "d")),
        ini.readString(kUseSection, useKey(model, "board")) };
}

bool writePrinterUse(IniFile& ini, const PrinterUse& use)
{
    ini.writeString(kUseSection, kPrinters, use.model);
    ini.writeString(kUseSection, useKey(use.model, "PrinterName"), use.printerName);
    ini.writeString(kUseSection, useKey(use.model, "x"), use.x);
    ini.writeString(kUseSection, useKey(use.model, "y"), use.y);
    ini.writeString(kUseSection, useKey(use.model, "d"), use.direction);
    ini.writeString(kUseSection, useKey(use.model, "board"), use.board);
    return ini.flush();
}

QList<PrinterPreset> shippedPrinterPresets()
{
    QFile file(QStringLiteral(":/data/reference/printers.tsv"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<PrinterPreset> presets;
    for (const auto& row : readTsv(file.readAll(), QStringLiteral("printers.tsv")))
        presets.append({ row.value(QStringLiteral("model")), row.value(QStringLiteral("x")),
            row.value(QStringLiteral("y")), row.value(QStringLiteral("board")),
            row.value(QStringLiteral("d")), row.value(QStringLiteral("img")) });
    return presets;
}

bool installPrinterPresets(IniFile& ini)
{
    if (ini.hasKey(kListSection, kPrinters))
        return false;
    const QList<PrinterPreset> presets = shippedPrinterPresets();
    if (presets.isEmpty())
        return false;
    QStringList models;
    for (const PrinterPreset& p : presets) {
        models << p.model;
        ini.writeString(kPresetSection, presetKey(p.model, "x"), p.x);
        ini.writeString(kPresetSection, presetKey(p.model, "y"), p.y);
        ini.writeString(kPresetSection, presetKey(p.model, "board"), p.board);
        ini.writeString(kPresetSection, presetKey(p.model, "d"), p.direction);
        ini.writeString(kPresetSection, presetKey(p.model, "img"), p.image);
    }
    ini.writeString(kListSection, kPrinters, models.join(QLatin1Char(',')));
    return ini.flush();
}

QString orientationOfDirection(const QString& direction)
{
    if (direction == u"横向")
        return QStringLiteral("1");
    if (direction == u"纵向")
        return QStringLiteral("0");
    return {};
}

int applyPrinterParamsToAllTemplates(Database& db, int xMove, int yMove, const QString& hv)
{
    try {
        return db.execute(QStringLiteral("update CKTypeTable set XMove=?, YMove=?, HVPrint=?"),
            { xMove, yMove, hv });
    } catch (const DbError&) {
        return -1;
    }
}

} // namespace pennock::core
