// The preferences file reader: any bytes read without fault; the record read survives a save.
#include "FuzzChecks.h"
#include "settings/Preferences.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size)
{
    using namespace velloria;
    TPreferences first;
    SetDefaultPreferences(first, "/home/fuzz");
    if (!readPreferencesFile(first, {reinterpret_cast<const char*>(data), size}))
        return 0;
    const std::string written = writePreferencesFile(first);
    TPreferences second;
    SetDefaultPreferences(second, "/home/fuzz");
    fuzz::require(readPreferencesFile(second, written).has_value(), "written preferences read back");
    fuzz::require(writePreferencesFile(second) == written, "preferences survive a save");
    return 0;
}
