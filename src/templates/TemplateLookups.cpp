#include "templates/TemplateLookups.h"

#include "platform/Prompter.h"
#include "store/Database.h"
#include "store/Schema.h"

#include <QHash>
#include <QRegularExpression>
#include <QSqlQuery>

namespace pennock::core {

QStringList TemplateLookups::column(const QString& sql, const QVariantList& values)
{
    QStringList out;
    QSqlQuery q = mDb.exec(sql, values);
    while (q.next())
        out << q.value(0).toString();
    return out;
}

int TemplateLookups::loadDefaultCheckTypeId(const QString& kind)
{
    const QVariant id = mDb.scalar(QStringLiteral("select CheckTypeID from CKTypeTable where "
                                                  "IsDefault='默认' and TypeFirstName=? "
                                                  "order by CheckTypeID"),
        { kind });
    if (id.isValid())
        return id.toInt();
    mPrompter.inform(QStringLiteral("没有设定默认的") + kind
        + QStringLiteral(",请到【系统管理】-【模板管理】，设定!"));
    const QVariant enabled = mDb.scalar(QStringLiteral("select CheckTypeID from CKTypeTable where "
                                                       "Visiable='启用' and TypeFirstName=? "
                                                       "order by CheckTypeID"),
        { kind });
    if (enabled.isValid())
        return enabled.toInt();
    mPrompter.inform(QStringLiteral("没有找到任何启用的【") + kind + QStringLiteral("】模板！"));
    return -1;
}

int TemplateLookups::loadCheckTypeIDByFirstAndLastName(const QString& kind, const QString& variant)
{
    QVariant id
        = mDb.scalar(QStringLiteral("select CheckTypeID from CKTypeTable where "
                                    "TypeFirstName=? and TypeDescribe=? order by CheckTypeID"),
            { kind, variant });
    if (!id.isValid())
        id = mDb.scalar(QStringLiteral("select CheckTypeID from CKTypeTable where TypeName=? "
                                       "order by CheckTypeID"),
            { fullName(kind, variant) });
    return id.isValid() ? id.toInt() : 0;
}

QString TemplateLookups::loadCheckTypeIDByTypeFullName(const QString& name)
{
    const QVariant id = mDb.scalar(QStringLiteral("select CheckTypeID from CKTypeTable where "
                                                  "TypeName=? order by CheckTypeID"),
        { name });
    return id.isValid() ? id.toString() : QStringLiteral("0");
}

QString TemplateLookups::loadCheckTypeFullNameByID(int templateId)
{
    return mDb
        .scalar(
            QStringLiteral("select TypeName from CKTypeTable where CheckTypeID=?"), { templateId })
        .toString();
}

QString TemplateLookups::loadCheckTypeFirstNameByID(int templateId)
{
    return core::loadCheckTypeFirstNameByID(mDb, templateId);
}

QString TemplateLookups::loadCheckTypeLastNameByID(int templateId)
{
    return mDb
        .scalar(QStringLiteral("select TypeDescribe from CKTypeTable where CheckTypeID=?"),
            { templateId })
        .toString();
}

QString TemplateLookups::loadDefaultTypeFirstName()
{
    return mDb.scalar(QStringLiteral("select CheckTypeName from NameDict order by ID limit 1"))
        .toString();
}

QStringList TemplateLookups::loadCheckTypeFirstNameList()
{
    return column(QStringLiteral("select distinct CheckTypeName from NameDict order by "
                                 "CheckTypeName"));
}

QStringList TemplateLookups::loadCommonTypeLastNameList(const QString& kind)
{
    // Templates whose kind column was never filled must not pass for the kind "".
    if (kind.isEmpty())
        return {};
    QStringList out;
    try {
        // Grouped rather than distinct: the server orders only by what a distinct list shows.
        QSqlQuery q = mDb.exec(QStringLiteral("select TypeDescribe, IsDefault from CKTypeTable "
                                              "where Visiable='启用' and IsCommon='是' and "
                                              "TypeFirstName=? group by TypeDescribe, IsDefault "
                                              "order by min(CheckTypeID)"),
            { kind });
        while (q.next()) {
            if (q.value(1).toString() == u"默认")
                out.prepend(q.value(0).toString());
            else
                out.append(q.value(0).toString());
        }
    } catch (const DbError& e) {
        if (!e.message().contains(QStringLiteral("IsCommon"), Qt::CaseInsensitive))
            throw;
        mPrompter.warn(QStringLiteral("请尝试重新启动软件！"));
        return {};
    }
    return out;
}

QStringList TemplateLookups::loadCheckTypeLastNameList(const QString& kind)
{
    if (kind.isEmpty()) {
        mPrompter.warn(QStringLiteral("没有指定单据类型，无法调入确定的模板种类！"));
        return {};
    }
    return column(QStringLiteral("select TypeDescribe from CKTypeTable where Visiable='启用' and "
                                 "TypeFirstName=? order by TypeDescribe"),
        { kind });
}

QStringList TemplateLookups::loadCheckTypeFullNameList(const QString& kind)
{
    if (kind.isEmpty())
        return column(QStringLiteral("select TypeName from CKTypeTable where Visiable='启用' "
                                     "order by TypeName"));
    return column(QStringLiteral("select TypeName from CKTypeTable where Visiable='启用' and "
                                 "TypeFirstName=? order by TypeName"),
        { kind });
}

bool TemplateLookups::CheckTypeExists(const QString& kind, const QString& variant)
{
    try {
        return mDb
            .scalar(QStringLiteral("select 1 from CKTypeTable where TypeFirstName=? and "
                                   "TypeDescribe=?"),
                { kind, variant })
            .isValid();
    } catch (const DbError& e) {
        throw DbError(QStringLiteral("CheckTypeExists:") + e.message(), e.sql());
    }
}

bool TemplateLookups::loadUserXYMoveByFirstName(const QString& kind, int& x, int& y)
{
    try {
        QSqlQuery q = mDb.exec(QStringLiteral("select XMove, YMove from CKTypeTable where "
                                              "TypeFirstName=? order by IsCommon, IsDefault"),
            { kind });
        if (!q.next())
            return false;
        x = q.value(0).toInt();
        y = q.value(1).toInt();
        return true;
    } catch (const DbError& e) {
        throw DbError(QStringLiteral("用户常用单据偏移参数获取失败!:") + e.message(), e.sql());
    }
}

QStringList TemplateLookups::loadCheckNOList(
    const QString& table, const QString& state, const QString& columnName)
{
    // Both names come from the bill kinds' own tables; anything else is refused outright.
    const TableDef* def = findTable(mainTables(), table);
    const bool known
        = def && std::any_of(def->columns.begin(), def->columns.end(), [&](const ColumnDef& c) {
              return c.name.compare(columnName, Qt::CaseInsensitive) == 0;
          });
    if (!known)
        throw DbError(QStringLiteral("unknown table or column: %1.%2").arg(table, columnName), {});
    QString sql = QStringLiteral("select distinct %1 from %2")
                      .arg(Database::quoted(columnName), Database::quoted(table));
    if (state.isEmpty())
        return column(sql);
    return column(sql + QStringLiteral(" where 票据状态=?"), { state });
}

QString TemplateLookups::getTypeCodeByTypeName(const QString& kind)
{
    static const QHash<QString, QString> codes = {
        { QStringLiteral("电汇单"), QStringLiteral("dhd") },
        { QStringLiteral("支票"), QStringLiteral("zp") },
        { QStringLiteral("进账单"), QStringLiteral("jzd") },
        { QStringLiteral("汇票申请书"), QStringLiteral("hp") },
        { QStringLiteral("承兑汇票"), QStringLiteral("cdhp") },
        { QStringLiteral("缴款单"), QStringLiteral("jkd") },
        { QStringLiteral("境外汇款申请书"), QStringLiteral("jwh") },
        { QStringLiteral("贷记凭证"), QStringLiteral("djpz") },
        { QStringLiteral("快递单"), QStringLiteral("kdd") },
        { QStringLiteral("海关缴款单"), QStringLiteral("hgjkd") },
        { QStringLiteral("海关载货单"), QStringLiteral("hgzhd") },
        { QStringLiteral("普通发票收据"), QStringLiteral("fpiv") },
        { QStringLiteral("发票及收据"), QStringLiteral("fpiv") },
        { QStringLiteral("货运发票"), QStringLiteral("hyfp") },
        { QStringLiteral("出口商品发票"), QStringLiteral("cksp") },
        { QStringLiteral("国际货运发票"), QStringLiteral("ivIntel") },
        { QStringLiteral("定制单"), QStringLiteral("def") },
    };
    return codes.value(kind);
}

QString TemplateLookups::fullName(const QString& kind, const QString& variant)
{
    return kind + QStringLiteral("（") + variant + QStringLiteral("）");
}

QString TemplateLookups::cleanVariantName(const QString& variant)
{
    static const QRegularExpression unwanted(QStringLiteral("[()（）'%*?\\s]"));
    QString out = variant;
    return out.remove(unwanted);
}

} // namespace pennock::core
