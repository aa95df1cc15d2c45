#pragma once

#include <QString>
#include <QStringList>

namespace pennock::core {

class Database;
class IniFile;

/// A known printer model in "Config.ini": recommended offsets (0.1 mm), feed direction
/// ("纵向" or "横向"), where the paper guide goes, and a picture relative to the program folder.
struct PrinterPreset
{
    QString model;
    QString x;
    QString y;
    QString board;
    QString direction;
    QString image;
};

/// What the user applied last: the model name, the printer it was applied for, the offsets,
/// the direction and the paper guide.
struct PrinterUse
{
    QString model;
    QString printerName;
    QString x;
    QString y;
    QString direction;
    QString board;
};

/// The preset models of "PrinterWeKnow"/"printers"; "没有预选打印机配置" alone when the key is
/// missing.
QStringList presetModels(const IniFile& ini);
/// One preset's values from "printerweknow"; empty fields for an unknown model.
PrinterPreset readPreset(const IniFile& ini, const QString& model);
/// The "printeruse" keys; an empty model when none was applied.
PrinterUse readPrinterUse(const IniFile& ini);
/// Writes the "printeruse" keys and flushes the file; false when it cannot be written.
bool writePrinterUse(IniFile& ini, const PrinterUse& use);

/// The presets the program ships, for common bill printers.
QList<PrinterPreset> shippedPrinterPresets();
/// Writes the shipped presets into "Config.ini" when it has no preset list yet; true when it
/// wrote them. Meant for a new installation: a list the user removed stays removed only while
/// this is not called again.
bool installPrinterPresets(IniFile& ini);

/// The orientation text of a direction: "1" for "横向", "0" for "纵向", empty otherwise.
QString orientationOfDirection(const QString& direction);
/// Gives every template, hidden ones included, the offsets and orientation at once. Returns the
/// number of templates changed; -1 on a database error.
int applyPrinterParamsToAllTemplates(Database& db, int xMove, int yMove, const QString& hv);

} // namespace pennock::core
