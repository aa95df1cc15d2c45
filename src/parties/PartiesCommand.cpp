#include "parties/PartiesCommand.h"

#include "parties/DAOPerson.h"
#include "parties/PersonSearch.h"
#include "parties/SpreadsheetExport.h"
#include "platform/Prompter.h"
#include "printing/Services.h"
#include "store/CliArgs.h"
#include "store/ProgramFolder.h"

#include <QSqlQueryModel>

namespace pennock::core {

QString runParties(const QStringList& args)
{
    const QString home = cliHome(args);
    const QString type = cliOption(args, QStringLiteral("--type"));
    const QString search = cliOption(args, QStringLiteral("--search"));
    const QString xlsx = cliOption(args, QStringLiteral("--xlsx"));
    if (!type.isEmpty() && type != DAOPerson::kOwnCompany && type != DAOPerson::kCounterparty)
        throw CliError { QStringLiteral("parties: --type must be %1 or %2")
                             .arg(DAOPerson::kOwnCompany, DAOPerson::kCounterparty) };
    requireInstallation(home);

    ConsolePrompter prompter;
    Services services(home, prompter);
    PersonSearch query;
    query.keyword = search;
    query.type = type;
    QSqlQueryModel model;
    try {
        PersonSearch::runInto(
            services.db(), model, query.listsAll() ? query.allStatement() : query.prepare());
    } catch (const DbError& e) {
        throw CliError { e.message() };
    }

    if (!xlsx.isEmpty()) {
        if (model.rowCount() == 0)
            return QStringLiteral("没有可导出的数据~\n");
        try {
            SpreadsheetExport::writeXlsx(xlsx, QStringLiteral("单位信息导出"), model);
        } catch (const ExportError& e) {
            throw CliError { e.message() };
        }
        return QStringLiteral("%1 parties written to %2\n").arg(model.rowCount()).arg(xlsx);
    }

    QString out;
    QStringList titles;
    for (int c = 0; c < model.columnCount(); ++c)
        titles << SpreadsheetExport::fieldName(model, c);
    out += titles.join(QLatin1Char('\t')) + QLatin1Char('\n');
    for (int r = 0; r < model.rowCount(); ++r) {
        QStringList fields;
        for (int c = 0; c < model.columnCount(); ++c)
            fields << SpreadsheetExport::lineField(model.index(r, c).data());
        out += fields.join(QLatin1Char('\t')) + QLatin1Char('\n');
    }
    return out;
}

} // namespace pennock::core
