#pragma once

#include "store/TemplateKind.h"

#include <QString>
#include <QStringList>

namespace pennock::core {

class Database;
class Prompter;

/// Lookups of templates by kind, variant and identity. Database errors reach the caller as
/// DbError unless a lookup says otherwise.
class TemplateLookups
{
public:
    TemplateLookups(Database& db, Prompter& prompter)
        : mDb(db)
        , mPrompter(prompter)
    {
    }

    /// The kind's default template, else (with a message) its lowest enabled one, else -1.
    int loadDefaultCheckTypeId(const QString& kind);
    /// By kind and variant, then by the full name built from them; 0 when not found.
    int loadCheckTypeIDByFirstAndLastName(const QString& kind, const QString& variant);
    /// Identity as text, "0" when not found.
    QString loadCheckTypeIDByTypeFullName(const QString& fullName);
    QString loadCheckTypeFullNameByID(int templateId);
    QString loadCheckTypeFirstNameByID(int templateId);
    QString loadCheckTypeLastNameByID(int templateId);
    /// The first kind of the catalogue; empty when the catalogue is empty.
    QString loadDefaultTypeFirstName();
    QStringList loadCheckTypeFirstNameList();
    /// Variants of the kind's enabled common templates, the default first.
    QStringList loadCommonTypeLastNameList(const QString& kind);
    /// Variants of the kind's enabled templates by name; a message and nothing for no kind.
    QStringList loadCheckTypeLastNameList(const QString& kind);
    /// Full names of enabled templates, of one kind or (empty kind) of all.
    QStringList loadCheckTypeFullNameList(const QString& kind = {});
    /// A template of this kind and variant exists, enabled or hidden.
    bool CheckTypeExists(const QString& kind, const QString& variant);
    /// Offsets of the kind's first template by common and default marks; false for none.
    bool loadUserXYMoveByFirstName(const QString& kind, int& x, int& y);
    /// Distinct values of a bill table's column, of one state or (empty state) all.
    QStringList loadCheckNOList(const QString& table, const QString& state, const QString& column);

    /// Short type code of a kind ("支票" -> "zp"); empty for a kind not in the table.
    static QString getTypeCodeByTypeName(const QString& kind);
    /// kind + "（" + variant + "）"
    static QString fullName(const QString& kind, const QString& variant);
    /// A variant as editors accept it: without ( ) （ ） ' % * ? and blanks.
    static QString cleanVariantName(const QString& variant);

private:
    QStringList column(const QString& sql, const QVariantList& values = {});

    Database& mDb;
    Prompter& mPrompter;
};

} // namespace pennock::core
