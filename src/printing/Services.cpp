#include "printing/Services.h"

namespace pennock::core {

Services::Services(const QString& programFolder, Prompter& prompter)
    : mFolder(programFolder)
    , mPrompter(prompter)
    , mDb(openMainDatabase(mFolder))
    , mSettings(std::make_unique<Settings>(*mDb, mFolder, mPrompter))
    , mTemplates(std::make_unique<TemplateLookups>(*mDb, mPrompter))
    , mPrintEngine(std::make_unique<PrintEngine>(*mDb, mPrompter))
{
}

Services::~Services() = default;

} // namespace pennock::core
