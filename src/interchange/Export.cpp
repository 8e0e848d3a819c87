// The export driver: the whole library, in tree order, to every chosen target.

#include "interchange/Export.h"

#include "interchange/ExchangeLibrary.h"
#include "interchange/Favorites.h"
#include "interchange/NetscapeFile.h"
#include "interchange/OperaHotlist.h"
#include "platform/FileIO.h"
#include "settings/PreferenceRecord.h"
#include "store/Library.h"

namespace velloria {

ExchangeChoice exportDialogChoice(const TPreferences& prefs, const std::filesystem::path& userHome)
{
    ExchangeChoice choice = importDialogChoice(prefs, userHome);
    choice.ie = prefs.ExportIE;
    choice.netscape = prefs.ExportNetscape;
    choice.opera = prefs.ExportOpera;
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
    }
}

void exportBookmarks(ExchangeLibrary& model, const ExchangeChoice& choice, const ProgressFunction& progress)
{
    TPreferences& prefs = model.exchangePreferences();
    prefs.ExportIE = choice.ie;
    prefs.ExportNetscape = choice.netscape;
    prefs.ExportOpera = choice.opera;
    if (!model.library().folderTree().empty()) {
        const std::pair<bool, const std::string*> targets[] = {
            {choice.ie, &choice.ieLocation}, {choice.netscape, &choice.netscapeLocation}, {choice.opera, &choice.operaLocation}};
        const ImportSource kinds[] = {ImportSource::InternetExplorer, ImportSource::Netscape, ImportSource::Opera};
        for (std::size_t i = 0; i < 3; ++i)
            if (targets[i].first && !isBlankLocation(*targets[i].second))
                exportTarget(model, kinds[i], exchangeLocation(model, *targets[i].second), progress);
    }
    prefs.IEFavoritesDir = choice.ieLocation;
    prefs.NetscapeFile = choice.netscapeLocation;
    prefs.OperaFile = choice.operaLocation;
}

} // namespace velloria
