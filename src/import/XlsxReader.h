#pragma once

#include "import/CellText.h"

#include <QList>

namespace pennock::core {

class ZipPackage;

/// The sheets of an xlsx workbook as cell texts.
///
/// Read from the package's parts directly: the xlsx filter of liborcus 0.17 leaves out strings
/// stored in their cells (as streaming writers store them), sheets named from the package
/// root ("/xl/worksheets/sheet1.xml") and the 1904 date system.
class XlsxReader
{
public:
    /// Throws SheetError when the package holds no workbook or a part is not well formed.
    static QList<SheetRows> read(const ZipPackage& package);
};

} // namespace pennock::core
