// The Preferences dialog's logic: what it opens with, what enables Apply, the interval, the
// language editor with its questions and files, Cancel, Delete, Save As, the auto-save timer,
// and files that cannot be written.

#include "mainwindow/PreferencesDialog.h"

#include "base/Error.h"
#include "mainwindow/MainWindowFixture.h"
#include "settings/Preferences.h"

#include <gmock/gmock.h>

#include <fstream>

namespace velloria {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

const std::string kGerman = test::crlf({"000 1.0", "001 Deutsch", "306 Beschreibung:", "332 Ordner:",
                                        "334 Lesezeichen:", "341 Speichern?", "377 Sprache l\xC3\xB6schen?"});
const std::string kFrench = test::crlf({"000 1.0", "001 Fran\xC3\xA7" "ais", "306 Description :"});

// Lines as the editor holds them: separated by LF.
std::string editorLines(std::initializer_list<std::string_view> lines)
{
    std::string text;
    for (std::string_view line : lines)
        text += (text.empty() ? "" : "\n") + std::string(line);
    return text;
}

class PreferencesView : public test::RecordingView {
public:
    void coloursChanged() override { notices.push_back("colours"); }
    void dialogRequested(DialogKind kind) override
    {
        notices.push_back(kind == DialogKind::Preferences ? "dialog preferences" : "another dialog");
    }
};

class PreferencesDialogTest : public test::MainWindowFixture {
protected:
    PreferencesDialogTest()
    {
        model.setObserver(&prefsView);
        writeLanguage("Deutsch.lng", kGerman);
        writeLanguage("Francais.lng", kFrench);
    }

    fs::path languages() const { return home.path() / "Languages"; }
    // Tessel.cfg: the defaults, changed by adjust.
    void storePreferences(const std::function<void(TPreferences&)>& adjust) const
    {
        TPreferences prefs;
        SetDefaultPreferences(prefs, "/home/user");
        adjust(prefs);
        std::ofstream(home.path() / "Tessel.cfg", std::ios::binary) << writePreferencesFile(prefs);
    }
    // The language of the file is in use.
    void useLanguage(TPreferences& prefs, const std::string& file, int position) const
    {
        prefs.UseDefaultLanguage = false;
        prefs.LanguageFile = (languages() / file).string();
        prefs.LanguageIndex = position;
    }
    void writeLanguage(const std::string& file, std::string_view bytes) const
    {
        fs::create_directories(languages());
        std::ofstream(languages() / file, std::ios::binary) << bytes;
    }
    // Enabled states of Edit, Save, Save As, Delete and Apply, and the editor's, as letters:
    // capitals for enabled (the editor: writable).
    static std::string buttons(const PreferencesDialog& dialog)
    {
        const auto letter = [](bool on, char c) { return on ? c : static_cast<char>(c - 'A' + 'a'); };
        return {letter(dialog.language().editEnabled(), 'E'), letter(dialog.language().saveEnabled(), 'S'),
                letter(dialog.language().saveAsEnabled(), 'A'), letter(dialog.language().deleteEnabled(), 'D'),
                letter(dialog.applyEnabled(), 'P'), letter(!dialog.language().editorReadOnly(), 'W')};
    }

