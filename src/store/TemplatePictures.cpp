#include "store/TemplatePictures.h"

#include "store/Database.h"
#include "store/ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <QSqlQuery>

namespace pennock::core::TemplatePictures {

namespace {

bool onServer(const Database& db) { return db.engine() == Engine::Postgres; }

// The picture file of a name, matched case-insensitively as the program folder is.
QString localFile(const ProgramFolder& folder, const QString& name)
{
    return folder.path(QStringLiteral("Image/") + name);
}

} // namespace

void store(Database& db, const QString& fileName, const QByteArray& bytes)
{
    if (!onServer(db) || fileName.isEmpty())
        return;
    db.execute(QStringLiteral("delete from TemplatePicture where FileName=?"), { fileName });
    db.execute(QStringLiteral("insert into TemplatePicture (FileName, Picture) values (?, ?)"),
        { fileName, bytes });
}

int sync(Database& db, const ProgramFolder& folder)
{
    if (!onServer(db))
        return 0;
    struct Stored
    {
        QString name;
        qint64 size;
    };
    QHash<QString, Stored> stored; // by lower-case name
    {
        QSqlQuery q
            = db.exec(QStringLiteral("select FileName, length(Picture) from TemplatePicture"));
        while (q.next())
            stored.insert(q.value(0).toString().toLower(),
                { q.value(0).toString(), q.value(1).toLongLong() });
    }
    QSqlQuery used = db.exec(QStringLiteral("select distinct ImgFile from CKTypeTable where "
                                            "ImgFile is not null and ImgFile<>''"));
    QStringList toSend;
    while (used.next()) {
        const QString name = used.value(0).toString();
        if (!stored.contains(name.toLower()) && QFileInfo::exists(localFile(folder, name)))
            toSend << name;
    }
    used.finish();
    if (!toSend.isEmpty()) {
        Transaction tx(db);
        for (const QString& name : std::as_const(toSend)) {
            QFile file(localFile(folder, name));
            if (!file.open(QIODevice::ReadOnly))
                continue;
            const QByteArray bytes = file.readAll();
            store(db, name, bytes);
            stored.insert(name.toLower(), { name, bytes.size() });
        }
        tx.commit();
    }

    // Only what is missing or differs travels: a start reads names and sizes, not pictures.
    int written = 0;
    QDir().mkpath(folder.imageFolder());
    QStringList toFetch;
    for (const Stored& picture : std::as_const(stored)) {
        const QFileInfo local(localFile(folder, picture.name));
        if (!local.exists() || local.size() != picture.size)
            toFetch << picture.name;
    }
    for (const QString& name : std::as_const(toFetch)) {
        const QByteArray bytes
            = db.scalar(QStringLiteral("select Picture from TemplatePicture where FileName=?"),
                    { name })
                  .toByteArray();
        QSaveFile out(localFile(folder, name));
        if (out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size() && out.commit())
            ++written;
    }
    return written;
}

} // namespace pennock::core::TemplatePictures
