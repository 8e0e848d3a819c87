#include "mainwindow/DuplicatesDialog.h"

#include "mainwindow/DeleteConfirmation.h"
#include "mainwindow/MainWindowModel.h"

namespace velloria {

DuplicatesDialog::DuplicatesDialog(MainWindowModel& model)
    : m_model(model), m_rule(model.flags().DuplicatesLoose ? SameLinkRule::Loose : SameLinkRule::Exact)
{
    readLibrary();
}

void DuplicatesDialog::readLibrary()
{
    m_groups.clear();
    m_links = {}; // the links read before go first, so that the two never fill memory together
    m_links = readLibraryLinks(m_model.library());
    regroup();
}

void DuplicatesDialog::regroup()
{
    m_groups = findDuplicates(m_links.links, m_rule);
    m_checked.assign(m_groups.size(), {});
    for (std::size_t group = 0; group < m_groups.size(); ++group)
        for (std::size_t member = 0; member < m_groups[group].links.size(); ++member)
            m_checked[group].push_back(proposedForDeletion(m_groups[group], member, m_links.links));
}

void DuplicatesDialog::setLoose(bool loose)
{
    m_rule = loose ? SameLinkRule::Loose : SameLinkRule::Exact;
    m_model.flags().DuplicatesLoose = loose;
    regroup();
}

const LibraryLink& DuplicatesDialog::link(std::size_t group, std::size_t member) const
{
    return m_links.links[m_groups[group].links[member]];
}

std::string DuplicatesDialog::folderPath(std::size_t group, std::size_t member) const
{
    return velloria::folderPath(m_model.library().folderTree(), link(group, member).folder);
}

std::string DuplicatesDialog::groupLine(std::size_t group) const
{
    const DuplicateGroup& g = m_groups[group];
    return std::string(link(group, g.kept).link.Address) + "  ("
         + counted(m_model.texts(), g.links.size(), text::OneLink, text::ManyLinks) + ")";
}

bool DuplicatesDialog::checkable(std::size_t group, std::size_t member) const
{
    return link(group, member).writable;
}

bool DuplicatesDialog::checked(std::size_t group, std::size_t member) const
{
    return m_checked[group][member];
}

void DuplicatesDialog::setChecked(std::size_t group, std::size_t member, bool checked)
{
    m_checked[group][member] = checked && checkable(group, member);
}

std::size_t DuplicatesDialog::checkedCount() const
{
    std::size_t count = 0;
    for (const auto& group : m_checked)
        for (const bool checked : group)
            count += checked ? 1 : 0;
    return count;
}

std::string DuplicatesDialog::summary() const
{
    const UIText& texts = m_model.texts();
    std::string shown = m_groups.empty() ? texts[text::NoDuplicates]
                                         : filledIn(texts[text::DuplicateGroupsChecked], std::to_string(m_groups.size()),
                                                    std::to_string(checkedCount()));
    for (const std::string& problem : m_links.problems) {
        shown += '\n';
        shown += filledIn(texts[text::ReadInPart], problem);
    }
    return shown;
}

std::vector<std::string> DuplicatesDialog::deletionLines() const
{
    std::vector<std::string> lines;
    for (std::size_t group = 0; group < m_groups.size(); ++group)
        for (std::size_t member = 0; member < m_groups[group].links.size(); ++member)
            if (m_checked[group][member])
                lines.push_back(DeleteConfirmation::lineOf(m_model, link(group, member)));
    return lines;
}

std::size_t DuplicatesDialog::deleteChecked()
{
    std::vector<LibraryLink> chosen;
    std::vector<bool> gone(m_links.links.size());
    for (std::size_t group = 0; group < m_groups.size(); ++group)
        for (std::size_t member = 0; member < m_groups[group].links.size(); ++member)
            if (m_checked[group][member]) {
                chosen.push_back(link(group, member));
                gone[m_groups[group].links[member]] = true;
            }
    if (chosen.empty())
        return 0;
    std::size_t deleted = 0;
    try {
        deleted = m_model.deleting().deleteLinks(chosen);
    } catch (...) {
        readLibrary(); // what the failure left
        throw;
    }
    if (deleted != chosen.size()) {
        readLibrary(); // some were no longer where they were read: the files say what is left
        return deleted;
    }
    dropLinks(m_links.links, gone); // the rest stays as it was read
    regroup();
    return deleted;
}

void DuplicatesDialog::open(std::size_t group, std::size_t member)
{
    m_model.list().openAddress(link(group, member).link.Address);
}

void DuplicatesDialog::show(std::size_t group, std::size_t member)
{
    const LibraryLink& shown = link(group, member);
    m_model.list().showLink(shown.folder, shown.link, shown.row);
}

} // namespace velloria
