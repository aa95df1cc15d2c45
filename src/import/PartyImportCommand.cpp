#include "import/PartyImportCommand.h"

#include "import/PartyImport.h"
#include "import/SheetReader.h"
#include "platform/Prompter.h"
#include "printing/Services.h"
#include "store/CliArgs.h"
#include "store/Database.h"
#include "store/Installation.h"
#include "templates/Seed.h"

#include <QFileInfo>

namespace pennock::core {

namespace {

const QString kCommand = QStringLiteral("import-parties");

CliError failure(const QString& text)
{
    return CliError { kCommand + QStringLiteral(": ") + text };
}

// Messages become lines of the output; no one is there to answer, so questions get No.
class LinePrompter final : public Prompter
{
public:
    void inform(const QString& text, const QString& = {}) override { lines << text; }
    void warn(const QString& text, const QString& = {}) override { lines << text; }
    bool ask(const QString& text, const QString& = {}) override
    {
        lines << text;
        return false;
    }
    QStringList lines;
};

// Options that take a value, so that FILE is the one argument left over.
const QStringList kValued = { QStringLiteral("--home"), QStringLiteral("--sheet"),
    QStringLiteral("--scene"), QStringLiteral("--map") };

QString fileArgument(const QStringList& args)
{
    QStringList files;
    for (qsizetype i = 1; i < args.size(); ++i) {
        if (kValued.contains(args[i])) {
            ++i;
            continue;
        }
        if (args[i].startsWith(QStringLiteral("--")))
            throw failure(QStringLiteral("unknown option %1").arg(args[i]));
        files << args[i];
    }
    if (files.size() != 1)
        throw failure(QStringLiteral("expects one FILE, got %1").arg(files.size()));
    return files.first();
}

QStringList maps(const QStringList& args)
{
    QStringList out;
    for (qsizetype i = 1; i < args.size(); ++i)
        if (args[i] == u"--map") {
            if (i + 1 >= args.size() || !args[i + 1].contains(QLatin1Char('=')))
                throw failure(QStringLiteral("--map needs ITEM=COLUMN_TITLE"));
            out << args[++i];
        }
    return out;
}

int sheetIndex(const SheetBook& book, const QString& sheet)
{
    const int index = book.sheetIndex(sheet);
    if (index < 0)
        throw failure(QStringLiteral("no sheet %1 (sheets: %2)")
                          .arg(sheet, book.sheetNames().join(QStringLiteral(", "))));
    return index;
}

const ImportScene& scene(const QString& name)
{
    for (const ImportScene& s : importScenes())
        if (name.isEmpty() || s.caption == name)
            return s;
    QStringList known;
    for (const ImportScene& s : importScenes())
        known << s.caption;
    throw failure(
        QStringLiteral("no scene %1 (scenes: %2)").arg(name, known.join(QStringLiteral(", "))));
}

} // namespace

QString runImportParties(const QStringList& args)
{
    const QString home = cliHome(args);
    const QString path = fileArgument(args);
    const QString sheet = cliOption(args, QStringLiteral("--sheet"));
    const ImportScene& chosen = scene(cliOption(args, QStringLiteral("--scene")));
    const QStringList assignments = maps(args);

    QList<QStringList> rows;
    QString source;
    try {
        const SheetBook book = SheetBook::open(path);
        rows = book.rows(sheetIndex(book, sheet));
        source = QFileInfo(path).absoluteFilePath();
    } catch (const SheetError& e) {
        throw failure(e.message);
    }

    try {
        ensureSeededInstallation(ProgramFolder(home));
    } catch (const InstallError& e) {
        throw failure(e.message());
    }
    LinePrompter prompter;
    Services services(home, prompter);
    try {
        ensureMatchColumn(services.db());
        const QList<SheetTitle> titles = sheetTitles(rows);
        ImportColumns columns;
        columns.items = autoMatch(titles, loadImportRules(services.db(), chosen.matchType));
        // The type column is taken only when asked for: the window starts with "固定" ticked.
        columns.items[kTypeItem] = -1;
        ImportOptions options;
        for (const QString& assignment : assignments) {
            const QString item = assignment.section(QLatin1Char('='), 0, 0).trimmed();
            const QString title = assignment.section(QLatin1Char('='), 1).trimmed();
            const int index = importItemIndex(item);
            if (index < 0)
                throw failure(QStringLiteral("no import item %1").arg(item));
            int column = -1;
            for (const SheetTitle& t : titles)
                if (t.title == title || t.entry() == title)
                    column = t.column;
            if (column < 0 && !title.isEmpty())
                throw failure(QStringLiteral("no column titled %1").arg(title));
            columns.items[index] = column;
            if (index == kTypeItem)
                options.fixedType = column < 0;
        }

        QString out;
        const QList<ImportItem>& items = importItems();
        for (int i = 0; i < items.size(); ++i) {
            QString shown = QStringLiteral("-");
            for (const SheetTitle& t : titles)
                if (t.column == columns.items[i])
                    shown = t.entry();
            if (i == kTypeItem && options.fixedType)
                shown = QStringLiteral("固定:") + options.type;
            out += items[i].item + QLatin1Char('\t') + shown + QLatin1Char('\n');
        }
        PartyImport run(
            services.db(), prompter, services.folder().path(PartyImport::logFileName()));
        const ImportSummary summary = run.run(source, rows, columns, options);
        if (!summary.started)
            throw failure(prompter.lines.join(QStringLiteral("; ")));
        for (const QString& message : std::as_const(prompter.lines))
            out += message + QLatin1Char('\n');
        out += QStringLiteral("imported %1, skipped empty %2, skipped duplicate %3, errors %4\n")
                   .arg(summary.imported)
                   .arg(summary.empty)
                   .arg(summary.duplicate)
                   .arg(summary.errors);
        return out;
    } catch (const DbError& e) {
        throw failure(e.message());
    }
}

} // namespace pennock::core
