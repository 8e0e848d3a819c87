// Commands for the preferences file and the language files.

#include "base/Error.h"
#include "base/Text.h"
#include "cli/CommandTable.h"
#include "platform/FileIO.h"
#include "platform/HomeDirectory.h"
#include "settings/LanguageCheck.h"
#include "settings/NumberedLines.h"
#include "settings/Preferences.h"

#include <ostream>

namespace velloria {

namespace {

void preferences(Invocation& call)
{
    Preferences preferences(call.home, userHomeDirectory());
    if (const std::size_t skipped = preferences.LoadPreferences())
        call.context.err << skipped << " line(s) of " << preferences.filePath().string()
                         << " could not be read and were skipped\n";
    if (call.hasOption("--save")) {
        call.lockForChange();
        preferences.SavePreferences();
    }
    for (const PreferenceEntry& entry : kPreferenceEntries) {
        call.out() << entryNumberText(entry.number) << '\t' << entry.name << '\t'
                   << toUtf8(preferenceText(preferences.record(), entry)) << '\n';
    }
}

// Untranslated added entries are printed after the findings but leave the status 0: a file of
// an older version stays valid.
void checkLanguage(Invocation& call)
{
    const std::string bytes = readFile(call.operands[0]);
    const auto findings = checkLanguageFile(bytes);
    for (const std::string& finding : findings)
        call.out() << finding << '\n';
    for (const std::string& note : untranslatedAddedEntries(bytes))
        call.out() << note << '\n';
    if (!findings.empty())
        call.status = 1;
}

} // namespace

std::vector<CliCommand> settingsCommands()
{
    return {
        {"prefs", "prefs [--save]", "the preferences in effect: number, name, value; --save writes them back", 0, 0,
         {{"--save"}}, preferences},
        {"lang-check", "lang-check FILE", "what a translator should know about a language file", 1, 1, {},
         checkLanguage, {kPathValue}},
    };
}

} // namespace velloria
