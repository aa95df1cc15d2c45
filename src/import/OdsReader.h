#pragma once

#include "import/CellText.h"

#include <QList>

namespace pennock::core {

class ZipPackage;

/// The sheets of an OpenDocument spreadsheet as cell texts.
///
/// Read from content.xml directly: the ods filter of liborcus 0.17 leaves out truth values,
/// percentages, currencies, texts of formulas, all but the last paragraph of a cell, spaces and
/// line breaks inside a paragraph, and repeated rows.
class OdsReader
{
public:
    /// Throws SheetError when the package holds no spreadsheet or its content is not well formed.
    static QList<SheetRows> read(const ZipPackage& package);
};

} // namespace pennock::core
