// The Preferences dialog's logic: what it opens with, what enables Apply, the interval, the
// language editor with its questions and files, Cancel, Delete, Save As, the auto-save timer,
// and files that cannot be written.

#include "mainwindow/PreferencesDialog.h"

#include "mainwindow/MainWindowFixture.h"
#include "settings/Preferences.h"

#include <gmock/gmock.h>

#include <functional>

namespace velloria {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;

const std::string kGerman = test::crlf({"000 1.0", "001 Deutsch", "306 Beschreibung:", "332 Ordner:",
                                        "334 Lesezeichen:", "341 Speichern?", "377 Sprache l\xC3\xB6schen?"});
const std::string kFrench = test::crlf({"000 1.0", "001 Fran\xC3\xA7" "ais", "306 Description :"});
// The French file as the editor holds it: lines separated by LF.
const std::string kFrenchInEditor = "000 1.0\n001 Fran\xC3\xA7" "ais\n306 Description :";

// The sample library with a German and a French language file.
class PreferencesDialogTest : public test::MainWindowFixture {
protected:
    PreferencesDialogTest()
    {
        writeLanguage("Deutsch.lng", kGerman);
        writeLanguage("Francais.lng", kFrench);
    }
    fs::path languages() const { return home.path() / "Languages"; }
    void writeLanguage(const std::string& file, std::string_view bytes) const
    {
        test::writeBytes(languages() / file, bytes);
    }
    std::string readLanguage(const std::string& file) const { return test::readBytes(languages() / file); }
    // Tessel.cfg: every entry, the defaults changed by adjust.
    void storePreferences(const std::function<void(TPreferences&)>& adjust) const
    {
        TPreferences prefs;
        SetDefaultPreferences(prefs, "/home/user");
        adjust(prefs);
        test::writeBytes(home.path() / "Tessel.cfg", writePreferencesFile(prefs));
    }
    // The preferences line of the German file as the language in use (with "013 False").
    std::string germanInUse() const { return "014 " + (languages() / "Deutsch.lng").string(); }
    // Enabled states of Edit, Save, Save As, Delete and Apply, and the editor's, as letters:
    // capitals for enabled (the editor: writable).
    static std::string buttons(const PreferencesDialog& dialog)
    {
        const auto letter = [](bool on, char c) { return on ? c : static_cast<char>(c - 'A' + 'a'); };
        return {letter(dialog.language().editEnabled(), 'E'), letter(dialog.language().saveEnabled(), 'S'),
                letter(dialog.language().saveAsEnabled(), 'A'), letter(dialog.language().deleteEnabled(), 'D'),
                letter(dialog.applyEnabled(), 'P'), letter(!dialog.language().editorReadOnly(), 'W')};
    }
    // The Deutsch file is edited to these lines.
    static void editGerman(PreferencesDialog& dialog, const std::string& lines)
    {
        dialog.language().selectLanguage(1);
        dialog.language().edit();
        dialog.language().editorChanged(lines);
    }
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

TEST_F(PreferencesDialogTest, EveryChangeEnablesApplyAndApplyDisablesIt)
{
    recorder.answer = Answer::Yes;
    const struct {
        const char* name;
        std::function<void(PreferencesDialog&)> change;
        bool enablesApply;
    } cases[] = {
        {"nothing", [](PreferencesDialog&) {}, false},
        {"a page looked at", [](PreferencesDialog& d) { d.setPage(1); }, false},
        {"an edit not saved", [](PreferencesDialog& d) { d.language().edit(), d.language().editorChanged("1"); }, false},
        {"a cancelled Save As", [](PreferencesDialog& d) { d.language().saveAs(std::nullopt); }, false},
        {"check box", [](PreferencesDialog& d) { d.setChecked(PreferenceCheck::Minimized, true); }, true},
        {"interval", [](PreferencesDialog& d) { d.setSaveInterval(5); }, true},
        {"colour", [](PreferencesDialog& d) { d.setColour(3, 0x123456); }, true},
        {"default colours", [](PreferencesDialog& d) { d.setDefaultColours(); }, true},
        {"language", [](PreferencesDialog& d) { d.language().selectLanguage(0); }, true},
        {"save", [](PreferencesDialog& d) { editGerman(d, "001 X"), d.language().save(); }, true},
        {"save as", [&](PreferencesDialog& d) { d.language().saveAs(languages() / "Copy.lng"); }, true},
        {"delete", [](PreferencesDialog& d) { d.language().deleteLanguage(); }, true},
    };
    for (const auto& c : cases) {
        writeLanguage("Deutsch.lng", kGerman);
        open({"000 1.0", "013 False", germanInUse(), "030 1"});
        PreferencesDialog dialog(model);
        c.change(dialog);
        EXPECT_EQ(dialog.applyEnabled(), c.enablesApply) << c.name;
        dialog.apply();
        EXPECT_FALSE(dialog.applyEnabled()) << c.name;
    }
}

TEST_F(PreferencesDialogTest, AnEditedLanguageIsWrittenAtOkAndItsTextsTakeEffect)
{
    show(4);
    recorder.answer = Answer::Yes;
    PreferencesDialog dialog(model);
    editGerman(dialog, "000 1.0\n001 Deutsch\n306 Notiz:\n332 Ordner:\n334 Lesezeichen:\n");
    EXPECT_EQ(buttons(dialog), "ESADPW");
    recorder.notices.clear();
    dialog.apply();
    EXPECT_THAT(recorder.questions, ElementsAre("Save changes?"));
    EXPECT_EQ(readLanguage("Deutsch.lng"),
              test::crlf({"000 1.0", "001 Deutsch", "306 Notiz:", "332 Ordner:", "334 Lesezeichen:"}));
    EXPECT_EQ(model.description().text(), "Notiz: Bee");
    EXPECT_EQ(panels(), (test::Lines{"B", "zeta", "Ordner: 0", "Lesezeichen: 3"}));
    EXPECT_TRUE(preferenceLine("030 1"));
    EXPECT_THAT(recorder.notices, ElementsAre("captions", "colours", "timer", "focus tree"));
}

TEST_F(PreferencesDialogTest, ChoosingAnotherLanguageAsksAboutTheEditsOfThePreviousOne)
{
    PreferencesDialog dialog(model);
    editGerman(dialog, "001 Deutsch (No)");
    recorder.answer = Answer::No;
    dialog.language().selectLanguage(2);
    EXPECT_EQ(readLanguage("Deutsch.lng"), kGerman);
    editGerman(dialog, "001 Deutsch (Yes)");
    recorder.answer = Answer::Yes;
    dialog.language().selectLanguage(2);
    EXPECT_THAT(recorder.questions, ElementsAre("Save changes?", "Save changes?"));
    EXPECT_EQ(readLanguage("Deutsch.lng"), test::crlf({"001 Deutsch (Yes)"}));
    EXPECT_EQ(readLanguage("Francais.lng"), kFrench);
    EXPECT_EQ(dialog.language().editorText(), kFrenchInEditor);
    EXPECT_EQ(buttons(dialog), "EsADPw");
    // A file gone since the list was read leaves the editor as it was.
    fs::remove(languages() / "Deutsch.lng");
    dialog.language().selectLanguage(1);
    EXPECT_EQ(dialog.language().editorText(), kFrenchInEditor);
}

TEST_F(PreferencesDialogTest, CancelKeepsThePreferencesAndWritesOnlyAnEditedLanguage)
{
    open({"000 1.0", "015 255", "019 65280"});
    model.lifecycle().FormDestroy();
    const TPreferences before = model.prefs();
    const std::string file = test::readBytes(home.path() / "Tessel.cfg");
    {
        PreferencesDialog dialog(model);
        dialog.setDefaultColours();
        dialog.setChecked(PreferenceCheck::ConfirmDeleting, false);
        dialog.language().selectLanguage(2);
        dialog.language().edit();
        dialog.language().editorChanged("001 Fran\xC3\xA7" "ais\n306 Notes :");
        recorder.answer = Answer::Yes;
        dialog.cancel();
    }
    EXPECT_THAT(recorder.questions, ElementsAre("Save changes?"));
    EXPECT_EQ(readLanguage("Francais.lng"), test::crlf({"001 Fran\xC3\xA7" "ais", "306 Notes :"}));
    EXPECT_EQ(model.prefs(), before);
    EXPECT_EQ(test::readBytes(home.path() / "Tessel.cfg"), file);
    // With the dialog gone, a save takes nothing from it.
    model.lifecycle().FormDestroy();
    EXPECT_EQ(test::readBytes(home.path() / "Tessel.cfg"), file);
}

TEST_F(PreferencesDialogTest, DeletingTheLanguageInUseGivesTheBuiltInTextsAtOk)
{
    open({"000 1.0", "013 False", germanInUse(), "030 1"});
    ASSERT_EQ(model.texts()[306], "Beschreibung:");
    PreferencesDialog dialog(model); // on the language in use, its file in the editor
    EXPECT_EQ(dialog.language().languagePosition(), 1);
    EXPECT_EQ(dialog.language().editorText().substr(0, 20), "000 1.0\n001 Deutsch\n");
    EXPECT_EQ(buttons(dialog), "EsADpw");
    recorder.answer = Answer::No;
    dialog.language().deleteLanguage();
    EXPECT_EQ(readLanguage("Deutsch.lng"), kGerman);
    recorder.answer = Answer::Yes;
    dialog.language().deleteLanguage();
    EXPECT_THAT(recorder.questions, ElementsAre("Sprache l\xC3\xB6schen?", "Sprache l\xC3\xB6schen?"));
    EXPECT_EQ(readLanguage("Deutsch.lng"), "<missing>");
    EXPECT_THAT(dialog.language().languageNames(), ElementsAre("English (standard)", "Fran\xC3\xA7" "ais (Francais.lng)"));
    EXPECT_EQ(dialog.language().languagePosition(), 0);
    EXPECT_EQ(dialog.language().editorText(), "");
    EXPECT_EQ(buttons(dialog), "esadPw");
    dialog.apply();
    EXPECT_EQ(model.texts()[306], "Description:");
    EXPECT_TRUE(preferenceLine("013 True"));
    EXPECT_TRUE(preferenceLine("014 0"));
    EXPECT_TRUE(preferenceLine("030 0"));
}

TEST_F(PreferencesDialogTest, SaveAsWritesTheChosenFileAndKeepsTheLanguageInUseSelected)
{
    writeLanguage("Albanian.lng", test::crlf({"000 1.0", "001 Shqip"})); // added since the last start
    open({"000 1.0", "013 False", germanInUse(), "030 1"});
    PreferencesDialog dialog(model);
    const auto selectedName = [&] {
        return dialog.language().languageNames()[static_cast<std::size_t>(dialog.language().languagePosition())];
    };
    EXPECT_EQ(selectedName(), "Deutsch (Deutsch.lng)");
    EXPECT_EQ(dialog.language().saveAsProposal(), languages() / "Deutsch.lng");
    EXPECT_EQ(dialog.language().saveAsFilter(), "Language File (*.lng)");
    dialog.language().edit();
    dialog.language().editorChanged("000 1.0\n001 Dansk");
    const std::size_t revision = dialog.language().languageListRevision();
    dialog.language().saveAs(languages() / "Dansk.lng"); // another file that sorts earlier
    EXPECT_TRUE(recorder.questions.empty());
    EXPECT_EQ(readLanguage("Dansk.lng"), test::crlf({"000 1.0", "001 Dansk"}));
    EXPECT_EQ(readLanguage("Deutsch.lng"), kGerman);
    EXPECT_GT(dialog.language().languageListRevision(), revision);
    EXPECT_THAT(dialog.language().languageNames(),
                ElementsAre("English (standard)", "Dansk (Dansk.lng)", "Deutsch (Deutsch.lng)",
                            "Fran\xC3\xA7" "ais (Francais.lng)", "Shqip (Albanian.lng)"));
    EXPECT_EQ(selectedName(), "Deutsch (Deutsch.lng)");
    EXPECT_EQ(buttons(dialog), "EsADPw");
    dialog.apply();
    EXPECT_EQ(model.prefs().LanguageFile, (languages() / "Deutsch.lng").string());
    EXPECT_EQ(model.texts()[306], "Beschreibung:");
}

TEST_F(PreferencesDialogTest, ApplyStartsAndStopsTheAutoSaveTimer)
{
    open({"000 1.0", "005 True", "011 5"});
    ASSERT_EQ(model.lifecycle().autoSaveInterval(), 300000);
    PreferencesDialog dialog(model);
    dialog.setChecked(PreferenceCheck::AutoSave, false);
    EXPECT_FALSE(dialog.saveIntervalEnabled());
    dialog.apply();
    EXPECT_EQ(model.lifecycle().autoSaveInterval(), std::nullopt);
    EXPECT_TRUE(preferenceLine("005 False"));
    dialog.setChecked(PreferenceCheck::AutoSave, true);
    dialog.setSaveInterval(0);
    EXPECT_EQ(dialog.saveInterval(), 1);
    dialog.setSaveInterval(2);
    dialog.apply();
    EXPECT_EQ(model.lifecycle().autoSaveInterval(), 120000);
    EXPECT_TRUE(preferenceLine("005 True"));
    EXPECT_TRUE(preferenceLine("011 2"));
}

TEST_F(PreferencesDialogTest, AFileThatCannotBeWrittenLeavesTheDialogAsItWas)
{
    model.lifecycle().FormCreate();
    PreferencesDialog dialog(model);
    editGerman(dialog, "001 Neu");
    // A directory where a file is to be written: the rename over it fails.
    fs::create_directories(languages() / "Taken.lng");
    const std::size_t revision = dialog.language().languageListRevision();
    EXPECT_THROW(dialog.language().saveAs(languages() / "Taken.lng"), Error);
    EXPECT_EQ(dialog.language().languageListRevision(), revision);
    fs::remove(languages() / "Deutsch.lng");
    fs::create_directories(languages() / "Deutsch.lng");
    recorder.answer = Answer::Yes;
    EXPECT_THROW(dialog.language().save(), Error);
    EXPECT_EQ(buttons(dialog), "ESADPW");
    fs::create_directories(home.path() / "Tessel.cfg");
    EXPECT_THROW(dialog.apply(), Error);
    EXPECT_EQ(buttons(dialog), "ESADPW");
    EXPECT_EQ(recorder.questions.size(), 1u); // Save's question; Apply failed before asking
}

} // namespace
} // namespace velloria
