#include "support/LibraryFiles.h"

#include "store/LinkFile.h"

#include <fstream>
#include <sstream>

namespace velloria::test {

namespace fs = std::filesystem;

std::string linkFile(const std::vector<Link>& links)
{
    std::string bytes;
    for (const Link& link : links)
        bytes += crlf({"0 " + link.title, "1 " + link.address, "2 " + link.lastVisit, "3 " + link.added,
                       "4 " + link.description});
    return bytes;
}

void writeLibrary(const TempHome& home, const SmallLibrary& library)
{
    home.makeLibraryDirectories();
    std::string tree, descriptions;
    for (const std::string& line : library.tree)
        tree += line + "\r\n";
    for (const std::string& line : library.descriptions)
        descriptions += line + "\r\n";
    for (const char* suffix : {".wnf", ".~wnf"}) {
        if (suffix[1] == '~' && !library.saved)
            break;
        home.write(std::string("folders") + suffix, tree);
        if (!library.descriptions.empty())
            home.write(std::string("folddesc") + suffix, descriptions);
        for (const auto& [folder, links] : library.links)
            home.write("Links/" + folder + (suffix[1] == '~' ? ".~wnl" : ".wnl"), linkFile(links));
    }
}

std::vector<std::string> linkLines(std::string_view linkFileBytes)
{
    std::vector<std::string> lines;
    for (const TLinkRecord& link : parseLinkFile(linkFileBytes).links)
        lines.push_back(link.Title + " " + link.Address);
    return lines;
}

std::string readBytes(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return "<missing>";
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void writeBytes(const fs::path& file, std::string_view bytes)
{
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary | std::ios::trunc).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::map<std::string, std::string> filesBelow(const fs::path& directory)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(directory)) {
        const std::string relative = fs::relative(entry.path(), directory).string();
        if (entry.is_symlink())
            files[relative] = "-> " + fs::read_symlink(entry.path()).string();
        else if (entry.is_directory())
            files[relative + "/"] = "";
        else
            files[relative] = readBytes(entry.path());
    }
    return files;
}

} // namespace velloria::test
