// Spreadsheets of every format the import reads; the first byte chooses the file name's ending.
#include "FuzzSupport.h"
#include "import/SheetReader.h"

#include <csignal>
#include <pthread.h>
#include <sanitizer/common_interface_defs.h>

namespace {

// An .xls file is read in a child process so that libfreexl's faults cost only that process. The
// child must die of them as the program's would, not report them as this fuzzer's crash.
void childDiesQuietly()
{
    __sanitizer_set_death_callback(nullptr);
    for (const int s : { SIGABRT, SIGSEGV, SIGBUS, SIGILL, SIGFPE })
        std::signal(s, SIG_DFL);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    using namespace pennock::core;
    pennock::fuzz::ensureApplication();
    static const int quietChildren = pthread_atfork(nullptr, nullptr, childDiesQuietly);
    (void)quietChildren;
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
