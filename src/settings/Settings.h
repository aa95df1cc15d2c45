#pragma once

#include "settings/IniFile.h"

#include <QString>

#include <memory>

namespace pennock::core {

class Database;
class ProgramFolder;
class Prompter;

/// The four places settings live: the configuration table, "Config.ini", "Debug.ini" and the
/// per-template layout cache files under "Temp/CheckIni".
class Settings
{
public:
    Settings(Database& db, const ProgramFolder& folder, Prompter& prompter);
    ~Settings();

    /// Trimmed key lookup in `configtable`; empty when missing or unreadable.
    QString getConfigByname(const QString& key);
    /// Updates the row with exactly this key, or inserts one; false on a database error.
    bool setConfigByname(const QString& key, const QString& value);
    /// "yes" and "1" both count as a ticked option.
    static bool isYes(const QString& value);

    /// Flushes and reopens "Config.ini".
    IniFile& OpenUserIniFile();
    /// The open "Config.ini" (opened on first use).
    IniFile& userIni();
    /// Flushes and reopens "Debug.ini".
    IniFile& OpenDebugInif();

    QString getINIConfigByname(const QString& key);
    void setINIConfigByname(const QString& key, const QString& value);

    /// Writes a numbered debug entry "tag-N".
    void DebugOutN(const QString& tag, const QString& text);
    void DebugOut(const QString& key, const QString& text);

    /// Stores a per-template option in `DMTable` (insert or update, name compared without case).
    /// Does not touch the cache file; callers rebuild it.
    bool setCheckConfigByName(int templateId, const QString& name, const QString& value);
    /// "CheckConfig" value of a cache file; empty without a file.
    static QString getInifCheckConfigByName(const IniFile* cache, const QString& name);

    /// The template's layout cache, built first when the template has none. Null on failure.
    std::unique_ptr<IniFile> OpenCheckInif(int templateId);
    /// (Re)writes the template's layout cache from `NameDict`, `CKControl` and `DMTable`.
    void buildCheckIniFile(int templateId);

    QString checkIniPath(int templateId) const;

private:
    Database& mDb;
    const ProgramFolder& mFolder;
    Prompter& mPrompter;
    std::unique_ptr<IniFile> mUserIni;
    std::unique_ptr<IniFile> mDebugIni;
    int mDebugCounter = 0;
};

} // namespace pennock::core
