#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringView>

#include <utility>
#include <vector>

namespace pennock::core {

class Database;

/// The parts of a pasted recipient text; a part the text does not give stays empty.
struct SplitAddress
{
    QString name; ///< a short Chinese name, a name with "·", or a Latin name
    QString mobile; ///< 11 digits, without "+86" and separators
    /// A landline as digits only, an extension after "-": "01085801234", "057188888888-123".
    QString phone;
    QString province; ///< full name: "浙江省", "北京市", "广西壮族自治区"
    /// Full name: "杭州市"; under a municipality, its district ("朝阳区").
    QString city;
    /// Full name of the county: "西湖区", "义乌市". Where the region table has no county under
    /// the city (a municipality's districts, 东莞市 and the like), the town or street office
    /// that follows it, as written: "张江镇", "三里屯街道".
    QString district;
    QString address; ///< the rest: street, number, building; pieces joined by one blank
    QString postcode; ///< six digits standing alone, or the number after "邮编"

    bool operator==(const SplitAddress&) const = default;
};

/// Splits a recipient text copied from a chat or a shop ("张三 13800138000 浙江省杭州市西湖区
/// 文三路90号") into name, numbers, region and street. Regions are recognised by their full
/// names and their short forms ("浙江", "杭州", "广西", "内蒙古", "延边"); a missing province
/// or city is inferred from the city or county when only one place bears that name. A county's
/// short form ("西湖" for 西湖区) counts only after its province or city, and no short form
/// counts when a road follows it ("杭州路", "西湖大道"). A bare name that is both a city and a
/// county ("朝阳区") is taken as the higher level; two places of one level leave the text in
/// the address. Lookup structures are built once; split() is const and thread-safe.
class AddressSplitter
{
public:
    /// From province/city pairs and city/county pairs.
    AddressSplitter(const QList<std::pair<QString, QString>>& provinceCities,
        const QList<std::pair<QString, QString>>& cityCounties);
    /// The region rows of DMTable2 (type "省市" and "区县"). A database seeded before counties
    /// were carried has no "区县" rows; the program's own counties stand in for them.
    /// Throws DbError.
    static AddressSplitter fromDatabase(Database& db);
    /// The region tables the program carries, without a database.
    static AddressSplitter fromSeed();
    /// The database's regions, or the program's own when the database cannot be read.
    static AddressSplitter forDatabase(Database& db);

    SplitAddress split(const QString& text) const;

private:
    enum class Level : quint8 { Province, City, County };

    struct Place
    {
        QString name;
        Level level;
        int parent; ///< province of a city, city of a county; -1 for a province
    };

    struct Key
    {
        QString text;
        int place;
        bool full;
    };

    struct Hit
    {
        int place = -1;
        qsizetype length = 0;
        bool full = false;
        explicit operator bool() const { return length > 0; }
    };

    struct Region
    {
        int province = -1;
        int city = -1;
        int county = -1;
        QString town;
        qsizetype end = 0; ///< just after the last part recognised
        bool firstFull = false; ///< the first part was written in full
        int parts = 0;
    };

    int addPlace(const QString& name, Level level, int parent);
    void addKey(const QString& text, int place, bool full);
    /// The place named at `pos` that `fits` accepts; none when two places fit equally well.
    template <typename Fits> Hit match(QStringView s, qsizetype pos, Fits fits) const;
    Region parseRegion(QStringView s) const;
    void fill(const Region& region, SplitAddress& out) const;

    std::vector<Place> mPlaces;
    std::vector<std::vector<int>> mChildren; ///< by place: its cities or counties
    QHash<char16_t, std::vector<Key>> mKeys; ///< by first character, longest first
};

} // namespace pennock::core
