#include "store/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace pennock::core {

ProgramFolder::ProgramFolder(QString root)
    : mRoot(QDir::cleanPath(QDir(root).absolutePath()))
{
}

QString ProgramFolder::locate()
{
    const QString home = qEnvironmentVariable("PENNOCK_HOME");
    if (!home.isEmpty())
        return home;
    const QString own = QCoreApplication::applicationDirPath();
    if (QFileInfo(own).isWritable())
        return own;
    // An installed program (/usr/bin) keeps its data in the user's data folder; the window and
    // the command line share it.
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
        + QStringLiteral("/pennock");
}

QString ProgramFolder::path(const QString& relative) const
{
    QString current = mRoot;
    QString rel = relative;
    rel.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const QStringList parts = rel.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString& part = parts[i];
        QString exact = current + QLatin1Char('/') + part;
        if (!QFileInfo::exists(exact)) {
            const QStringList entries = QDir(current).entryList(
                QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
            auto found = std::find_if(entries.begin(), entries.end(),
                [&](const QString& e) { return e.compare(part, Qt::CaseInsensitive) == 0; });
            if (found == entries.end()) {
                // Nothing matches: the rest is a path still to be created.
                return current + QLatin1Char('/') + parts.mid(i).join(QLatin1Char('/'));
            }
            exact = current + QLatin1Char('/') + *found;
        }
        current = exact;
    }
    return current;
}

} // namespace pennock::core
