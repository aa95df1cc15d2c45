#pragma once

#include "printing/PrintEngine.h"
#include "settings/Settings.h"
#include "store/Database.h"
#include "store/ProgramFolder.h"
#include "templates/TemplateLookups.h"

#include <memory>

namespace pennock::core {

class Prompter;

/// What every window reaches through the main window: the database, the settings files, the
/// lookups, the print engine and the prompter. Created once; tests build their own on a
/// temporary program folder.
class Services
{
public:
    Services(const QString& programFolder, Prompter& prompter);
    ~Services();
    Services(const Services&) = delete;
    Services& operator=(const Services&) = delete;

    const ProgramFolder& folder() const noexcept { return mFolder; }
    Database& db() noexcept { return *mDb; }
    Settings& settings() noexcept { return *mSettings; }
    Prompter& prompter() noexcept { return mPrompter; }
    TemplateLookups& templates() noexcept { return *mTemplates; }
    PrintEngine& printEngine() noexcept { return *mPrintEngine; }

private:
    ProgramFolder mFolder;
    Prompter& mPrompter;
    std::unique_ptr<Database> mDb;
    std::unique_ptr<Settings> mSettings;
    std::unique_ptr<TemplateLookups> mTemplates;
    std::unique_ptr<PrintEngine> mPrintEngine;
};

} // namespace pennock::core
