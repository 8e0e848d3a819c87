#include "support/Fixtures.h"

namespace velloria::test {

SmallLibrary sampleLibrary()
{
    return {.tree = {"Top", "\tA", "\t\tA1", "\t\tA2", "\tB", "Other"},
            .descriptions = {"Top", "The top", "B", "Bee"},
            .links = {{"B",
                       {{"zeta", "https://z.example/", "", "2026.1.3", "last by title"},
                        {"Alpha", "a.example/path", "2026.10.1", "2026.1.1", "first by title"},
                        {"mid", "mailto:mid@example.org", "2026.9.30", "2026.1.2", "middle"}}}}};
}

Lines WindowTest::tree() const
{
    Lines lines;
    for (const auto& folder : model.library().folderTree().records())
        lines.push_back(std::string(static_cast<std::size_t>(folder.Level), '.') + folder.Name);
    return lines;
}

Lines WindowTest::titles() const
{
    Lines result;
    for (const TLinkRecord& link : model.library().linkList())
        result.push_back(link.Title);
    return result;
}

} // namespace velloria::test
