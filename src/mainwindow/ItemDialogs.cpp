#include "mainwindow/ItemDialogs.h"

#include "base/Text.h"
#include "base/TextLines.h"
#include "mainwindow/MainWindowModel.h"
#include "store/FolderNames.h"

namespace velloria {

std::string fieldText(std::string_view typed)
{
    return singleLine(typed);
}

namespace {

// A field shows stored bytes as text and gives back UTF-8. When the user left it as it was, the
// stored bytes are kept: a name written by an older program in Windows-1252 is not re-encoded,
// and so not renamed, because only another field was changed.
bool unchanged(const std::string& stored, std::string_view typed)
{
    return typed == toUtf8(stored);
}

} // namespace

NewItemDialog::NewItemDialog(MainWindowModel& model) : m_model(model)
{
    m_addFolderInFolderChecked = model.prefs().AddFolderInFolder;
    if (model.library().folderTree().empty()) {
        m_linkChoiceEnabled = false;
        m_folderChosen = true;
        model.flags().NewItem = NewItemKind::Folder;
    }
    m_folderChosen = model.flags().NewItem == NewItemKind::Folder;
    if (!m_folderChosen)
        m_address = model.flags().NewItemAddress;
}

void NewItemDialog::chooseFolder()
{
    m_addFolderInFolderChecked = m_model.prefs().AddFolderInFolder;
    m_model.flags().NewItem = NewItemKind::Folder;
    m_folderChosen = true;
}

void NewItemDialog::chooseLink()
{
    if (!m_linkChoiceEnabled)
        return;
    m_model.flags().NewItem = NewItemKind::Link;
    m_folderChosen = false;
}

void NewItemDialog::setAddFolderInFolder(bool checked)
{
    m_addFolderInFolderChecked = checked;
    m_model.preferences().record().AddFolderInFolder = checked;
}

bool NewItemDialog::accept(std::string_view title, std::string_view address, std::string_view description,
                           Confirmation confirmation)
{
    m_added.clear();
    const std::string name = cleanName(fieldText(title));
    const std::string target(trimmed(fieldText(address)));
    const std::string note(trimmed(fieldText(description)));
    ItemEditing& editing = m_model.editing();
    if (!name.empty() && (m_folderChosen || !target.empty()))
        m_added = m_folderChosen ? editing.addFolder(name, note) : editing.addLink(name, target, note);
    return !m_added.empty() || confirmation == Confirmation::OkButton;
}

EditItemDialog::EditItemDialog(MainWindowModel& model)
    : m_model(model), m_editsFolder(model.flags().NewItem == NewItemKind::Folder)
{
    const std::size_t folder = model.tree().selectedFolder();
    if (m_editsFolder) {
        m_title = folder == MainWindowModel::npos ? "" : model.library().folderTree()[folder].Name;
        m_description = model.library().folderDescription();
        return;
    }
    if (model.filter().active() && model.selection().focus() != Pane::Tree) {
        m_editsFiltered = true;
        if (const std::size_t row = model.filter().currentRow(); row != LinkFiltering::npos) {
            const LinkIndex::Link link = model.filter().link(row);
            m_title = link.link.Title;
            m_address = link.link.Address;
            m_description = link.description;
        }
        return;
    }
    const std::size_t row = model.selection().selectedRow();
    if (row == MainWindowModel::npos)
        return;
    m_title = model.library().linkList()[row].Title;
    m_address = model.library().linkList()[row].Address;
    m_description = row < model.library().linkDescriptions().size() ? model.library().linkDescriptions()[row] : "";
}

bool EditItemDialog::accept(std::string_view title, std::string_view address, std::string_view description)
{
    const std::string name = unchanged(m_title, title) ? m_title : cleanName(fieldText(title));
    if (name.empty())
        return false;
    const bool descriptionKept = unchanged(m_description, description);
    ItemEditing& editing = m_model.editing();
    if (m_editsFolder)
        editing.editFolder(name, descriptionKept ? m_description : std::string(trimmed(fieldText(description))));
    else if (m_editsFiltered)
        m_model.filter().editCurrent(name, unchanged(m_address, address) ? m_address : fieldText(address),
                                     descriptionKept ? m_description : fieldText(description));
    else
        editing.editLink(name, unchanged(m_address, address) ? m_address : fieldText(address),
                         descriptionKept ? m_description : fieldText(description));
    return true;
}

} // namespace velloria
