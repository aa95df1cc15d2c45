#include "templates/PackageCommand.h"

#include "store/CliArgs.h"
#include "store/Database.h"
#include "store/ProgramFolder.h"
#include "templates/Package.h"

#include <memory>

namespace pennock::core {

namespace {

CliError failure(const QString& text) { return CliError { QStringLiteral("package: ") + text }; }

// Arguments that are neither an option nor an option's value.
QStringList positional(const QStringList& args, qsizetype from)
{
    static const QStringList withValue
        = { QStringLiteral("--home"), QStringLiteral("--templates") };
    QStringList out;
    for (qsizetype i = from; i < args.size(); ++i) {
        if (withValue.contains(args[i])) {
            ++i;
            continue;
        }
        if (args[i] == u"--replace")
            continue;
        if (args[i].startsWith(QStringLiteral("--")))
            throw failure(QStringLiteral("unknown option %1").arg(args[i]));
        out << args[i];
    }
    return out;
}

QString paperText(int tenthMm)
{
    return QString::number(tenthMm / 10.0, 'f', tenthMm % 10 == 0 ? 0 : 1);
}

ProgramFolder installation(const QStringList& args)
{
    const QString home = cliHome(args);
    requireInstallation(home);
    return ProgramFolder(home);
}

QString exportCommand(const QStringList& args)
{
    const ProgramFolder folder = installation(args);
    const QString list = cliOption(args, QStringLiteral("--templates"));
    const QStringList files = positional(args, 2);
    if (args.contains(QStringLiteral("--replace")))
        throw failure(QStringLiteral("export takes no --replace"));
    if (list.isEmpty())
        throw failure(QStringLiteral("--templates ID[,ID...] is required"));
    if (files.size() != 1)
        throw failure(QStringLiteral("export needs one OUT.tpk"));
    if (!files[0].contains(QStringLiteral(".tpk"), Qt::CaseInsensitive))
        throw failure(QStringLiteral("not a package name (.tpk): %1").arg(files[0]));
    QList<int> ids;
    const std::unique_ptr<Database> opened = openMainDatabase(folder);
    Database& db = *opened;
    for (const QString& text : list.split(QLatin1Char(','))) {
        bool ok = false;
        const int id = text.trimmed().toInt(&ok);
        if (!ok || id <= 0)
            throw failure(QStringLiteral("not a template identity: %1").arg(text));
        if (db.scalar(
                  QStringLiteral("select count(*) from CKTypeTable where CheckTypeID=?"), { id })
                .toInt()
            == 0)
            throw failure(QStringLiteral("no template %1").arg(id));
        if (!ids.contains(id))
            ids << id;
    }
    QString out;
    for (const QString& message : exportPackage(db, folder, ids, files[0]))
        out += message + QLatin1Char('\n');
    return out + QStringLiteral("exported %1 template(s) to %2\n").arg(ids.size()).arg(files[0]);
}

QString listCommand(const QStringList& args)
{
    const QStringList files = positional(args, 2);
    if (files.size() != 1)
        throw failure(QStringLiteral("list needs one FILE.tpk"));
    PackageFile package(files[0]);
    QString out;
    for (const PackageEntry& e : package.entries())
        out += QStringList { QString::number(e.packageId), e.fullName, e.kind,
            e.paperWidth > 0 && e.paperHeight > 0
                ? paperText(e.paperWidth) + QLatin1Char('x') + paperText(e.paperHeight)
                : QStringLiteral("-") }
                   .join(QLatin1Char('\t'))
            + QLatin1Char('\n');
    return out;
}

QString importCommand(const QStringList& args)
{
    const ProgramFolder folder = installation(args);
    const QStringList files = positional(args, 2);
    const bool replace = args.contains(QStringLiteral("--replace"));
    if (files.size() != 1)
        throw failure(QStringLiteral("import needs one FILE.tpk"));
    if (!isPackageName(files[0]))
        throw failure(QStringLiteral("not a package name (.tpk or .pnk): %1").arg(files[0]));
    QStringList names;
    const QString list = cliOption(args, QStringLiteral("--templates"));
    for (const QString& name : list.split(QLatin1Char(','), Qt::SkipEmptyParts))
        if (!names.contains(name.trimmed()))
            names << name.trimmed();
    const std::unique_ptr<Database> opened = openMainDatabase(folder);
    Database& db = *opened;
    QList<ImportOutcome> outcomes;
    try {
        outcomes = importPackage(db, folder, files[0], names, replace);
    } catch (const PackageError& e) {
        if (!replace && e.message().startsWith(QStringLiteral("已有同名模板")))
            throw failure(e.message() + QStringLiteral("（--replace 替换）"));
        throw;
    }
    QString out;
    int imported = 0;
    for (const ImportOutcome& o : std::as_const(outcomes)) {
        if (o.failure.isEmpty()) {
            ++imported;
            out += QStringLiteral("%1\t%2\t%3\n")
                       .arg(o.replaced ? QStringLiteral("replaced") : QStringLiteral("imported"),
                           o.fullName)
                       .arg(o.templateId);
        } else {
            out += QStringLiteral("failed\t%1\t%2\n").arg(o.fullName, o.failure);
        }
    }
    if (imported == 0)
        throw failure(importSummary(outcomes) + QLatin1Char(' ')
            + QStringList(out.trimmed().split(QLatin1Char('\n'))).join(QStringLiteral("; ")));
    return out + importSummary(outcomes) + QLatin1Char('\n');
}

} // namespace

QString runPackage(const QStringList& args)
{
    const QString sub = args.value(1);
    try {
        if (sub == u"export")
            return exportCommand(args);
        if (sub == u"list")
            return listCommand(args);
        if (sub == u"import")
            return importCommand(args);
    } catch (const PackageError& e) {
        throw CliError { e.message() };
    } catch (const DbError& e) {
        throw CliError { e.message() };
    }
    throw failure(QStringLiteral("expects export, list or import"));
}

} // namespace pennock::core
