// Template packages from anywhere: a damaged or foreign file must be refused, never crash.
#include "FuzzSupport.h"
#include "templates/Package.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace pennock::core;
    pennock::fuzz::ensureApplication();
    const QString path = pennock::fuzz::writeInput(data, size, QStringLiteral(".tpk"));
    try {
        PackageFile package(path);
        for (const PackageEntry& entry : package.entries()) {
            (void)package.templateRow(entry.fullName);
            (void)package.items(entry.packageId);
            (void)package.settings(entry.packageId);
        }
    } catch (const PackageError&) {
    }
    return 0;
}
