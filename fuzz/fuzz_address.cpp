// Recipient texts pasted from chats and shops, split into name, phones and address parts.
#include "FuzzSupport.h"
#include "parties/AddressSplit.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace pennock::core;
    static const AddressSplitter splitter = AddressSplitter::fromSeed();
    (void)splitter.split(QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size)));
    return 0;
}
