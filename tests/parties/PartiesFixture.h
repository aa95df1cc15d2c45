#pragma once

#include "parties/DAOPerson.h"
#include "parties/TPerson.h"
#include "printing/Services.h"
#include "store/ProgramFolder.h"
#include "support/ScriptedPrompter.h"
#include "support/TempHome.h"
#include "templates/Seed.h"

#include <QSqlQuery>
#include <QStringList>

#include <gtest/gtest.h>

#include <ostream>

// Readable failures: texts print as text.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace pennock::test {

/// A seeded installation in a temporary folder with a few helpers for parties.
class PartiesFixture : public ::testing::Test
{
protected:
    PartiesFixture() { core::ensureSeededInstallation(core::ProgramFolder(home.path())); }

    /// Inserts a party given as column = value pairs; its `ID`.
    int addParty(const QList<std::pair<QString, QString>>& fields)
    {
        core::TPerson person;
        for (const auto& [column, value] : fields)
            person.setValue(column, value);
        core::DAOPerson(services.db()).storePerson(person);
        return person.ID;
    }

    /// First column of every row of a statement.
    QStringList column(const QString& sql, const QVariantList& values = {})
    {
        QStringList out;
        QSqlQuery q = services.db().exec(sql, values);
        while (q.next())
            out << q.value(0).toString();
        return out;
    }

    int count(const QString& table)
    {
        return services.db().scalar(QStringLiteral("select count(*) from ") + table).toInt();
    }

    TempHome home;
    ScriptedPrompter prompter;
    core::Services services { home.path(), prompter };
};

} // namespace pennock::test