    PreferencesView prefsView;
};

TEST_F(PreferencesDialogTest, OpensWithThePreferencesOnTheBuiltInLanguage)
{
    storePreferences([](TPreferences& prefs) {
        prefs.ConfirmDeleting = false;
        prefs.AutoSave = true;
        prefs.CreateTrayIcon = false;
        prefs.SaveInterval = 90;
        prefs.MenuItemColor = 255;
        prefs.PreferencesPage = 2;
    });
    model.lifecycle().FormCreate();
    {
        PreferencesDialog dialog(model);
        EXPECT_TRUE(model.preferences().preferencesDialogExists());
        std::vector<bool> checks;
        for (std::size_t i = 0; i < kPreferenceCheckCount; ++i)
            checks.push_back(dialog.checked(PreferenceCheck(i)));
        EXPECT_THAT(checks, ElementsAre(false, true, false, false, false, true));
        EXPECT_EQ(dialog.saveInterval(), 60);
        EXPECT_TRUE(dialog.saveIntervalEnabled());
        EXPECT_EQ(dialog.page(), 2);
        std::vector<TColor> colours;
        for (std::size_t i = 0; i < kPreferenceColourCount; ++i)
            colours.push_back(dialog.colour(i));
        EXPECT_THAT(colours, ElementsAre(13003057, 255, clWindowText, 0, clWindow, clWindowText, clWindow, clWindowText));
        EXPECT_THAT(dialog.language().languageNames(),
                    ElementsAre("English (standard)", "Deutsch (Deutsch.lng)", "Fran\xC3\xA7" "ais (Francais.lng)"));
        EXPECT_EQ(dialog.language().languagePosition(), 0);
        EXPECT_EQ(dialog.language().editorText(), "");
        EXPECT_EQ(buttons(dialog), "esadpw");
    }
    EXPECT_FALSE(model.preferences().preferencesDialogExists());
}

TEST_F(PreferencesDialogTest, TheToolsCommandAsksForTheDialog)
{
    model.lifecycle().FormCreate();
    prefsView.notices.clear();
    EXPECT_TRUE(model.execute(Command::ToolsPreferences));
    EXPECT_THAT(prefsView.notices, ElementsAre("dialog preferences"));
}

TEST_F(PreferencesDialogTest, OpensOnTheStoredLanguageWithItsFileInTheEditor)
{
    storePreferences([&](TPreferences& prefs) { useLanguage(prefs, "Francais.lng", 2); });
    model.lifecycle().FormCreate();
    PreferencesDialog dialog(model);
    EXPECT_FALSE(dialog.saveIntervalEnabled());
    EXPECT_EQ(dialog.language().languagePosition(), 2);
    EXPECT_EQ(dialog.language().editorText(), editorLines({"000 1.0", "001 Fran\xC3\xA7" "ais", "306 Description :"}));
    EXPECT_EQ(buttons(dialog), "EsADpw");
    dialog.setChecked(PreferenceCheck::AutoSave, true);
    EXPECT_TRUE(dialog.saveIntervalEnabled());
    dialog.setSaveInterval(0);
    EXPECT_EQ(dialog.saveInterval(), 1);
}

TEST_F(PreferencesDialogTest, EveryChangeEnablesApplyAndApplyDisablesIt)
{
    model.lifecycle().FormCreate();
    prefsView.answer = Answer::Yes;
    const std::vector<std::pair<std::string, std::function<void(PreferencesDialog&)>>> changes = {
        {"check box", [](PreferencesDialog& d) { d.setChecked(PreferenceCheck::Minimized, true); }},
        {"interval", [](PreferencesDialog& d) { d.setSaveInterval(5); }},
        {"colour", [](PreferencesDialog& d) { d.setColour(3, 0x123456); }},
        {"default colours", [](PreferencesDialog& d) { d.setDefaultColours(); }},
        {"language", [](PreferencesDialog& d) { d.language().selectLanguage(0); }},
        {"save", [](PreferencesDialog& d) { d.language().edit(); d.language().editorChanged("001 X"); d.language().save(); }},
        {"save as", [&](PreferencesDialog& d) { d.language().saveAs(languages() / "Copy.lng"); }},
        {"delete", [](PreferencesDialog& d) { d.language().deleteLanguage(); }},
    };
    for (const auto& [name, change] : changes) {
        writeLanguage("Deutsch.lng", kGerman);
        fs::remove(languages() / "Copy.lng");
        storePreferences([&](TPreferences& prefs) { useLanguage(prefs, "Deutsch.lng", 1); });
        model.preferences().LoadPreferences();
        PreferencesDialog dialog(model);
        change(dialog);
        EXPECT_TRUE(dialog.applyEnabled()) << name;
        dialog.apply();
        EXPECT_FALSE(dialog.applyEnabled()) << name;
    }
    // Looking at a page, editing without saving and a cancelled Save As change nothing.
    writeLanguage("Deutsch.lng", kGerman);
    storePreferences([&](TPreferences& prefs) { useLanguage(prefs, "Deutsch.lng", 1); });
    model.preferences().LoadPreferences();
    PreferencesDialog dialog(model);
    dialog.setPage(1);
    dialog.language().edit();
    dialog.language().editorChanged("001 Y");
    EXPECT_TRUE(dialog.language().saveEnabled());
    dialog.language().saveAs(std::nullopt);
    EXPECT_FALSE(dialog.applyEnabled());
}

TEST_F(PreferencesDialogTest, AnEditedLanguageIsWrittenAtOkAndItsTextsTakeEffect)
{
    show(4);
    prefsView.answer = Answer::Yes;
    PreferencesDialog dialog(model);
    dialog.language().selectLanguage(1);
    dialog.language().edit();
    const std::initializer_list<std::string_view> edited = {"000 1.0", "001 Deutsch", "306 Notiz:", "332 Ordner:", "334 Lesezeichen:"};
    dialog.language().editorChanged(editorLines(edited) + "\n");
    EXPECT_EQ(buttons(dialog), "ESADPW");
    prefsView.notices.clear();
    dialog.apply();
    EXPECT_THAT(prefsView.questions, ElementsAre("Save changes?"));
    EXPECT_EQ(homeFile("Languages/Deutsch.lng"), test::crlf(edited));
    EXPECT_FALSE(dialog.language().saveEnabled());
    EXPECT_EQ(model.texts()[306], "Notiz:");
    EXPECT_EQ(model.description().text(), "Notiz: Bee");
    EXPECT_EQ(panels()[2], "Ordner: 0");
    EXPECT_EQ(panels()[3], "Lesezeichen: 3");
    EXPECT_FALSE(model.prefs().UseDefaultLanguage);
    EXPECT_EQ(model.prefs().LanguageFile, (languages() / "Deutsch.lng").string());
    EXPECT_NE(homeFile("Tessel.cfg").find("\r\n030 1\r\n"), std::string::npos);
    EXPECT_THAT(prefsView.notices, ElementsAre("captions", "colours", "timer", "focus tree"));
}

TEST_F(PreferencesDialogTest, ChoosingAnotherLanguageAsksAboutTheEditsOfThePreviousOne)
{
    PreferencesDialog dialog(model);
    dialog.language().selectLanguage(1);
    dialog.language().edit();
    dialog.language().editorChanged("001 Deutsch (No)");
    prefsView.answer = Answer::No;
    dialog.language().selectLanguage(2);
    EXPECT_EQ(homeFile("Languages/Deutsch.lng"), kGerman);
    dialog.language().selectLanguage(1);
    dialog.language().edit();
    dialog.language().editorChanged("001 Deutsch (Yes)");
    prefsView.answer = Answer::Yes;
    dialog.language().selectLanguage(2);
    EXPECT_THAT(prefsView.questions, ElementsAre("Save changes?", "Save changes?"));
    EXPECT_EQ(homeFile("Languages/Deutsch.lng"), test::crlf({"001 Deutsch (Yes)"}));
    EXPECT_EQ(homeFile("Languages/Francais.lng"), kFrench);
    EXPECT_EQ(dialog.language().editorText(), editorLines({"000 1.0", "001 Fran\xC3\xA7" "ais", "306 Description :"}));
    EXPECT_EQ(buttons(dialog), "EsADPw");
    // A file gone since the list was read leaves the editor as it was.
    fs::remove(languages() / "Deutsch.lng");
    dialog.language().selectLanguage(1);
    EXPECT_EQ(dialog.language().editorText(), editorLines({"000 1.0", "001 Fran\xC3\xA7" "ais", "306 Description :"}));
}

TEST_F(PreferencesDialogTest, CancelKeepsThePreferencesAndWritesOnlyAnEditedLanguage)
{
    storePreferences([](TPreferences& prefs) {
        prefs.MenuItemFrameColor = 255;
        prefs.TreeBackgroundColor = 65280;
    });
    model.lifecycle().FormCreate();
    model.lifecycle().FormDestroy();
    const TPreferences before = model.prefs();
    const std::string file = homeFile("Tessel.cfg");
    {
        PreferencesDialog dialog(model);
        dialog.setDefaultColours();
        dialog.setChecked(PreferenceCheck::ConfirmDeleting, false);
        dialog.language().selectLanguage(2);
        dialog.language().edit();
        dialog.language().editorChanged("001 Fran\xC3\xA7" "ais\n306 Notes :");
        prefsView.answer = Answer::Yes;
        dialog.cancel();
    }
    EXPECT_THAT(prefsView.questions, ElementsAre("Save changes?"));
    EXPECT_EQ(homeFile("Languages/Francais.lng"), test::crlf({"001 Fran\xC3\xA7" "ais", "306 Notes :"}));
    EXPECT_EQ(model.prefs(), before);
    EXPECT_EQ(homeFile("Tessel.cfg"), file);
    // With the dialog gone, a save takes nothing from it.
    model.lifecycle().FormDestroy();
    EXPECT_EQ(homeFile("Tessel.cfg"), file);
}

TEST_F(PreferencesDialogTest, DeletingTheLanguageInUseGivesTheBuiltInTextsAtOk)
{
    storePreferences([&](TPreferences& prefs) { useLanguage(prefs, "Deutsch.lng", 1); });
    model.lifecycle().FormCreate();
    ASSERT_EQ(model.texts()[306], "Beschreibung:");
    PreferencesDialog dialog(model);
    prefsView.answer = Answer::No;
    dialog.language().deleteLanguage();
    EXPECT_EQ(homeFile("Languages/Deutsch.lng"), kGerman);
    prefsView.answer = Answer::Yes;
    dialog.language().deleteLanguage();
    EXPECT_THAT(prefsView.questions, ElementsAre("Sprache l\xC3\xB6schen?", "Sprache l\xC3\xB6schen?"));
    EXPECT_EQ(homeFile("Languages/Deutsch.lng"), "<missing>");
    EXPECT_THAT(dialog.language().languageNames(), ElementsAre("English (standard)", "Fran\xC3\xA7" "ais (Francais.lng)"));
    EXPECT_EQ(dialog.language().languagePosition(), 0);
    EXPECT_EQ(dialog.language().editorText(), "");
    EXPECT_EQ(buttons(dialog), "esadPw");
    dialog.apply();
    EXPECT_EQ(model.texts()[306], "Description:");
    EXPECT_TRUE(model.prefs().UseDefaultLanguage);
    EXPECT_EQ(model.prefs().LanguageFile, "0");
    EXPECT_EQ(model.prefs().LanguageIndex, 0);
}

TEST_F(PreferencesDialogTest, SaveAsWritesTheChosenFileAndShowsTheStoredLanguageAgain)
{
    model.lifecycle().FormCreate();
    PreferencesDialog dialog(model);
    dialog.language().selectLanguage(1);
    EXPECT_EQ(dialog.language().saveAsProposal(), languages() / "Deutsch.lng");
    EXPECT_EQ(dialog.language().saveAsFilter(), "Language File (*.lng)");
    dialog.language().edit();
    dialog.language().editorChanged("000 1.0\n001 Dansk");
    const std::size_t revision = dialog.language().languageListRevision();
    dialog.language().saveAs(languages() / "Dansk.lng");
    EXPECT_THAT(prefsView.questions, IsEmpty());
    EXPECT_EQ(homeFile("Languages/Dansk.lng"), test::crlf({"000 1.0", "001 Dansk"}));
    EXPECT_EQ(homeFile("Languages/Deutsch.lng"), kGerman);
    EXPECT_GT(dialog.language().languageListRevision(), revision);
    EXPECT_THAT(dialog.language().languageNames(), ElementsAre("English (standard)", "Dansk (Dansk.lng)", "Deutsch (Deutsch.lng)",
                                                    "Fran\xC3\xA7" "ais (Francais.lng)"));
    EXPECT_EQ(dialog.language().languagePosition(), 0);
    EXPECT_EQ(buttons(dialog), "esadPw");
}

TEST_F(PreferencesDialogTest, TheLanguageInUseStaysSelectedWhenAFileSortsBeforeIt)
{
    storePreferences([&](TPreferences& prefs) { useLanguage(prefs, "Deutsch.lng", 1); });
    writeLanguage("Albanian.lng", test::crlf({"000 1.0", "001 Shqip"})); // added since the last start
    model.lifecycle().FormCreate();
    PreferencesDialog dialog(model);
    EXPECT_EQ(dialog.language().languageNames()[static_cast<std::size_t>(dialog.language().languagePosition())], "Deutsch (Deutsch.lng)");
    dialog.language().saveAs(languages() / "Amharic.lng"); // another file that sorts earlier
    EXPECT_EQ(dialog.language().languageNames()[static_cast<std::size_t>(dialog.language().languagePosition())], "Deutsch (Deutsch.lng)");
    dialog.apply();
    EXPECT_EQ(model.prefs().LanguageFile, (languages() / "Deutsch.lng").string());
    EXPECT_EQ(model.texts()[306], "Beschreibung:");
}

TEST_F(PreferencesDialogTest, ApplyStartsAndStopsTheAutoSaveTimer)
{
    storePreferences([](TPreferences& prefs) {
        prefs.AutoSave = true;
        prefs.SaveInterval = 5;
    });
    model.lifecycle().FormCreate();
    ASSERT_EQ(model.lifecycle().autoSaveInterval(), 300000);
    PreferencesDialog dialog(model);
    dialog.setChecked(PreferenceCheck::AutoSave, false);
    dialog.apply();
    EXPECT_EQ(model.lifecycle().autoSaveInterval(), std::nullopt);
    dialog.setChecked(PreferenceCheck::AutoSave, true);
    dialog.setSaveInterval(2);
    dialog.apply();
    EXPECT_EQ(model.lifecycle().autoSaveInterval(), 120000);
    EXPECT_NE(homeFile("Tessel.cfg").find("\r\n011 2\r\n"), std::string::npos);
}

TEST_F(PreferencesDialogTest, AFileThatCannotBeWrittenLeavesTheDialogAsItWas)
{
    model.lifecycle().FormCreate();
    PreferencesDialog dialog(model);
    dialog.language().selectLanguage(1);
    dialog.language().edit();
    dialog.language().editorChanged("001 Neu");
    // A directory where a file is to be written: the rename over it fails.
    fs::create_directories(languages() / "Taken.lng");
    const std::size_t revision = dialog.language().languageListRevision();
    EXPECT_THROW(dialog.language().saveAs(languages() / "Taken.lng"), Error);
    EXPECT_EQ(dialog.language().languageListRevision(), revision);
    fs::remove(languages() / "Deutsch.lng");
    fs::create_directories(languages() / "Deutsch.lng");
    prefsView.answer = Answer::Yes;
    EXPECT_THROW(dialog.language().save(), Error);
    EXPECT_EQ(buttons(dialog), "ESADPW");
    fs::create_directories(home.path() / "Tessel.cfg");
    EXPECT_THROW(dialog.apply(), Error);
    EXPECT_EQ(buttons(dialog), "ESADPW");
    EXPECT_EQ(prefsView.questions.size(), 1u); // Save's question; Apply failed before asking
}

} // namespace
} // namespace velloria
