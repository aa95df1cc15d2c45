#pragma once

#include <QString>
#include <QStringList>

namespace pennock::core {

/// One party: a company or person with one bank account, as stored in `CKPersonalInfoTable`.
/// The fields carry the column names so that bill forms and the table speak the same words.
struct TPerson
{
    int ID = 0; ///< 0 or less: not stored yet
    QString 全称;
    QString 识别号;
    QString 助记码;
    QString 联系人;
    QString 开户银行;
    QString 开户行账号;
    QString 开户行地址;
    QString 开户行行号;
    QString 电话;
    QString 手机;
    QString 邮编;
    QString 国家;
    QString 地址;
    QString 省;
    QString 市;
    QString 镇区;
    QString 分组;
    QString 单位类型;
    QString 自定义1;
    QString 自定义2;
    QString 自定义3;
    QString 扩展信息;

    /// The 22 text columns in record order.
    static const QStringList& columns();
    /// The field of a column (exact name); empty for a column the record does not carry.
    QString value(QStringView column) const;
    /// Sets the field of a column; a column the record does not carry is ignored.
    void setValue(QStringView column, const QString& text);

    bool operator==(const TPerson&) const = default;
};

} // namespace pennock::core
