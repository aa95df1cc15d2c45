#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace pennock::core {

class Database;
class ProgramFolder;

/// The four lists of the template manager.
enum class TemplateTab { Available, Common, Default, Hidden };

/// One row of the manager's list.
struct TemplateRow
{
    int id = 0;
    QString fullName;
    QString isDefault;
    QString isCommon;
    QString visiable;
    QString kind;
    QString imageFile;
};

/// What the template manager changes: the standing of templates (default, common, hidden), their
/// variant names, and deleting them for good. Database errors reach the caller as DbError.
class TemplateManagerStore
{
public:
    TemplateManagerStore(Database& db, const ProgramFolder& folder)
        : mDb(db)
        , mFolder(folder)
    {
    }

    /// The catalogue's kinds by name.
    QStringList kinds();
    /// Templates of a tab by full name; `kind` (empty: all) and a text in the full name narrow it.
    QList<TemplateRow> list(TemplateTab tab, const QString& kind, const QString& search);
    /// The kind's only default; it becomes enabled and common too.
    void setDefault(int id, const QString& kind);
    /// Enabled and common, or enabled and not common.
    void setCommon(int id, bool common);
    void setEnabled(int id, bool enabled);
    /// The template, its items, its settings, its layout cache file and its picture when no other
    /// template uses it.
    void deleteTemplate(int id);
    /// False when the kind already has a template of that variant, enabled or hidden.
    bool rename(int id, const QString& kind, const QString& variant);

private:
    Database& mDb;
    const ProgramFolder& mFolder;
};

} // namespace pennock::core
