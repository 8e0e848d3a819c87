// The Preferences dialog's logic: what it opens with, enables and writes, and its language editor.

#include "mainwindow/PreferencesDialog.h"

#include "mainwindow/MainWindowFixture.h"

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
    // The preferences line of the German file as the language in use (with "013 False").
    std::string germanInUse() const { return "014 " + (languages() / "Deutsch.lng").string(); }
    // Edit, Save, Save As, Delete, Apply and the editor as letters: capitals for enabled (the editor: writable).
    static std::string buttons(const PreferencesDialog& dialog)
    {
        const auto letter = [](bool on, char c) { return on ? c : static_cast<char>(c - 'A' + 'a'); };
        return {letter(dialog.language().editEnabled(), 'E'), letter(dialog.language().saveEnabled(), 'S'),
                letter(dialog.language().saveAsEnabled(), 'A'), letter(dialog.language().deleteEnabled(), 'D'),
                letter(dialog.applyEnabled(), 'P'), letter(!dialog.language().editorReadOnly(), 'W')};
    }
    static void editGerman(PreferencesDialog& dialog, const std::string& lines)
    {
        dialog.language().selectLanguage(1);
        dialog.language().edit();
        dialog.language().editorChanged(lines);
    }
};

TEST_F(PreferencesDialogTest, OpensWithThePreferencesOnTheBuiltInLanguage)
{
    open({"000 1.0", "003 False", "005 True", "008 False", "011 90", "012 True", "015 1", "016 2", "017 3", "018 4",
          "019 5", "020 6", "021 7", "022 8"});
    PreferencesDialog dialog(model);
    std::vector<bool> checks;
    for (std::size_t i = 0; i < kPreferenceCheckCount; ++i)
        checks.push_back(dialog.checked(PreferenceCheck(i)));
    EXPECT_THAT(checks, ElementsAre(false, true, false, false, false, true));
    EXPECT_EQ(dialog.saveInterval(), 60);
    EXPECT_TRUE(dialog.saveIntervalEnabled());
    std::vector<TColor> colours;
    for (std::size_t i = 0; i < kPreferenceColourCount; ++i)
        colours.push_back(dialog.colour(i));
    EXPECT_THAT(colours, ElementsAre(1, 2, 3, 4, 5, 6, 7, 8));
    EXPECT_EQ(dialog.language().languagePosition(), 0);
    EXPECT_EQ(buttons(dialog), "esadpw");
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
        {"an edit not saved", [](PreferencesDialog& d) { d.language().edit(), d.language().editorChanged("1"); }, false},
        {"check box", [](PreferencesDialog& d) { d.setChecked(PreferenceCheck::Minimized, true); }, true},
        {"interval", [](PreferencesDialog& d) { d.setSaveInterval(5); }, true},
        {"colour", [](PreferencesDialog& d) { d.setColour(3, 0x123456); }, true},
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
    EXPECT_EQ(dialog.language().editorText(), kFrenchInEditor);
    EXPECT_EQ(buttons(dialog), "EsADPw");
}

TEST_F(PreferencesDialogTest, CancelKeepsThePreferencesAndWritesOnlyAnEditedLanguage)
{
    open({"000 1.0", "015 255", "019 65280"});
    model.lifecycle().FormDestroy();
    const auto before = model.prefs();
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
    EXPECT_EQ(dialog.language().languagePosition(), 1);
    EXPECT_EQ(dialog.language().saveAsProposal(), languages() / "Deutsch.lng");
    dialog.language().edit();
    dialog.language().editorChanged("000 1.0\n001 Dansk");
    dialog.language().saveAs(languages() / "Dansk.lng"); // another file that sorts earlier
    EXPECT_TRUE(recorder.questions.empty());
    EXPECT_EQ(readLanguage("Dansk.lng"), test::crlf({"000 1.0", "001 Dansk"}));
    EXPECT_EQ(readLanguage("Deutsch.lng"), kGerman);
    EXPECT_THAT(dialog.language().languageNames(),
                ElementsAre("English (standard)", "Dansk (Dansk.lng)", "Deutsch (Deutsch.lng)",
                            "Fran\xC3\xA7" "ais (Francais.lng)", "Shqip (Albanian.lng)"));
    EXPECT_EQ(dialog.language().languagePosition(), 2); // Deutsch, still
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

} // namespace
} // namespace velloria
