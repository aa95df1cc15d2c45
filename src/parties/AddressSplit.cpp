#include "parties/AddressSplit.h"

#include "store/Database.h"
#include "templates/Seed.h"

#include <QRegularExpression>
#include <QSet>
#include <QSqlQuery>

#include <algorithm>

namespace pennock::core {

namespace {

// Stands where a number was taken out, so that a label before the number ("电话：") does not
// claim the text after it.
constexpr QChar kBreak = u'\x01';

const QString kProvinceCity = QStringLiteral("省市");
const QString kCityCounty = QStringLiteral("区县");

bool isHan(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 0x4E00 && u <= 0x9FFF) || (u >= 0x3400 && u <= 0x4DBF)
        || (u >= 0xF900 && u <= 0xFAFF);
}

bool isLetter(QChar c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

bool isSeparator(QChar c)
{
    return c.isSpace() || c == u',' || c == u'、' || c == u';' || c == u'。' || c == u'|'
        || c == kBreak;
}

qsizetype skipSeparators(QStringView s, qsizetype pos)
{
    while (pos < s.size() && isSeparator(s[pos]))
        ++pos;
    return pos;
}

QStringView trimmedSeparators(QStringView s)
{
    qsizetype from = skipSeparators(s, 0);
    qsizetype to = s.size();
    while (to > from && isSeparator(s[to - 1]))
        --to;
    return s.mid(from, to - from);
}

// Full-width letters, digits and marks as their ASCII twins, the ideographic blank as a blank,
// the dots people put in transliterated names as one dot; control characters as blanks.
QString normalised(const QString& text)
{
    QString s = text;
    for (QChar& c : s) {
        const char16_t u = c.unicode();
        if (u >= 0xFF01 && u <= 0xFF5E)
            c = QChar(char16_t(u - 0xFEE0));
        else if (u == 0x3000 || u == 0x00A0 || (u < 0x20 && u != u'\n' && u != u'\t'))
            c = u' ';
        else if (u == 0x2022 || u == 0x30FB || u == 0x2027 || u == 0xFF65 || u == 0x2219)
            c = u'·';
    }
    return s;
}

// Ethnic names that autonomous regions, prefectures and counties carry after their place name:
// "延边朝鲜族自治州" is written "延边".
const QStringList& ethnicNames()
{
    static const QStringList names = [] {
        QStringList list = QStringLiteral(
            "蒙古 回 藏 维吾尔 苗 彝 壮 布依 朝鲜 满 侗 瑶 白 土家 哈尼 哈萨克 傣 黎 傈僳 佤 畲 "
            "高山 拉祜 水 东乡 纳西 景颇 柯尔克孜 土 达斡尔 仫佬 羌 布朗 撒拉 毛南 仡佬 锡伯 "
            "阿昌 普米 塔吉克 怒 乌孜别克 俄罗斯 鄂温克 德昂 保安 裕固 京 塔塔尔 独龙 鄂伦春 "
            "赫哲 门巴 珞巴 基诺 各")
                               .split(u' ');
        // Longest first, so that "土家" goes before "土".
        std::stable_sort(list.begin(), list.end(),
            [](const QString& a, const QString& b) { return a.size() > b.size(); });
        return list;
    }();
    return names;
}

QString withoutEthnicNames(QString base)
{
    for (bool stripped = true; stripped;) {
        stripped = false;
        for (const QString& e : ethnicNames()) {
            // A one-character name stands only with "族": "回" alone may be part of a place.
            const QString withZu = e + u'族';
            qsizetype cut = 0;
            if (base.endsWith(withZu))
                cut = withZu.size();
            else if (e.size() > 1 && base.endsWith(e))
                cut = e.size();
            if (cut > 0 && base.size() - cut >= 2) {
                base.chop(cut);
                stripped = true;
                break;
            }
        }
    }
    return base;
}

// How people shorten a region's name: "浙江省" "浙江", "恩施土家族苗族自治州" "恩施" and "恩施州",
// "浦东新区" "浦东". A short form of one character says too little and is not made.
QStringList shortForms(const QString& name, bool province)
{
    static const QStringList provinceEnds = { QStringLiteral("特别行政区"),
        QStringLiteral("自治区"), QStringLiteral("省"), QStringLiteral("市") };
    static const QStringList placeEnds = { QStringLiteral("自治州"), QStringLiteral("自治县"),
        QStringLiteral("自治旗"), QStringLiteral("地区"), QStringLiteral("新区"),
        QStringLiteral("林区"), QStringLiteral("盟"), QStringLiteral("市"), QStringLiteral("区"),
        QStringLiteral("县"), QStringLiteral("旗") };
    QStringList out;
    for (const QString& end : province ? provinceEnds : placeEnds) {
        if (!name.endsWith(end))
            continue;
        const QString base = withoutEthnicNames(name.chopped(end.size()));
        if (base.size() >= 2) {
            out << base;
            if (end == u"自治州")
                out << base + u'州';
        }
        break;
    }
    return out;
}

bool startsWithAny(QStringView s, qsizetype pos, const QStringList& words)
{
    const QStringView rest = s.mid(pos);
    for (const QString& w : words)
        if (rest.startsWith(w))
            return true;
    return false;
}

// A road or building named after a place: "杭州路", "西湖大道", "浙江大厦".
const QStringList& roadWords()
{
    static const QStringList words
        = QStringLiteral("路 街 巷 弄 桥 道 大道 大街 大路 大厦 大桥 中路 东路 西路 南路 北路 广场")
              .split(u' ');
    return words;
}

// The length of a town or street office at `at` ("张江镇", "长安镇", "三里屯街道"), 0 for none.
qsizetype townLength(QStringView s, qsizetype at)
{
    static const QString notInTown = QStringLiteral("路街巷弄号楼室栋村");
    for (qsizetype i = 1; i <= 6 && at + i < s.size(); ++i) {
        const QChar c = s[at + i - 1];
        if (!isHan(c) || notInTown.contains(c))
            return 0;
        const QChar next = s[at + i];
        if (next == u'镇' || next == u'乡')
            return i + 1;
        if (next == u'街' && at + i + 1 < s.size() && s[at + i + 1] == u'道')
            return i + 2;
    }
    return 0;
}

enum class Hint : quint8 {
    None,
    Name,
    Phone,
    Address,
    Postcode,
    Other, ///< after a label we do not know: not a name
};

struct Token
{
    QString text;
    Hint hint = Hint::None;
};

Hint labelKind(QStringView word)
{
    const QString lower = word.toString().toLower();
    const auto has = [&](const char16_t* part) { return lower.contains(QStringView(part)); };
    if (has(u"地址") || has(u"地区") || lower == u"省市区" || has(u"addr"))
        return Hint::Address;
    if (has(u"邮编") || has(u"邮政"))
        return Hint::Postcode;
    if (has(u"电话") || has(u"手机") || has(u"号码") || has(u"联系方式") || lower == u"固话"
        || lower == u"座机" || has(u"tel") || has(u"phone") || has(u"mobile"))
        return Hint::Phone;
    if (lower.endsWith(u'人') || has(u"姓名") || has(u"名字") || has(u"名称") || lower == u"name")
        return Hint::Name;
    return Hint::Other;
}

// A word before a colon that is a label: letters or Chinese characters, short.
bool isLabelWord(QStringView word)
{
    if (word.size() > 8)
        return false;
    return std::all_of(word.begin(), word.end(), [](QChar c) { return isHan(c) || isLetter(c); });
}

// Labels that also stand without a colon: "收件人 张三".
bool isBareLabel(QStringView word)
{
    static const QSet<QString> words = [] {
        const QStringList list = QStringLiteral(
            "收件人 收货人 联系人 姓名 电话 手机 手机号 手机号码 联系电话 地址 收件地址 收货地址 "
            "详细地址 邮编")
                                     .split(u' ');
        return QSet<QString>(list.begin(), list.end());
    }();
    return words.contains(word.toString());
}

// Pieces between separators; labels taken off, and what they announce kept as a hint on the
// piece that follows.
QList<Token> tokenize(const QString& s)
{
    QList<Token> tokens;
    Hint pending = Hint::None;
    qsizetype i = 0;
    while (i < s.size()) {
        if (s[i] == kBreak)
            pending = Hint::None;
        if (isSeparator(s[i])) {
            ++i;
            continue;
        }
        qsizetype j = i;
        while (j < s.size() && !isSeparator(s[j]))
            ++j;
        QStringView piece = QStringView(s).mid(i, j - i);
        i = j;
        for (qsizetype colon = piece.indexOf(u':'); colon >= 0; colon = piece.indexOf(u':')) {
            const QStringView word = piece.left(colon);
            if (!isLabelWord(word))
                break;
            if (!word.isEmpty()) // a colon set apart from its label keeps the label's hint
                pending = labelKind(word);
            piece = piece.mid(colon + 1);
        }
        if (piece.isEmpty())
            continue;
        if (isBareLabel(piece)) {
            pending = labelKind(piece);
            continue;
        }
        tokens.append({ piece.toString(), pending });
        pending = Hint::None;
    }

    // A Latin name is written with blanks: "Tom Lee" is one piece.
    const auto latinWord = [](const QString& t) {
        return !t.isEmpty() && isLetter(t[0]) && t.size() <= 20
            && std::all_of(t.begin(), t.end(),
                [](QChar c) { return isLetter(c) || c == u'.' || c == u'\'' || c == u'-'; });
    };
    QList<Token> merged;
    int words = 0;
    for (const Token& t : tokens) {
        if (!merged.isEmpty() && t.hint == Hint::None && words > 0 && words < 3
            && latinWord(t.text)) {
            merged.last().text += u' ' + t.text;
            ++words;
            continue;
        }
        words = latinWord(t.text) ? 1 : 0;
        merged << t;
    }
    return merged;
}

bool isDigits(QStringView t)
{
    return !t.isEmpty() && std::all_of(t.begin(), t.end(), [](QChar c) { return c.isDigit(); });
}

bool isChineseName(QStringView t)
{
    static const QString addressEnds
        = QStringLiteral("省市区县镇乡村路街道巷弄号楼室栋园苑厦院店场城");
    if (t.contains(u'·')) {
        if (t.size() > 20 || t.front() == u'·' || t.back() == u'·' || t.contains(u"··"))
            return false;
    } else if (t.size() < 2 || t.size() > 4) {
        return false;
    }
    return std::all_of(t.begin(), t.end(), [](QChar c) { return c == u'·' || isHan(c); })
        && !addressEnds.contains(t.back());
}

bool isLatinName(QStringView t)
{
    return !t.isEmpty() && isLetter(t.front()) && t.size() <= 40
        && std::all_of(t.begin(), t.end(), [](QChar c) {
               return isLetter(c) || c == u' ' || c == u'.' || c == u'\'' || c == u'-';
           });
}

const QRegularExpression& mobilePattern()
{
    static const QRegularExpression re(QStringLiteral(
        R"((?<![\d+])(?:\(?\+?86\)?[ \t-]?)?(1\d{2})[ \t-]?(\d{4})[ \t-]?(\d{4})(?!\d))"));
    return re;
}

const QRegularExpression& landlinePattern()
{
    static const QRegularExpression re(
        QStringLiteral(R"((?<!\d)(?:(?:\(0\d{2,3}\)|0\d{2,3})[ \t-]?(?:\d{7,8}|\d{3,4}[ \t-]\d{4}))"
                       R"(|[48]00[ \t-]?\d{3}[ \t-]?\d{4})(?:-(\d{1,6}))?(?!\d))"));
    return re;
}

QString digitsOf(const QString& text)
{
    QString digits;
    for (const QChar c : text)
        if (c.isDigit())
            digits += c;
    return digits;
}

// Takes every match of `re` out of `s`, leaving a break in its place.
QStringList takeOut(QString& s, const QRegularExpression& re, bool mobile)
{
    QStringList found;
    QString rest;
    qsizetype from = 0;
    for (auto it = re.globalMatch(s); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        if (mobile) {
            found << m.captured(1) + m.captured(2) + m.captured(3);
        } else {
            // The extension is the only part a dash keeps apart.
            const QString extension = m.captured(1);
            QString number
                = digitsOf(m.captured(0).chopped(extension.isEmpty() ? 0 : extension.size() + 1));
            if (!extension.isEmpty())
                number += u'-' + extension;
            found << number;
        }
        rest += QStringView(s).mid(from, m.capturedStart() - from);
        rest += kBreak;
        from = m.capturedEnd();
    }
    if (found.isEmpty())
        return found;
    rest += QStringView(s).mid(from);
    s = rest;
    return found;
}

} // namespace

AddressSplitter::AddressSplitter(const QList<std::pair<QString, QString>>& provinceCities,
    const QList<std::pair<QString, QString>>& cityCounties)
{
    QHash<QString, int> provinces;
    QSet<QString> pairs;
    QHash<QString, QList<int>> citiesByName;
    for (const auto& [provinceText, cityText] : provinceCities) {
        const QString province = provinceText.trimmed();
        const QString city = cityText.trimmed();
        if (province.isEmpty() || city.isEmpty() || pairs.contains(province + u'\t' + city))
            continue;
        pairs.insert(province + u'\t' + city);
        auto p = provinces.constFind(province);
        if (p == provinces.cend())
            p = provinces.insert(province, addPlace(province, Level::Province, -1));
        citiesByName[city] << addPlace(city, Level::City, *p);
    }
    pairs.clear();
    for (const auto& [cityText, countyText] : cityCounties) {
        const QString city = cityText.trimmed();
        const QString county = countyText.trimmed();
        if (county.isEmpty() || pairs.contains(city + u'\t' + county))
            continue;
        pairs.insert(city + u'\t' + county);
        for (int c : citiesByName.value(city))
            addPlace(county, Level::County, c);
    }

    for (int i = 0; i < int(mPlaces.size()); ++i) {
        const Place& p = mPlaces[size_t(i)];
        addKey(p.name, i, true);
        for (const QString& s : shortForms(p.name, p.level == Level::Province))
            addKey(s, i, false);
    }
    for (auto& keys : mKeys)
        std::stable_sort(keys.begin(), keys.end(), [this](const Key& a, const Key& b) {
            if (a.text.size() != b.text.size())
                return a.text.size() > b.text.size();
            const Level la = mPlaces[size_t(a.place)].level;
            const Level lb = mPlaces[size_t(b.place)].level;
            if (la != lb)
                return la < lb;
            return a.full && !b.full;
        });
}

int AddressSplitter::addPlace(const QString& name, Level level, int parent)
{
    mPlaces.push_back({ name, level, parent });
    mChildren.emplace_back();
    const int index = int(mPlaces.size()) - 1;
    if (parent >= 0)
        mChildren[size_t(parent)].push_back(index);
    return index;
}

void AddressSplitter::addKey(const QString& text, int place, bool full)
{
    mKeys[text.front().unicode()].push_back({ text, place, full });
}

AddressSplitter AddressSplitter::fromDatabase(Database& db)
{
    QList<std::pair<QString, QString>> provinceCities;
    QList<std::pair<QString, QString>> cityCounties;
    QSqlQuery q = db.exec(QStringLiteral("select 类型, 一级代码, 二级代码 from DMTable2 where "
                                         "rtrim(ltrim(类型)) in (?, ?) order by ID"),
        { kProvinceCity, kCityCounty });
    while (q.next()) {
        const std::pair<QString, QString> pair { q.value(1).toString(), q.value(2).toString() };
        if (q.value(0).toString().trimmed() == kProvinceCity)
            provinceCities << pair;
        else
            cityCounties << pair;
    }
    if (cityCounties.isEmpty())
        for (const auto& row : referenceRows(QStringLiteral("counties.tsv")))
            cityCounties.append(
                { row.value(QStringLiteral("一级代码")), row.value(QStringLiteral("二级代码")) });
    return AddressSplitter(provinceCities, cityCounties);
}

AddressSplitter AddressSplitter::forDatabase(Database& db)
{
    try {
        return fromDatabase(db);
    } catch (const DbError&) {
        return fromSeed();
    }
}

AddressSplitter AddressSplitter::fromSeed()
{
    const auto pairs = [](const char* file) {
        QList<std::pair<QString, QString>> out;
        for (const auto& row : referenceRows(QString::fromLatin1(file)))
            out.append(
                { row.value(QStringLiteral("一级代码")), row.value(QStringLiteral("二级代码")) });
        return out;
    };
    return AddressSplitter(pairs("regions.tsv"), pairs("counties.tsv"));
}

template <typename Fits>
AddressSplitter::Hit AddressSplitter::match(QStringView s, qsizetype pos, Fits fits) const
{
    Hit best;
    if (pos >= s.size())
        return best;
    const auto keys = mKeys.constFind(s[pos].unicode());
    if (keys == mKeys.cend())
        return best;
    const QStringView rest = s.mid(pos);
    Level bestLevel = Level::Province;
    for (const Key& k : *keys) {
        const Level level = mPlaces[size_t(k.place)].level;
        // Keys run longest first, then higher level, then full: the first hit is the best, and
        // another place with an equally good key makes the text ambiguous.
        if (best && (k.text.size() != best.length || level != bestLevel || k.full != best.full))
            break;
        if (!rest.startsWith(k.text) || !fits(k))
            continue;
        if (!k.full && startsWithAny(s, pos + k.text.size(), roadWords())) {
            // "唐山路南区" is 唐山 and 路南区; "唐山路88号" is a road.
            const qsizetype after = pos + k.text.size();
            const auto next = mKeys.constFind(s[after].unicode());
            const bool placeFollows = next != mKeys.cend()
                && std::any_of(next->begin(), next->end(),
                    [&](const Key& n) { return n.full && s.mid(after).startsWith(n.text); });
            if (!placeFollows)
                continue;
        }
        if (best) {
            if (k.place != best.place)
                return {};
            continue;
        }
        best = { k.place, k.text.size(), k.full };
        bestLevel = level;
    }
    return best;
}

AddressSplitter::Region AddressSplitter::parseRegion(QStringView s) const
{
    Region r;
    qsizetype pos = skipSeparators(s, 0);
    const auto take = [&](const Hit& h, qsizetype at) {
        pos = at + h.length;
        r.end = pos;
        ++r.parts;
    };
    const auto placeOf = [this](int i) -> const Place& { return mPlaces[size_t(i)]; };

    // Without a province or city before it, a county counts only by its full name.
    const Hit first = match(
        s, pos, [&](const Key& k) { return k.full || placeOf(k.place).level != Level::County; });
    if (!first)
        return r;
    r.firstFull = first.full;
    const Place& found = placeOf(first.place);
    if (found.level == Level::Province) {
        r.province = first.place;
    } else if (found.level == Level::City) {
        r.city = first.place;
        r.province = found.parent;
    } else {
        r.county = first.place;
        r.city = found.parent;
        r.province = placeOf(found.parent).parent;
    }
    take(first, pos);

    if (r.city < 0) {
        qsizetype at = skipSeparators(s, pos);
        // Shops write a municipality twice, as province and as city: "上海 上海市 浦东新区".
        if (placeOf(r.province).name.endsWith(u'市')) {
            if (const Hit again
                = match(s, at, [&](const Key& k) { return k.place == r.province; })) {
                take(again, at);
                at = skipSeparators(s, pos);
            }
        }
        if (const Hit city = match(s, at, [&](const Key& k) {
                return placeOf(k.place).parent == r.province
                    && placeOf(k.place).level == Level::City;
            })) {
            r.city = city.place;
            take(city, at);
        } else if (const Hit county = match(s, at, [&](const Key& k) {
                       const Place& p = placeOf(k.place);
                       return p.level == Level::County && placeOf(p.parent).parent == r.province;
                   })) {
            r.county = county.place;
            r.city = placeOf(county.place).parent;
            take(county, at);
        }
    }
    if (r.city >= 0 && r.county < 0) {
        const qsizetype at = skipSeparators(s, pos);
        if (!mChildren[size_t(r.city)].empty()) {
            if (const Hit county = match(s, at, [&](const Key& k) {
                    return placeOf(k.place).parent == r.city
                        && placeOf(k.place).level == Level::County;
                })) {
                r.county = county.place;
                take(county, at);
            }
        } else if (const qsizetype length = townLength(s, at)) {
            r.town = s.mid(at, length).toString();
            take({ -1, length, true }, at);
        }
    }
    return r;
}

SplitAddress AddressSplitter::split(const QString& text) const
{
    SplitAddress out;
    QString s = normalised(text);
    const QStringList mobiles = takeOut(s, mobilePattern(), true);
    const QStringList landlines = takeOut(s, landlinePattern(), false);
    out.mobile = mobiles.value(0);
    out.phone = landlines.isEmpty() ? mobiles.value(1) : landlines.first();

    QList<Token> tokens;
    for (const Token& t : tokenize(s)) {
        // A number after its label that no pattern knew ("电话：88886666").
        if (t.hint == Hint::Phone && isDigits(QString(t.text).remove(u'-'))) {
            if (out.phone.isEmpty())
                out.phone = digitsOf(t.text);
        } else if (isDigits(t.text) && (t.hint == Hint::Postcode || t.text.size() == 6)) {
            // Shops write 000000 where they know no postcode.
            if (out.postcode.isEmpty() && t.text.count(u'0') != t.text.size())
                out.postcode = t.text;
        } else {
            tokens << t;
        }
    }

    const qsizetype n = tokens.size();
    struct Shape
    {
        bool regional; ///< starts with a region; a name-shaped piece must be one whole
        bool candidate; ///< may be the name
        bool latin;
    };
    std::vector<Shape> shapes;
    shapes.reserve(size_t(n));
    qsizetype nameAt = -1;
    qsizetype start = -1;
    for (qsizetype i = 0; i < n; ++i) {
        Token& t = tokens[i];
        const bool chinese = isChineseName(t.text);
        const bool latin = !chinese && isLatinName(t.text);
        // "收件人：张三浙江省…" names more than the person.
        if (t.hint == Hint::Name && !chinese && !latin)
            t.hint = Hint::None;
        if (t.hint == Hint::Name && nameAt < 0)
            nameAt = i;
        if (t.hint == Hint::Address && start < 0)
            start = i;
        const Region r = parseRegion(t.text);
        // "杭州" alone is a place, "金华强" is more likely a person than 金华 and a street.
        const bool whole = r.parts > 0 && r.end == t.text.size();
        const bool nameShaped = chinese || latin;
        shapes.push_back({ nameShaped ? whole : r.parts > 0,
            nameShaped && !whole && t.hint == Hint::None, latin });
    }
    if (start < 0)
        for (qsizetype i = 0; i < n && start < 0; ++i)
            if (shapes[size_t(i)].regional && i != nameAt)
                start = i;
    if (start < 0 && nameAt < 0) {
        // A name written against the address: "张三浙江省杭州市…".
        for (qsizetype i = 0; i < n && start < 0; ++i) {
            if (tokens[i].hint != Hint::None)
                continue;
            const QString t = tokens[i].text;
            for (qsizetype k = 2; k <= 4 && k < t.size(); ++k) {
                const Region r = parseRegion(QStringView(t).mid(k));
                if (r.parts == 0 || !(r.firstFull || r.parts >= 2))
                    continue;
                if (isBareLabel(QStringView(t).left(k))) { // "地址浙江省…"
                    tokens[i].text = t.mid(k);
                    start = i;
                    break;
                }
                if (isChineseName(QStringView(t).left(k))) {
                    tokens[i].text = t.left(k);
                    tokens.insert(i + 1, { t.mid(k), Hint::None });
                    nameAt = i;
                    start = i + 1;
                    break;
                }
            }
        }
    }
    const qsizetype count = tokens.size();
    if (start < 0) {
        start = count;
        for (qsizetype i = 0; i < n; ++i)
            if (!shapes[size_t(i)].candidate && i != nameAt) {
                start = i;
                break;
            }
    }
    if (nameAt < 0) {
        // A name before the address is the first such piece; after it, the last one, and a
        // Chinese one rather than a Latin word of a building's name.
        for (qsizetype i = 0; i < std::min(start, n) && nameAt < 0; ++i)
            if (shapes[size_t(i)].candidate)
                nameAt = i;
        // After the address only the pieces that end the text may name the person: a short
        // piece with a street piece after it is part of the street ("仓前 梦想小镇").
        qsizetype trail = n;
        while (trail - 1 > start && shapes[size_t(trail - 1)].candidate)
            --trail;
        for (qsizetype i = n - 1; i >= trail && nameAt < 0; --i)
            if (!shapes[size_t(i)].latin)
                nameAt = i;
        for (qsizetype i = n - 1; i >= trail && nameAt < 0; --i)
            nameAt = i;
    }
    if (nameAt >= 0)
        out.name = tokens[nameAt].text;

    QStringList leading;
    QStringList tail;
    for (qsizetype i = 0; i < count; ++i)
        if (i != nameAt)
            (i < start ? leading : tail) << tokens[i].text;
    const QString joined = tail.join(u' ');
    const Region r = parseRegion(joined);
    fill(r, out);
    const QStringView street = trimmedSeparators(QStringView(joined).mid(r.end));
    if (!street.isEmpty())
        leading << street.toString();
    out.address = leading.join(u' ');
    return out;
}

void AddressSplitter::fill(const Region& region, SplitAddress& out) const
{
    const auto name = [this](int i) { return i < 0 ? QString() : mPlaces[size_t(i)].name; };
    out.province = name(region.province);
    out.city = name(region.city);
    out.district = region.county >= 0 ? name(region.county) : region.town;
}

} // namespace pennock::core
