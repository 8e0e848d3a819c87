// The export driver: the whole library, in tree order, to every chosen target.

#include "interchange/Export.h"

#include "interchange/ExchangeLibrary.h"
#include "interchange/Favorites.h"
#include "interchange/NetscapeFile.h"
#include "interchange/OperaHotlist.h"
#include "interchange/XbelFile.h"
#include "platform/FileIO.h"
#include "settings/PreferenceRecord.h"
#include "store/Library.h"

namespace velloria {

ExchangeChoice exportDialogChoice(ExchangeLibrary& model)
{
    ExchangeChoice choice = importDialogChoice(model);
    const TPreferences& prefs = model.exchangePreferences();
    choice.ie = prefs.ExportIE;
    choice.netscape = prefs.ExportNetscape;
    choice.opera = prefs.ExportOpera;
    choice.xbel = model.exchangeMemory().exportXbel;
    return choice;
}

void exportTarget(ExchangeLibrary& model, ImportSource target, const std::filesystem::path& location,
                  const ProgressFunction& progress)
{
    // Export writes what is saved on disk for each folder; the folder list is the tree in memory.
    const std::vector<ExportFolder> folders = TreeOrder(model.library().folderTree());
    const ReadExportLinksFunction readLinks = ReadExportLinks(model.library());
    switch (target) {
    case ImportSource::InternetExplorer: ExportIEFavorites(location, folders, readLinks, progress); break;
    case ImportSource::Netscape: writeFileAtomically(location, writeNetscapeFile(folders, readLinks, progress)); break;
    case ImportSource::Opera: writeFileAtomically(location, writeOperaHotlist(folders, readLinks, progress)); break;
    case ImportSource::Xbel: {
        const auto& descriptions = model.library().folderDescriptions();
        const auto describe = [&descriptions](const std::string& name) {
            const auto it = descriptions.find(name);
            return it == descriptions.end() ? std::string() : it->second;
        };
        writeFileAtomically(location, writeXbelFile(folders, readLinks, describe, progress));
        break;
    }
    }
}

void exportBookmarks(ExchangeLibrary& model, const ExchangeChoice& choice, const ProgressFunction& progress)
{
    TPreferences& prefs = model.exchangePreferences();
    prefs.ExportIE = choice.ie;
    prefs.ExportNetscape = choice.netscape;
    prefs.ExportOpera = choice.opera;
    model.exchangeMemory().exportXbel = choice.xbel;
    if (!model.library().folderTree().empty())
        for (const auto& [kind, location] : exchangeTargets(choice))
            exportTarget(model, kind, exchangeLocation(model, location), progress);
    storeLocations(model, choice);
}

} // namespace velloria
