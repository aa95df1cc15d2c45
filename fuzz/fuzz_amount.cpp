// Amount texts as a user may type or paste them, through every conversion to figures and capitals.
#include "FuzzSupport.h"
#include "format/Capitals.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    using namespace pennock::core;
    const int cells = data[0] % 16;
    const QString text
        = QString::fromUtf8(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    const QString normal = NormalizeAmountText(text);
    (void)AmountToCapitals(text);
    (void)AmountToCapitals(normal);
    for (const char* mode : { "0.00", "", "¥" })
        (void)AmountToDigitCapitals(normal, cells, QString::fromUtf8(mode));
    (void)DateNumberToCapitals(text);
    if (const auto amount = ParseAmount(text)) {
        (void)FormatMoney(*amount, true);
        (void)AmountToCapitals(*amount);
    }
    return 0;
}
