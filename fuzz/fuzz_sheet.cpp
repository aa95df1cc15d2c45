// Spreadsheets of every format the import reads; the first byte chooses the file name's ending.
#include "FuzzSupport.h"
#include "import/SheetReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    using namespace pennock::core;
    pennock::fuzz::ensureApplication();
    static const char* const endings[] = { ".xlsx", ".ods", ".xls", ".csv" };
    const QString path
        = pennock::fuzz::writeInput(data + 1, size - 1, QString::fromLatin1(endings[data[0] % 4]));
    try {
        const SheetBook book = SheetBook::open(path);
        for (int sheet = 0; sheet < book.sheetNames().size(); ++sheet)
            (void)book.rows(sheet);
    } catch (const SheetError&) {
    }
    return 0;
}
