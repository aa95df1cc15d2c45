#include "templates/TemplateManagerStore.h"

#include "store/Database.h"
#include "store/ProgramFolder.h"
#include "templates/TemplateLookups.h"

#include <QFile>
#include <QSqlQuery>

namespace pennock::core {

QStringList TemplateManagerStore::kinds()
{
    QStringList out;
    QSqlQuery q = mDb.exec(QStringLiteral("select distinct CheckTypeName from NameDict order by "
                                          "CheckTypeName"));
    while (q.next())
        out << q.value(0).toString();
    return out;
}

QList<TemplateRow> TemplateManagerStore::list(
    TemplateTab tab, const QString& kind, const QString& search)
{
    QString sql = QStringLiteral("select CheckTypeID, TypeName, IsDefault, IsCommon, Visiable, "
                                 "TypeFirstName, ImgFile from CKTypeTable where ");
    switch (tab) {
    case TemplateTab::Available:
        sql += QStringLiteral("Visiable='启用'");
        break;
    case TemplateTab::Common:
        sql += QStringLiteral("Visiable='启用' and IsCommon='是'");
        break;
    case TemplateTab::Default:
        sql += QStringLiteral("Visiable='启用' and IsDefault='默认'");
        break;
    case TemplateTab::Hidden:
        sql += QStringLiteral("(Visiable<>'启用' or Visiable is null)");
        break;
    }
    QVariantList values;
    if (!kind.isEmpty()) {
        sql += QStringLiteral(" and TypeName like ? escape '\\'");
        QString prefix = Database::containsPattern(kind);
        values << prefix.chopped(1).mid(1) + QLatin1Char('%');
    }
    if (!search.isEmpty()) {
        sql += QStringLiteral(" and TypeName like ? escape '\\'");
        values << Database::containsPattern(search.toUpper());
    }
    QSqlQuery q = mDb.exec(sql + QStringLiteral(" order by TypeName"), values);
    QList<TemplateRow> rows;
    while (q.next())
        rows << TemplateRow { q.value(0).toInt(), q.value(1).toString(), q.value(2).toString(),
            q.value(3).toString(), q.value(4).toString(), q.value(5).toString(),
            q.value(6).toString() };
    return rows;
}

void TemplateManagerStore::setDefault(int id, const QString& kind)
{
    Transaction tx(mDb);
    mDb.execute(QStringLiteral("update CKTypeTable set IsDefault='0' where TypeFirstName=? and "
                               "IsDefault='默认'"),
        { kind });
    mDb.execute(QStringLiteral("update CKTypeTable set IsDefault='默认', Visiable='启用', "
                               "IsCommon='是' where CheckTypeID=?"),
        { id });
    tx.commit();
}

void TemplateManagerStore::setCommon(int id, bool common)
{
    mDb.execute(QStringLiteral("update CKTypeTable set Visiable='启用', IsCommon=? where "
                               "CheckTypeID=?"),
        { common ? QStringLiteral("是") : QStringLiteral("否"), id });
}

void TemplateManagerStore::setEnabled(int id, bool enabled)
{
    mDb.execute(QStringLiteral("update CKTypeTable set Visiable=? where CheckTypeID=?"),
        { enabled ? QStringLiteral("启用") : QStringLiteral("停用隐藏"), id });
}

void TemplateManagerStore::deleteTemplate(int id)
{
    const QString picture
        = mDb.scalar(QStringLiteral("select ImgFile from CKTypeTable where CheckTypeID=?"), { id })
              .toString();
    {
        Transaction tx(mDb);
        mDb.execute(QStringLiteral("delete from CKControl where CheckTypeID=?"), { id });
        mDb.execute(QStringLiteral("delete from CKTypeTable where CheckTypeID=?"), { id });
        // Shared dictionary entries (identity 0) are no template's own.
        if (id > 0)
            mDb.execute(QStringLiteral("delete from DMTable where CheckTypeID=?"), { id });
        tx.commit();
    }
    QFile::remove(
        mFolder.checkIniFolder() + QLatin1Char('/') + QString::number(id) + QStringLiteral(".ini"));
    // Seeded templates of one form share a picture; it goes with the last of them.
    if (!picture.isEmpty() && !picture.startsWith(QStringLiteral("sys_"), Qt::CaseInsensitive)
        && mDb.scalar(QStringLiteral("select count(*) from CKTypeTable where "
                                     "lower(ImgFile)=lower(?)"),
                  { picture })
                .toInt()
            == 0)
        QFile::remove(mFolder.path(QStringLiteral("Image/") + picture));
}

bool TemplateManagerStore::rename(int id, const QString& kind, const QString& variant)
{
    if (mDb.scalar(QStringLiteral("select count(*) from CKTypeTable where TypeFirstName=? and "
                                  "TypeDescribe=? and CheckTypeID<>?"),
               { kind, variant, id })
            .toInt()
        > 0)
        return false;
    mDb.execute(QStringLiteral("update CKTypeTable set TypeDescribe=?, TypeFirstName=?, "
                               "TypeName=? where CheckTypeID=?"),
        { variant, kind, TemplateLookups::fullName(kind, variant), id });
    return true;
}

} // namespace pennock::core
