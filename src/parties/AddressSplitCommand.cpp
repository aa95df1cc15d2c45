#include "parties/AddressSplitCommand.h"

#include "parties/AddressSplit.h"
#include "platform/Prompter.h"
#include "printing/Services.h"
#include "store/CliArgs.h"
#include "store/ProgramFolder.h"

namespace pennock::core {

QString runSplitAddress(const QStringList& args)
{
    const QString home = cliOption(args, QStringLiteral("--home"));
    QStringList rest = args;
    if (!home.isEmpty())
        rest.remove(rest.indexOf(QStringLiteral("--home")), 2);
    if (rest.size() != 2)
        throw CliError { QStringLiteral("split-address: expects TEXT [--home DIR]") };

    SplitAddress parts;
    if (home.isEmpty()) {
        parts = AddressSplitter::fromSeed().split(rest[1]);
    } else {
        requireInstallation(home);
        ConsolePrompter prompter;
        Services services(home, prompter);
        try {
            parts = AddressSplitter::fromDatabase(services.db()).split(rest[1]);
        } catch (const DbError& e) {
            throw CliError { e.message() };
        }
    }
    const std::pair<const char*, const QString&> lines[] = { { "name", parts.name },
        { "mobile", parts.mobile }, { "phone", parts.phone }, { "province", parts.province },
        { "city", parts.city }, { "district", parts.district }, { "address", parts.address },
        { "postcode", parts.postcode } };
    QString out;
    for (const auto& [key, value] : lines)
        out += QString::fromLatin1(key) + u'=' + value + u'\n';
    return out;
}

} // namespace pennock::core
