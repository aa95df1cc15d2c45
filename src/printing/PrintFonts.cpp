#include "printing/PrintFonts.h"

#include <QFont>

namespace pennock::core {

namespace {

const QString kSerif = QStringLiteral("Noto Serif CJK SC");
const QString kSans = QStringLiteral("Noto Sans CJK SC");

} // namespace

const QList<std::pair<QString, QString>>& printFontSubstitutions()
{
    static const QList<std::pair<QString, QString>> table = [] {
        QList<std::pair<QString, QString>> t;
        // Song, Fang Song, Kai and the clerical hand have serifs and brush strokes.
        for (const char* face : { "宋体", "SimSun", "新宋体", "NSimSun", "宋体-PUA", "仿宋",
                 "FangSong", "仿宋_GB2312", "FangSong_GB2312", "楷体", "KaiTi", "楷体_GB2312",
                 "KaiTi_GB2312", "华文宋体", "STSong", "华文中宋", "STZhongsong", "华文仿宋",
                 "STFangsong", "华文楷体", "STKaiti", "隶书", "LiSu", "华文隶书", "STLiti",
                 "新细明体", "PMingLiU", "细明体", "MingLiU" })
            t.append({ QString::fromUtf8(face), kSerif });
        // Hei and YaHei are plain strokes.
        for (const char* face : { "黑体", "SimHei", "微软雅黑", "Microsoft YaHei",
                 "Microsoft YaHei UI", "华文黑体", "STHeiti", "华文细黑", "STXihei", "幼圆",
                 "YouYuan", "等线", "DengXian", "微软正黑体", "Microsoft JhengHei" })
            t.append({ QString::fromUtf8(face), kSans });
        return t;
    }();
    return table;
}

void installPrintFontSubstitutions()
{
    for (const auto& [face, family] : printFontSubstitutions())
        if (!QFont::substitutes(face).contains(family, Qt::CaseInsensitive))
            QFont::insertSubstitution(face, family);
}

} // namespace pennock::core
