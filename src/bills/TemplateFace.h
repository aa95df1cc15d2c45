#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace pennock::core {

class Database;

/// What a bill form shows of a template: the picture area in screen pixels, the picture file
/// and the labels of the user check boxes.
struct TemplateFace
{
    int width = 0; ///< `Twidth`, pixels
    int height = 0; ///< `Theight`, pixels
    QString imageFile;
    QString checkBoxes;

    /// The face of a template; none when it has no row. Throws DbError.
    static std::optional<TemplateFace> load(Database& db, int templateId);
};

/// A catalogue item that takes part in printing.
struct PrintItemDef
{
    QString name; ///< `CtlName`
    QString type; ///< `CtlType` in upper case, "TEXT" when empty
};

/// The printable items of a kind (`PrintItem` 1) in `ShowOrd` order. Throws DbError.
QList<PrintItemDef> loadPrintItems(Database& db, const QString& kind);

} // namespace pennock::core
