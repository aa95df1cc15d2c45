#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace pennock::core {

class Database;

/// The drop-down dictionaries of `DMTable` as the dictionary editor sees them: names per
/// template identity (0 = shared by all templates), never the "cfg" options. Throws DbError.
class DictionaryStore
{
public:
    struct Entry
    {
        int id = 0;
        QString name;
        QString value;
        int checkTypeId = 0;
    };

    explicit DictionaryStore(Database& db)
        : mDb(db)
    {
    }

    /// Placeholder entry of a new dictionary.
    static const QString kEmptyEntry; ///< "<空>"

    /// Names of the template's dictionaries; the shared names when it has none of its own.
    QStringList names(int checkTypeId);
    /// Creates a dictionary with its placeholder entry; false when the name exists already for
    /// that identity.
    bool addDictionary(int checkTypeId, const QString& name);
    /// The entries of a dictionary, by content: the template's own, plus the shared ones when
    /// `withShared`.
    QList<Entry> entries(int checkTypeId, const QString& name, bool withShared);
    /// The statement `entries` runs, for error messages.
    static QString entriesSql(bool withShared);
    /// The new entry's `ID`.
    int insertEntry(const QString& name, const QString& value, int checkTypeId);
    void updateEntry(int id, const QString& value);
    void deleteEntry(int id);

private:
    QStringList namesOf(int checkTypeId);

    Database& mDb;
};

} // namespace pennock::core
