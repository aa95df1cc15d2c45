#include "store/Schema.h"

#include "store/Database.h"

#include <QCoreApplication>
#include <QSqlRecord>

namespace pennock::core {

namespace {

// Text compares without regard to letter case, as the bill kinds, item names and
// party names have always been looked up.
const QString kText = QStringLiteral("TEXT COLLATE NOCASE");

QString typeFor(const QString& code)
{
    if (code == u"key")
        return QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT");
    if (code == u"id")
        return QStringLiteral("INTEGER PRIMARY KEY");
    if (code == u"int")
        return QStringLiteral("INTEGER");
    if (code == u"int0")
        return QStringLiteral("INTEGER DEFAULT 0");
    if (code == u"date")
        return QStringLiteral("DATETIME");
    if (code == u"blob")
        return QStringLiteral("BLOB");
    return kText;
}

// "name:type name2 ..." with text as the default type; "name1..5" expands to name1 … name5.
QList<ColumnDef> columns(const QString& columnList)
{
    QList<ColumnDef> out;
    for (const QString& token : columnList.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const qsizetype colon = token.indexOf(QLatin1Char(':'));
        QString name = colon < 0 ? token : token.left(colon);
        const QString type = typeFor(colon < 0 ? QString() : token.mid(colon + 1));
        const qsizetype range = name.indexOf(QStringLiteral(".."));
        if (range > 0) {
            qsizetype digitsAt = range;
            while (digitsAt > 0 && name[digitsAt - 1].isDigit())
                --digitsAt;
            const QString stem = name.left(digitsAt);
            const int from = name.mid(digitsAt, range - digitsAt).toInt();
            const int to = name.mid(range + 2).toInt();
            for (int n = from; n <= to; ++n)
                out.append({ stem + QString::number(n), type });
        } else {
            out.append({ name, type });
        }
    }
    return out;
}

QList<ColumnDef> cdhpColumns()
{
    return columns(QStringLiteral(
        "流水号:key 模板种类 其他选项 票据编号 票据状态 备注 币种 金额 出票日期:date 承兑协议号 "
        "汇票到期日 收款人全称 收款人开户行 收款人账号 出票人全称 出票人账号 付款行名称 付款行行号 "
        "付款行地址 自定义1..5"));
}

QList<ColumnDef> transferColumns()
{
    return columns(QStringLiteral(
        "流水号:key 模板种类 其他选项 票据编号 票据状态 备注 币种 金额 出票日期:date 用途 "
        "收款人全称 "
        "收款人开户行 收款人账号 收款人省 收款人市县 出票人全称 出票人账号 出票人开户行 出票人省 "
        "出票人市县 自定义1..5"));
}

QList<ColumnDef> lineItemColumns(int lines)
{
    const QString n = QStringLiteral("1..%1").arg(lines);
    return columns(
        QStringLiteral("流水号:key 模板种类 其他选项 票据编号 票据状态 币种 合计金额 备注 "
                       "票据代码 顾客名称 顾客税号 开票人 收款人 出票日期:date "
                       "收费内容%1 货号%1 规格%1 单位%1 数量%1 单价%1 金额%1 自定义1..10")
            .arg(n));
}

QList<ColumnDef> exportInvoiceColumns()
{
    QString columnList = QStringLiteral(
        "流水号:key 模板种类 其他选项 发票代码 票据编号 发票编号 票据状态 出票日期:date 购方单位 "
        "购方地址 购方电话 币种 金额合计 当期汇率 离岸价合计 开票人 合同号码 贸易方式 收汇方式 "
        "信用证号 "
        "运输方式 启运港 转运港 目的港 销方单位 销方地址 销方电话 购方账号 购方开户行 销方账号 "
        "销方开户行");
    for (int line = 1; line <= 7; ++line)
        columnList
            += QStringLiteral(" 订单号码%1 商品名称%1 单位%1 数量%1 单价%1 销售额%1 离岸价%1")
                   .arg(line);
    columnList += QStringLiteral(" 自定义1..3 备注 勾选项");
    return columns(columnList);
}

const QString kWaybillFees = QStringLiteral(
    "体积 手续费 保价金额 保价费 运费 加急费 包装费 送货费 其他费 金额大写1 代收金额");

QList<TableDef> buildMainTables()
{
    QList<TableDef> t;
    // Template pictures on an office server, so every clerk's Image/ folder can be filled from
    // it; the embedded file keeps them in Image/ only and leaves this table empty.
    t.append({ QStringLiteral("TemplatePicture"), columns(QStringLiteral("FileName Picture:blob")),
        { QStringLiteral("CREATE UNIQUE INDEX IF NOT EXISTS TemplatePicture_name ON "
                         "TemplatePicture(FileName)") } });
    // What a user filled into a saved bill that no column of the kind's table holds, by the
    // bill's table and serial.
    t.append({ QStringLiteral("BillItemValue"),
        columns(QStringLiteral("ID:key BillTable Serial:int CtlName Value")),
        { QStringLiteral("CREATE UNIQUE INDEX IF NOT EXISTS BillItemValue_item ON "
                         "BillItemValue(BillTable, Serial, CtlName)") } });
    t.append({ QStringLiteral("configtable"), columns(QStringLiteral("cname cvalue")),
        { QStringLiteral("CREATE INDEX IF NOT EXISTS configtable_cname ON configtable(cname)") } });
    t.append({ QStringLiteral("CKTypeTable"),
        columns(QStringLiteral(
            "CheckTypeID:id TypeFirstName TypeDescribe TypeName IsDefault IsCommon Visiable "
            "ImgFile Twidth:int0 Theight:int0 PWidth:int0 PHeight:int0 XMove:int0 YMove:int0 "
            "HVPrint CheckBoxs ShowOrd:int0 PreImgURL IniFile")),
        {} });
    t.append({ QStringLiteral("CKControl"),
        columns(QStringLiteral(
            "ID:key CheckTypeID:int CtlName CtlCName CtlType CtlX:int0 CtlY:int0 CtlW:int0 "
            "CtlH:int0 CtlLH:int0 SrcX:int0 SrcY:int0 SrcW:int0 SrcH:int0 NeedShow:int0 "
            "NeedPrint:int0 CtlFontName CtlFontSize:int0 BreakFontSize:int0 ctlFontColor "
            "Bold:int0 Italic:int0 UnderLine:int0 FitParam BreakNum ShowOrd:int0 InitValue")),
        { QStringLiteral("CREATE INDEX IF NOT EXISTS CKControl_type ON CKControl(CheckTypeID, "
                         "CtlName)") } });
    t.append({ QStringLiteral("NameDict"),
        columns(QStringLiteral("ID:key CheckTypeName CtlName CtlLabel CtlData CtlType "
                               "PrintItem:int0 ShowOrd:int0 Groups")),
        { QStringLiteral(
            "CREATE INDEX IF NOT EXISTS NameDict_kind ON NameDict(CheckTypeName)") } });
    t.append({ QStringLiteral("DMTable"),
        columns(QStringLiteral("ID:key DMName DMValue CheckTypeID:int0")),
        { QStringLiteral("CREATE INDEX IF NOT EXISTS DMTable_name ON DMTable(DMName, "
                         "CheckTypeID)") } });
    t.append({ QStringLiteral("DMTable2"), columns(QStringLiteral("ID:key 类型 一级代码 二级代码")),
        {} });
    t.append({ QStringLiteral("coins"), columns(QStringLiteral("币种 缩写 顺序:int0")), {} });
    t.append({ QStringLiteral("CKPersonalInfoTable"),
        columns(QStringLiteral("ID:key 全称 助记码 联系人 开户银行 开户行账号 开户行地址 "
                               "开户行行号 识别号 省 市 镇区 地址 电话 手机 邮编 国家 分组 "
                               "单位类型 扩展信息 自定义1..3 排序:int0")),
        { QStringLiteral("CREATE INDEX IF NOT EXISTS CKPersonalInfoTable_name ON "
                         "CKPersonalInfoTable(全称)") } });
    t.append({ QStringLiteral("ClassPerson"), columns(QStringLiteral("Id:key FullPathName")), {} });
    t.append({ QStringLiteral("MatchColumn"),
        columns(QStringLiteral("Id:key MatchType ItemName SourceName ShowOrd:int0")), {} });
    t.append({ QStringLiteral("DataZPTable"),
        columns(QStringLiteral("流水号:key 模板种类 其他选项 票据编号 票据状态 备注 币种 金额 "
                               "出票日期:date 收款人全称 出票人全称 出票人账号 付款行名称 "
                               "支付密码 用途 自定义1..5")),
        {} });
    t.append({ QStringLiteral("DataJZDTable"),
        columns(QStringLiteral("流水号:key 模板种类 其他选项 票据编号 票据状态 备注 币种 金额 "
                               "出票日期:date 收款人全称 收款人开户行 收款人账号 出票人全称 "
                               "出票人账号 付款行名称 票据张数 票据种类 票据号码 自定义1..5")),
        {} });
    t.append({ QStringLiteral("DataDHDTable"), transferColumns(), {} });
    t.append({ QStringLiteral("DataDEFTable"), transferColumns(), {} });
    t.append({ QStringLiteral("DataJKDTable"),
        columns(QStringLiteral("流水号:key 模板种类 其他选项 票据编号 票据状态 备注 币种 金额 "
                               "出票日期:date 用途 收款人联系人 收款人全称 收款人开户行 "
                               "收款人账号 出票人全称 自定义1..5")),
        {} });
    t.append({ QStringLiteral("DataCDHPTable"), cdhpColumns(), {} });
    t.append({ QStringLiteral("MultiPrintCDHP"), cdhpColumns(), {} });
    t.append({ QStringLiteral("DataJWHTable"),
        columns(QStringLiteral("流水号:key 模板种类 其他选项 票据编号 票据状态 备注 币种 金额 "
                               "出票日期:date 收款人全称 收款人开户行 收款人账号 出票人全称 "
                               "自定义1..5")),
        {} });
    t.append({ QStringLiteral("DataKDDTable"),
        columns(QStringLiteral("流水号:key 寄件单位 寄件地址 寄件国家 始发站 寄件省 寄件市县 "
                               "寄件镇区 寄件联系人 寄件电话 寄方手机 寄方邮编 寄件日期:date "
                               "寄件时间 收件单位 收件地址 目的站 收件国家 收件省 收件市县 "
                               "收件联系人 收件电话 收方手机 收方邮编 收件镇区 物品内容 件数 重量 "
                               "总费用 模板种类 快递帐号 其他选项 快递单号 备注 ")
            + kWaybillFees + QStringLiteral(" 自定义1..5")),
        {} });
    t.append({ QStringLiteral("ReceiverList"),
        columns(QStringLiteral("ID:key 全称 国家 省 市 镇区 地址 邮编 联系人 电话 手机 批打分组 "
                               "目的站 内件说明 重量 件数 费用 备注 ")
            + kWaybillFees + QStringLiteral(" 自定义3..5")),
        {} });
    t.append({ QStringLiteral("DataCheckReceipt"), lineItemColumns(5), {} });
    t.append({ QStringLiteral("DataCheckIntel"), lineItemColumns(6), {} });
    t.append({ QStringLiteral("DataCKSPTable"), exportInvoiceColumns(), {} });
    // History windows search the bill tables by date and by number.
    for (TableDef& table : t) {
        if (!table.name.startsWith(QStringLiteral("Data"))
            && !table.name.startsWith(QStringLiteral("MultiPrint")))
            continue;
        for (const ColumnDef& c : std::as_const(table.columns))
            if (c.name == u"出票日期" || c.name == u"寄件日期" || c.name == u"票据编号"
                || c.name == u"快递单号")
                table.indexSql << QStringLiteral(
                    "CREATE INDEX IF NOT EXISTS \"%1_%2\" ON \"%1\"(\"%2\")")
                                      .arg(table.name, c.name);
    }
    return t;
}

QList<TableDef> buildPackageTables()
{
    QList<TableDef> t;
    t.append({ QStringLiteral("_CKTypeTable"),
        columns(QStringLiteral(
            "CheckTypeID:int TypeFirstName TypeDescribe TypeName IsDefault IsCommon Visiable "
            "ImgFile Twidth:int0 Theight:int0 PWidth:int0 PHeight:int0 XMove:int0 YMove:int0 "
            "HVPrint CheckBoxs ShowOrd:int0 PreImgURL IniFile Img_Bytes:blob Ini_Text")),
        {} });
    t.append({ QStringLiteral("_CKControl"),
        columns(QStringLiteral(
            "CheckTypeID:int CtlName CtlCName CtlType CtlX:int0 CtlY:int0 CtlH:int0 CtlW:int0 "
            "CtlLH:int0 SrcX:int0 SrcY:int0 SrcH:int0 SrcW:int0 NeedPrint:int0 NeedShow:int0 "
            "CtlFontName CtlFontSize:int0 BreakFontSize:int0 Bold:int0 Italic:int0 "
            "UnderLine:int0 FitParam BreakNum ShowOrd:int0 InitValue ctlFontColor")),
        {} });
    t.append({ QStringLiteral("_Config"),
        columns(QStringLiteral("Id:key DMName DMValue CheckTypeId:int")), {} });
    return t;
}

} // namespace

const QList<TableDef>& mainTables()
{
    static const QList<TableDef> tables = buildMainTables();
    return tables;
}

const QList<TableDef>& packageTables()
{
    static const QList<TableDef> tables = buildPackageTables();
    return tables;
}

const TableDef* findTable(const QList<TableDef>& tables, const QString& name)
{
    for (const TableDef& table : tables)
        if (table.name.compare(name, Qt::CaseInsensitive) == 0)
            return &table;
    return nullptr;
}

void ensureSchema(Database& db, const QList<TableDef>& tables)
{
    Transaction tx(db);
    ensureSchemaWithin(db, tables);
    tx.commit();
}

void ensureSchemaWithin(Database& db, const QList<TableDef>& tables)
{
    const SqlDialect& dialect = db.dialect();
    const auto name = [&](const QString& identifier) {
        return Database::quoted(dialect.createdName(identifier));
    };
    for (const TableDef& table : tables) {
        if (!db.tableExists(table.name)) {
            QStringList defs;
            for (const ColumnDef& c : table.columns)
                defs << name(c.name) + QLatin1Char(' ') + dialect.columnType(c.sqlType);
            db.execute(QStringLiteral("CREATE TABLE %1 (%2)")
                           .arg(name(table.name), defs.join(QStringLiteral(", "))));
        } else {
            // Read once a table: every program start goes through here.
            const QSqlRecord columns = db.connection().record(dialect.createdName(table.name));
            for (const ColumnDef& c : table.columns) {
                if (columns.indexOf(dialect.createdName(c.name)) >= 0)
                    continue;
                // A key cannot be added to an existing table; an older file keeps its own.
                const QString type = c.sqlType.contains(QStringLiteral("PRIMARY KEY"))
                    ? QStringLiteral("INTEGER")
                    : dialect.columnType(c.sqlType);
                db.execute(QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 %3")
                               .arg(name(table.name), name(c.name), type));
            }
        }
        for (const QString& index : table.indexSql)
            db.execute(index);
    }
}

QString schemaVersionText() { return QStringLiteral(PENNOCK_VERSION); }

} // namespace pennock::core
