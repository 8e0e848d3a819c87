#include "settings/LanguageCheck.h"

#include "base/Text.h"
#include "settings/NumberedLines.h"
#include "settings/UIText.h"

#include <map>

namespace velloria {

namespace {

struct Menu {
    std::string_view name;
    std::vector<int> texts;
};

// The captions that share one menu, and so must not share an accelerator.
const std::vector<Menu>& menus()
{
    static const std::vector<Menu> all = {
        {"menu bar", {100, 105, 137, 117, 128}},
        {"File menu", {103, 101, 102, 114, 104}},
        {"Edit menu", {106, 107, 108, 109, 135, 136, 110, 111, 112, 113, 115, 116}},
        {"View menu", {138, 139, 140, 141, 142, 143, 144, 145, 146, 147}},
        {"Tools menu", {118, 119, 148, 127}},
        {"Help menu", {129, 132, 133, 134}},
        {"context menu", {118, 119, 135, 136, 107, 108, 109, 110, 111, 112, 113}},
        {"tray menu", {363, 127, 364, 365, 104}},
    };
    return all;
}

void checkLines(std::string_view bytes, std::vector<std::string>& findings, std::map<int, std::string>& texts)
{
    bool versionSeen = false;
    bool nameSeen = false;
    for (const NumberedLine& line : parseNumberedLines(bytes)) {
        const std::string where = "Line " + std::to_string(line.lineNumber) + ": ";
        if (line.isComment())
            continue;
        if (!line.number) {
            findings.push_back(where + "\"" + toUtf8(line.key) + "\" is not an entry number; the line is ignored");
            continue;
        }
        const int number = *line.number;
        if (number == 0) {
            versionSeen = true;
            if (line.value != "1.0")
                findings.push_back(where + "entry 000 reads \"" + toUtf8(line.value)
                                   + "\"; it must read \"1.0\", or the file is not used");
        } else if (number == 1) {
            nameSeen = true;
        } else if (!UIText::isEntry(number)) {
            findings.push_back(where + "entry " + entryNumberText(number) + " is not a text of the program; it is ignored");
        } else if (!texts.emplace(number, std::string(line.value)).second) {
            findings.push_back(where + "entry " + entryNumberText(number) + " is given again; this later text counts");
            texts[number] = std::string(line.value);
        }
    }
    if (!versionSeen)
        findings.push_back("Entry 000 (the version \"1.0\") is missing");
    if (!nameSeen)
        findings.push_back("Entry 001 (the language's name) is missing; the file is not offered in the language list");
}

void checkMissing(const std::map<int, std::string>& texts, std::vector<std::string>& findings)
{
    for (int number : UIText::entryNumbers())
        if (!texts.contains(number) && !UIText::isAddedEntry(number))
            findings.push_back("Entry " + entryNumberText(number) + " is missing (English: \""
                               + std::string(UIText::builtIn(number)) + "\")");
}

void checkAccelerators(const std::map<int, std::string>& texts, std::vector<std::string>& findings)
{
    for (const Menu& menu : menus()) {
        std::map<std::string, int> owner;
        for (int number : menu.texts) {
            const auto it = texts.find(number);
            const std::string key = it == texts.end() ? "" : acceleratorOf(it->second);
            if (key.empty())
                continue;
            const auto [previous, inserted] = owner.emplace(key, number);
            if (!inserted)
                findings.push_back("The " + std::string(menu.name) + " uses the accelerator \"" + key + "\" twice: "
                                   + entryNumberText(previous->second) + " \"" + toUtf8(texts.at(previous->second))
                                   + "\" and " + entryNumberText(number) + " \"" + toUtf8(it->second) + "\"");
        }
    }
}

} // namespace

std::string acceleratorOf(std::string_view caption)
{
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&')
            continue;
        if (caption[i + 1] == '&') {
            ++i;
            continue;
        }
        // The accelerator is one character, which in UTF-8 may take several bytes.
        std::size_t end = i + 2;
        while (end < caption.size() && (static_cast<unsigned char>(caption[end]) & 0xC0) == 0x80)
            ++end;
        return foldCase(caption.substr(i + 1, end - i - 1));
    }
    return "";
}

std::vector<std::string> checkLanguageFile(std::string_view bytes)
{
    std::vector<std::string> findings;
    std::map<int, std::string> texts;
    checkLines(bytes, findings, texts);
    checkMissing(texts, findings);
    checkAccelerators(texts, findings);
    return findings;
}

std::vector<std::string> untranslatedAddedEntries(std::string_view bytes)
{
    std::vector<std::string> ignored;
    std::map<int, std::string> texts;
    checkLines(bytes, ignored, texts);
    std::vector<std::string> notes;
    for (int number : UIText::entryNumbers())
        if (UIText::isAddedEntry(number) && !texts.contains(number))
            notes.push_back("Entry " + entryNumberText(number) + " is not translated; it shows in English: \""
                            + std::string(UIText::builtIn(number)) + "\"");
    return notes;
}

} // namespace velloria
