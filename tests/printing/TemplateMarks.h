#pragma once

#include <QList>
#include <QString>

namespace pennock::core {
class Database;
}

namespace pennock::test {

/// Where one item of a test print must land: its sample text and paper position (0.1 mm,
/// without the template's offset).
struct ItemMark
{
    QString token; ///< what pdftotext finds: the text, or the first character of cells
    bool cells = false;
    int x = 0;
    int y = 0;
    int pointSize = 0;
};

/// Gives every printable item of a waybill template a sample text of its own and returns the
/// marks. Letters name the items: Qt maps digits that follow letters, and a print queue's
/// conversion maps lone Chinese characters, to glyphs pdftotext cannot name. Cells spread each
/// character; their first one, in lower case, names the item. Pictures are skipped.
QList<ItemMark> markWaybillItems(core::Database& db, int templateId);

} // namespace pennock::test
