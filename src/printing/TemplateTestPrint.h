#pragma once

#include "printing/PrintEngine.h"

#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>

namespace pennock::core {

class Database;

/// The sample values of a template's printable items (catalogue items of its kind with
/// `PrintItem` 1 and a layout on the template), in `ShowOrd` order: `CtlData`, or `CtlLabel`
/// when that is empty. Throws DbError.
QList<PrintValue> loadSampleValues(Database& db, int templateId);

/// The template's paper in 0.1 mm; 2300 by 1270 when unset. Throws DbError.
QSize templatePaperSize(Database& db, int templateId);

/// How a test print went.
struct TestPrintResult
{
    bool printed = false; ///< a document reached its destination
    int items = 0; ///< values handed to the item loop
    QStringList failed; ///< items that reported a print error
    QString error; ///< why nothing was printed
};

/// Prints a template's sample values as a bill of it is printed: preparation (offset and, when
/// `turnPaper`, orientation), a job of `copies`, the item loop, the job's end. What a user
/// prints to calibrate a new printer. A PDF of the bill paper itself is not turned.
TestPrintResult printTemplateSample(
    PrintEngine& engine, Database& db, int templateId, int copies, bool turnPaper);

} // namespace pennock::core
