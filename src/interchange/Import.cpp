// The import driver: a new top-level folder per source, the reader of the source below it, and
// the library files written once per folder.

#include "interchange/Import.h"

#include "base/Clock.h"
#include "base/Error.h"
#include "base/Text.h"
#include "base/TextLines.h"
#include "interchange/BrowserProfiles.h"
#include "interchange/ExchangeLibrary.h"
#include "interchange/Favorites.h"
#include "interchange/NetscapeFile.h"
#include "interchange/OperaHotlist.h"
#include "interchange/XbelFile.h"
#include "platform/FileIO.h"
#include "settings/PreferenceRecord.h"
#include "settings/UIText.h"
#include "store/FolderNames.h"
#include "store/Library.h"
#include "tools/Sort.h"

#include <algorithm>
#include <utility>

namespace velloria {

namespace {

// The step-by-step import adds a folder, rewrites the tree, the descriptions and the folder's
// link file, and rewrites a folder's link file again after every link. This sink gives the same
// files and the same selection with each file written once: a folder's link file when the
// folder is complete, the descriptions and the tree when the source is done (also when it
// stops with an error, so that what was read stays).
class LibraryImportSink final : public ImportSink {
public:
    LibraryImportSink(ExchangeLibrary& model, const ProgressFunction& progress)
        : m_model(model), m_progress(progress), m_addDate(formatDate(model.clock().today()))
    {
        for (const TFolderRecord& folder : model.library().folderTree().records())
            m_names.add(folder.Name);
    }

    // The import's own top folder, a new top-level folder named after the source, with the
    // source name as its description.
    std::string beginSource(std::string_view sourceName)
    {
        openFolder(sourceName, std::nullopt, 0);
        return m_records.back().Name;
    }

    void beginFolder(std::string_view name, std::optional<std::string_view> description) override
    {
        m_received = true;
        openFolder(name, description, static_cast<int>(m_open.size()));
    }

    // After an error: true when what was read is to be kept, false when nothing was read or a
    // file of the import could not be written (then the import adds nothing).
    bool keepsWhatWasRead() const { return m_received && !m_writeFailed; }

    void endFolder() override
    {
        // The import never leaves its own top folder.
        if (m_open.size() > 1)
            closeFolder();
    }

    void addLink(std::string_view title, std::string_view address, std::string_view description,
                 const LinkDates& dates) override
    {
        m_received = true;
        OpenFolder& folder = m_open.back();
        std::string cleanTitle = singleLine(trimmed(title));
        std::string cleanAddress = singleLine(trimmed(address));
        if (cleanTitle.empty())
            cleanTitle = cleanAddress;
        folder.links.push_back({.Title = std::move(cleanTitle), .Address = std::move(cleanAddress),
                                .LastVisit = dates.visited ? formatDate(*dates.visited) : " ",
                                .AddDate = dates.added ? formatDate(*dates.added) : m_addDate});
        folder.descriptions.push_back(singleLine(description));
    }

    void progress(std::uint64_t done, std::uint64_t total) override
    {
        if (m_progress)
            m_progress(done, total);
    }

    // Writes what is still open and the folder list, and selects the folder the reader left
    // selected. Runs also after an error of the reader.
    void finish()
    {
        // The states of the tree as it was, as before every import; not before the reader has
        // read, so that a source that cannot be read changes no file.
        m_model.library().SaveFolderStates();
        const std::size_t selectedInRecords = m_open.empty() ? 0 : m_open.back().record;
        while (!m_open.empty())
            closeFolder();
        // The folders are new: a file already renamed into place would be left orphaned.
        m_files.commit(StagedWrites::Renamed::Remove);
        m_model.library().AddFolderDescriptions(m_descriptions);
        const std::size_t first = m_model.addImportedFolders(std::move(m_records));
        if (first != TFolderTree::npos)
            m_model.selectFolder(first + selectedInRecords);
    }

private:
    struct OpenFolder {
        std::size_t record = 0; // position in m_records
        TLinkList links;
        std::vector<std::string> descriptions;
    };

    void openFolder(std::string_view name, std::optional<std::string_view> description, int level)
    {
        std::string unique = m_names.take(safeFolderName(singleLine(name)));
        m_descriptions.push_back({unique, singleLine(trimmed(description.value_or(name)))});
        m_records.push_back({.Name = std::move(unique), .Level = level});
        m_open.push_back({.record = m_records.size() - 1, .links = {}, .descriptions = {}});
    }

