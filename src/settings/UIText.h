#pragma once

#include "settings/PreferenceRecord.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace velloria {

// The texts of the user interface, by number: 100 to 129 and 132 to 148 menu captions, 200 to
// 215 toolbar hints, 300 to 400 and 419 dialog captions, labels, column headers and messages,
// and from 420 on texts added after the first language files were written.
// In captions "&" marks the accelerator and "&&" is one ampersand.
class UIText {
public:
    static constexpr int kLastNumber = 492;
    static constexpr std::size_t kEntryCount = 238;
    // Entries from this number on are younger than language files of version 1.0 may be: a file
    // that lacks them is complete, and shows them in English.
    static constexpr int kFirstAddedNumber = 420;

    // A new table holds the built-in English texts, so that a language file that gives only some
    // entries never leaves the others empty.
    UIText();

    const std::string& operator[](int number) const;
    void set(int number, std::string text);

    static bool isEntry(int number);
    static bool isAddedEntry(int number) { return number >= kFirstAddedNumber && isEntry(number); }
    static const std::vector<int>& entryNumbers();
    static std::string_view builtIn(int number);

private:
    std::array<std::string, kLastNumber + 1> m_texts;
};

// Every entry to its built-in English text; LanguageIndex to 0.
void SetDefaultTexts(UIText& texts, TPreferences& preferences);

// Fills the table as the preferences say: the built-in texts, or the chosen language file over
// the texts the table holds (the window loads into a new table, so that an entry the file lacks
// shows in English). A missing file or a version other than "1.0" gives the built-in texts; lines
// that are not entries are ignored. Returns the number of lines ignored.
std::size_t LoadLanguage(UIText& texts, TPreferences& preferences);

// Numbers of texts that other parts of the program read directly.
namespace text {
inline constexpr int ColumnTitle = 300;
inline constexpr int LabelTitle = 301;
inline constexpr int ColumnAddress = 302;
inline constexpr int LabelAddress = 303;
inline constexpr int ColumnLastVisit = 304;
inline constexpr int ColumnAddDate = 305;
inline constexpr int Description = 306;
inline constexpr int Folders = 332;
inline constexpr int Bookmarks = 334;
inline constexpr int SaveChanges = 341;
inline constexpr int SearchTextNotFound = 366;
inline constexpr int DatabaseSize = 370;
inline constexpr int FreeSpace = 371;
inline constexpr int LanguageFileFilter = 373;
inline constexpr int DeleteLanguageQuestion = 377;
inline constexpr int ImportingBookmarks = 420;
inline constexpr int ExportingBookmarks = 421;
inline constexpr int SelectFolderFirst = 422;
inline constexpr int AboutDescription = 423;
// The summary of an import ("%1", "%2": the numbers and texts filled in).
inline constexpr int OneFolder = 424;
inline constexpr int ManyFolders = 425;
inline constexpr int OneLink = 426;
inline constexpr int ManyLinks = 427;
inline constexpr int ImportedFoldersAndLinks = 428;
inline constexpr int OneEntrySkipped = 429;
inline constexpr int ManyEntriesSkipped = 430;
inline constexpr int SkippedUnknownEntry = 431;
inline constexpr int SkippedNoAddress = 432;
inline constexpr int SkippedNotWebAddress = 433;
inline constexpr int SkippedCutOff = 434;
inline constexpr int SkippedUnreadable = 435;
// Find Duplicates.
inline constexpr int DuplicateGroupsChecked = 441;
inline constexpr int NoDuplicates = 442;
inline constexpr int ReadInPart = 443;
// Check Links.
inline constexpr int CheckFolderScope = 450;
inline constexpr int CheckedOf = 454;
inline constexpr int AllResults = 456;
inline constexpr int ResultOK = 457; // then Moved, Broken, Error, Not checked
inline constexpr int ResultMoved = 458;
inline constexpr int ResultBroken = 459;
inline constexpr int ResultError = 460;
inline constexpr int ResultNotChecked = 461;
inline constexpr int CheckSummary = 466;
inline constexpr int HttpStatus = 467;
inline constexpr int HttpStatusTwice = 468;
inline constexpr int HostNotFound = 469;
inline constexpr int NoConnection = 470;
inline constexpr int TimedOutTwice = 471;
inline constexpr int SecureConnectionFailed = 472;
inline constexpr int TooManyRedirects = 473;
inline constexpr int RedirectNotChecked = 474;
inline constexpr int NotValidWebAddress = 475;
inline constexpr int NotWebAddress = 476;
inline constexpr int CheckCancelled = 477;
// The filter above the link list.
inline constexpr int FilterPlaceholder = 478;
inline constexpr int FilterMatches = 479;
inline constexpr int ColumnFolder = 480;
inline constexpr int DropTargetDamaged = 481;
// The import dialog's pages, XBEL and the browsers on this computer.
inline constexpr int FromFiles = 482;
inline constexpr int FromBrowser = 483;
inline constexpr int ImportXbelGroup = 484;
inline constexpr int ImportXbelCheck = 485;
inline constexpr int ExportXbelGroup = 486;
inline constexpr int ColumnBrowser = 487;
inline constexpr int ColumnProfile = 488;
inline constexpr int ColumnBookmarks = 489;
inline constexpr int ColumnLocation = 490;
inline constexpr int NoBrowserProfile = 491;
inline constexpr int ProfileUnreadable = 492;
} // namespace text

// A text of the table with "%1" and "%2" replaced; with "%1" to "%9" by the values given.
std::string filledIn(std::string_view pattern, const std::string& first, const std::string& second = {});
std::string filledIn(std::string_view pattern, const std::vector<std::string>& values);
// "1 folder", "3 folders": the text for one or the text for any other number, filled in.
std::string counted(const UIText& texts, std::size_t count, int one, int many);

} // namespace velloria
