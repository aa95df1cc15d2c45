#pragma once

#include <QList>
#include <QString>

namespace pennock::core {

class Database;

/// The currencies of `coins` as the currency editor changes them. Throws DbError.
class CurrencyStore
{
public:
    struct Currency
    {
        QString name; ///< `币种`
        QString code; ///< `缩写`
    };

    explicit CurrencyStore(Database& db)
        : mDb(db)
    {
    }

    /// Every currency by `顺序`, highest first.
    QList<Currency> list();
    /// Rows inserted; a new currency gets `顺序` 0.
    int add(const QString& name, const QString& code);
    /// Rows deleted.
    int remove(const QString& name);
    /// Rows whose code changed.
    int changeCode(const QString& name, const QString& code);

private:
    Database& mDb;
};

} // namespace pennock::core
