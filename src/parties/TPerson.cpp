#include "parties/TPerson.h"

#include <array>

namespace pennock::core {

namespace {

using Field = QString TPerson::*;

struct Column
{
    const char16_t* name;
    Field field;
};

const std::array<Column, 22> kColumns = { {
    { u"全称", &TPerson::全称 },
    { u"识别号", &TPerson::识别号 },
    { u"助记码", &TPerson::助记码 },
    { u"联系人", &TPerson::联系人 },
    { u"开户银行", &TPerson::开户银行 },
    { u"开户行账号", &TPerson::开户行账号 },
    { u"开户行地址", &TPerson::开户行地址 },
    { u"开户行行号", &TPerson::开户行行号 },
    { u"电话", &TPerson::电话 },
    { u"手机", &TPerson::手机 },
    { u"邮编", &TPerson::邮编 },
    { u"国家", &TPerson::国家 },
    { u"地址", &TPerson::地址 },
    { u"省", &TPerson::省 },
    { u"市", &TPerson::市 },
    { u"镇区", &TPerson::镇区 },
    { u"分组", &TPerson::分组 },
    { u"单位类型", &TPerson::单位类型 },
    { u"自定义1", &TPerson::自定义1 },
    { u"自定义2", &TPerson::自定义2 },
    { u"自定义3", &TPerson::自定义3 },
    { u"扩展信息", &TPerson::扩展信息 },
} };

Field fieldOf(QStringView column)
{
    for (const Column& c : kColumns)
        if (column == QStringView(c.name))
            return c.field;
    return nullptr;
}

} // namespace

const QStringList& TPerson::columns()
{
    static const QStringList names = [] {
        QStringList out;
        for (const Column& c : kColumns)
            out << QString::fromUtf16(c.name);
        return out;
    }();
    return names;
}

QString TPerson::value(QStringView column) const
{
    const Field field = fieldOf(column);
    return field ? this->*field : QString();
}

void TPerson::setValue(QStringView column, const QString& text)
{
    if (const Field field = fieldOf(column))
        this->*field = text;
}

} // namespace pennock::core