    // The folder's links in the order of the current sort, written once; the files of an import
    // reach the disk together when it finishes.
    void closeFolder()
    {
        OpenFolder folder = std::move(m_open.back());
        m_open.pop_back();
        const TPreferences& prefs = m_model.exchangePreferences();
        applySortMode(folder.links, folder.descriptions, prefs.SortMode, prefs.ReversedOrder);
        const Library& library = m_model.library();
        try {
            m_files.stage(library.paths().linkFilePath(m_records[folder.record].Name, kWorkingLinkExt),
                          writeLinkFile(folder.links, folder.descriptions));
        } catch (const Error&) {
            m_writeFailed = true;
            throw;
        }
    }

    ExchangeLibrary& m_model;
    const ProgressFunction& m_progress;
    std::string m_addDate;
    UniqueNames m_names; // every folder name of the tree, folded
    std::vector<TFolderRecord> m_records;
    std::vector<DescriptionPair> m_descriptions;
    std::vector<OpenFolder> m_open;
    StagedWrites m_files;
    bool m_received = false;
    bool m_writeFailed = false;
};

std::string_view sourceName(ImportSource source)
{
    switch (source) {
    case ImportSource::InternetExplorer: return kImportSourceIE;
    case ImportSource::Netscape: return kImportSourceNetscape;
    case ImportSource::Opera: return kImportSourceOpera;
    case ImportSource::Xbel: return kImportSourceXbel;
    }
    return kImportSourceNetscape;
}

ImportCounts runReader(ImportSource source, const std::filesystem::path& location, ImportSink& sink)
{
    switch (source) {
    case ImportSource::InternetExplorer: return ImportIEFavorites(location, sink);
    case ImportSource::Netscape: return ImportNetscapeFile(location, sink);
    case ImportSource::Opera: return ImportOperaHotlist(location, sink);
    case ImportSource::Xbel: return ImportXbelFile(location, sink);
    }
    return {};
}

// A new top-level folder of that name with what the reader finds below it.
ImportReport importInto(ExchangeLibrary& model, std::string_view topFolder,
                        const std::function<ImportCounts(ImportSink&)>& reader, const ProgressFunction& progress)
{
    LibraryImportSink sink(model, progress);
    ImportReport report{.topFolder = sink.beginSource(topFolder), .counts = {}};
    try {
        report.counts = reader(sink);
    } catch (...) {
        // What was read is written before the error is reported.
        if (sink.keepsWhatWasRead())
            sink.finish();
        throw;
    }
    sink.finish();
    return report;
}

int reasonText(SkipReason reason)
{
    switch (reason) {
    case SkipReason::UnknownEntry: return text::SkippedUnknownEntry;
    case SkipReason::NoAddress: return text::SkippedNoAddress;
    case SkipReason::NotWebAddress: return text::SkippedNotWebAddress;
    case SkipReason::CutOff: return text::SkippedCutOff;
    case SkipReason::Unreadable: return text::SkippedUnreadable;
    }
    return text::SkippedUnknownEntry;
}

} // namespace

bool isBlankLocation(std::string_view text)
{
    return text.find_first_not_of(' ') == std::string_view::npos;
}

std::filesystem::path userFavoritesDirectory(const std::filesystem::path& userHome)
{
    return userHome / "Favorites";
}

std::vector<std::pair<ImportSource, std::string>> exchangeTargets(const ExchangeChoice& choice)
{
    const std::pair<bool, const std::string*> rows[] = {{choice.ie, &choice.ieLocation},
                                                        {choice.netscape, &choice.netscapeLocation},
                                                        {choice.opera, &choice.operaLocation},
                                                        {choice.xbel, &choice.xbelLocation}};
    const ImportSource kinds[] = {ImportSource::InternetExplorer, ImportSource::Netscape, ImportSource::Opera,
                                  ImportSource::Xbel};
    std::vector<std::pair<ImportSource, std::string>> targets;
    for (std::size_t i = 0; i < std::size(rows); ++i)
        if (rows[i].first && !isBlankLocation(*rows[i].second))
            targets.emplace_back(kinds[i], *rows[i].second);
    return targets;
}

void storeLocations(ExchangeLibrary& model, const ExchangeChoice& choice)
{
    TPreferences& prefs = model.exchangePreferences();
    prefs.IEFavoritesDir = choice.ieLocation;
    prefs.NetscapeFile = choice.netscapeLocation;
    prefs.OperaFile = choice.operaLocation;
    model.exchangeMemory().xbelFile = choice.xbelLocation;
}

std::filesystem::path exchangeLocation(const ExchangeLibrary& model, std::string_view text)
{
    const std::filesystem::path path(text);
    return path.is_absolute() ? path : model.userHome() / path;
}

std::filesystem::path defaultXbelFile(const std::filesystem::path& userHome)
{
    return userHome / "bookmarks.xbel";
}

ExchangeChoice importDialogChoice(ExchangeLibrary& model)
{
    const TPreferences& prefs = model.exchangePreferences();
    const ExchangeMemory& memory = model.exchangeMemory();
    const std::filesystem::path& userHome = model.userHome();
    return {.ie = prefs.ImportIE,
            .netscape = prefs.ImportNetscape,
            .opera = prefs.ImportOpera,
            .ieLocation = isBlankLocation(prefs.IEFavoritesDir) ? userFavoritesDirectory(userHome).string() : prefs.IEFavoritesDir,
            .netscapeLocation = prefs.NetscapeFile,
            .operaLocation = prefs.OperaFile,
            .xbel = memory.importXbel,
            .xbelLocation = memory.xbelFile.empty() ? defaultXbelFile(userHome).string() : memory.xbelFile};
}

ImportReport importSource(ExchangeLibrary& model, ImportSource source, const std::filesystem::path& location,
                          const ProgressFunction& progress)
{
    return importInto(
        model, sourceName(source), [&](ImportSink& sink) { return runReader(source, location, sink); }, progress);
}

ImportReport importProfile(ExchangeLibrary& model, const BrowserProfile& profile, const ProgressFunction& progress)
{
    return importInto(
        model, profileFolderName(profile), [&](ImportSink& sink) { return readBrowserProfile(profile, sink); },
        progress);
}

std::vector<ProfileRow> profileRows(const BrowserPlaces& places, const std::vector<std::filesystem::path>& ticked)
{
    std::vector<ProfileRow> rows;
    for (BrowserProfile& profile : findBrowserProfiles(places)) {
        ProfileRow row{.profile = std::move(profile)};
        try {
            row.links = countProfileLinks(row.profile);
            row.ticked = std::find(ticked.begin(), ticked.end(), row.profile.bookmarks) != ticked.end();
        } catch (const Error& error) {
            row.problem = error.what();
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

std::vector<ImportReport> importProfiles(ExchangeLibrary& model, const std::vector<BrowserProfile>& profiles,
                                         const ProgressFunction& progress)
{
    ExchangeMemory& memory = model.exchangeMemory();
    memory.browserPage = true;
    memory.tickedProfiles.clear();
    for (const BrowserProfile& profile : profiles)
        memory.tickedProfiles.push_back(profile.bookmarks);
    std::vector<ImportReport> reports;
    for (const BrowserProfile& profile : profiles)
        reports.push_back(importProfile(model, profile, progress));
    return reports;
}

std::vector<ImportReport> importBookmarks(ExchangeLibrary& model, const ExchangeChoice& choice,
                                          const ProgressFunction& progress)
{
    TPreferences& prefs = model.exchangePreferences();
    prefs.ImportIE = choice.ie;
    prefs.ImportNetscape = choice.netscape;
    prefs.ImportOpera = choice.opera;
    ExchangeMemory& memory = model.exchangeMemory();
    memory.importXbel = choice.xbel;
    memory.browserPage = false;
    std::vector<ImportReport> reports;
    for (const auto& [kind, location] : exchangeTargets(choice))
        reports.push_back(importSource(model, kind, exchangeLocation(model, location), progress));
    storeLocations(model, choice);
    return reports;
}

std::vector<std::string> importSummary(const UIText& texts, const ImportCounts& counts)
{
    std::vector<std::string> lines{
        filledIn(texts[text::ImportedFoldersAndLinks],
                 counted(texts, counts.folders, text::OneFolder, text::ManyFolders),
                 counted(texts, counts.links, text::OneLink, text::ManyLinks))};
    for (const auto& [reason, count] : counts.skipped)
        lines.push_back(filledIn(texts[count == 1 ? text::OneEntrySkipped : text::ManyEntriesSkipped],
                                 std::to_string(count), texts[reasonText(reason)]));
    return lines;
}

std::string importSummaryText(const UIText& texts, const std::vector<ImportReport>& reports)
{
    std::string out;
    for (const ImportReport& report : reports) {
        const std::vector<std::string> lines = importSummary(texts, report.counts);
        out += (out.empty() ? "" : "\n\n") + toUtf8(report.topFolder) + ": " + lines.front();
        for (std::size_t i = 1; i < lines.size(); ++i)
            out += "\n" + lines[i];
    }
    return out;
}

} // namespace velloria
