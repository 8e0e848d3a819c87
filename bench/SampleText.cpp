#include "SampleText.h"

#include "base/Clock.h"

#include <string_view>

namespace velloria::bench {

namespace {

// Topics of folders. Some are not ASCII, so that names exercise UTF-8 in file names and the
// case folding of the name checks; none holds a character that a file name cannot.
constexpr std::string_view kTopics[] = {
    "Recipes", "Travel", "Café", "Übersicht", "Programming", "Linux", "Photography", "Garden",
    "Finance", "Taxes", "Music", "Jazz", "Films", "Books", "Science", "Astronomy", "Physics",
    "News", "Sport", "Football", "Cycling", "Health", "Fitness", "Work", "Projects", "Tools",
    "Reference", "Shopping", "Hobbies", "Kids", "School", "University", "Research", "Maps",
    "Weather", "Cars", "Housing", "DIY", "Electronics", "Retro games", "Crème brûlée",
    "Smörgåsbord", "Zürich", "München", "São Paulo", "Kraków", "Ελληνικά", "東京", "Straßen",
    "Naïve art", "Résumés", "Podcasts", "Woodwork", "Knitting", "Chess", "Birds", "Hiking",
    "Climbing", "Sailing", "Languages", "Spanish", "Japanese", "History", "Museums", "Design",
    "Typography", "Fonts", "Databases", "Networking", "Security", "Cloud", "Compilers", "Rust",
    "C++", "Qt", "Python", "Statistics", "Mathematics", "Chemistry", "Biology", "Medicine",
    "Insurance", "Banking", "Pensions", "Energy", "Solar", "Bicycles", "Camping", "Coffee",
    "Tea", "Wine", "Baking", "Vegetables", "Pets", "Dogs", "Cats",
};

constexpr std::string_view kQualifiers[] = {
    "notes", "reading", "ideas", "misc", "links", "old", "new", "tutorials",
    "2019", "2021", "2023", "to do", "favourites", "shops", "forums", "tips",
};

constexpr std::string_view kWords[] = {
    "the", "best", "guide", "to", "how", "build", "a", "small", "garden", "tutorial", "news",
    "weather", "kernel", "review", "camera", "travel", "Berlin", "Zürich", "café", "crème",
    "brûlée", "naïve", "résumé", "photography", "budget", "tax", "forms", "API", "reference",
    "documentation", "release", "notes", "version", "2.0", "introduction", "advanced", "tips",
    "for", "beginners", "and", "with", "of", "in", "recipe", "bread", "sourdough", "bicycle",
    "repair", "manual", "Qt", "widgets", "model", "view", "library", "open", "source", "project",
    "home", "page", "forum", "thread", "question", "answer", "map", "train", "timetable", "hotel",
    "booking", "museum", "opening", "hours", "concert", "tickets", "Straße", "Übersicht", "Ångström",
    "data", "sheet", "paper",
};

constexpr std::string_view kHosts[] = {
    "docs", "news", "blog", "shop", "wiki", "mail", "forum", "maps", "recipes", "travel", "music",
    "video", "code", "learn", "bank", "weather", "www.kitchen-notes", "www.open-maps", "dev.tools",
    "www.city-library", "tickets", "photos", "papers", "www.garden-club",
};

constexpr std::string_view kPathParts[] = {
    "articles", "2024", "2023", "guide", "how-to", "index.html", "docs", "en", "de", "wiki",
    "Main_Page", "product", "item", "view", "post", "page", "reference", "api", "v2", "search",
    "category", "recipes", "tours", "downloads",
};

template <std::size_t N> std::string_view pick(Random& random, const std::string_view (&items)[N])
{
    return items[random.below(N)];
}

std::string capitalized(std::string_view word)
{
    std::string result(word);
    if (!result.empty() && result[0] >= 'a' && result[0] <= 'z')
        result[0] = static_cast<char>(result[0] - 'a' + 'A');
    return result;
}

// Lengths of titles and addresses have a long tail: most are short, a few in a hundred are
// several times as long, up to these limits.
constexpr std::size_t kLongestTitle = 120;
constexpr std::size_t kLongestAddress = 300;

constexpr std::string_view kQueryKeys[] = {
    "utm_source", "utm_medium", "utm_campaign", "ref", "session", "q", "page", "lang", "sort", "filter",
};

// A word count: 2 to 6 words for most, up to 12 for one in eight, up to 24 for one in fifty.
int titleWords(Random& random)
{
    if (random.chance(2))
        return random.between(13, 24);
    if (random.chance(12))
        return random.between(7, 12);
    return random.between(2, 6);
}

// Cut at the last space within the limit, so that no UTF-8 character is split.
std::string shortened(std::string text, std::size_t limit)
{
    if (text.size() <= limit)
        return text;
    const std::size_t space = text.rfind(' ', limit);
    text.resize(space == std::string::npos || space == 0 ? 0 : space);
    return text;
}

std::string words(Random& random, int count)
{
    std::string text;
    for (int i = 0; i < count; ++i) {
        if (i > 0)
            text += ' ';
        text += pick(random, kWords);
    }
    return text;
}

std::string sampleTitle(Random& random)
{
    std::string title = shortened(words(random, titleWords(random)), kLongestTitle);
    // Most titles start with a capital, as pages name themselves; the rest keep the case of
    // their first word, so the sort by title meets both.
    return random.chance(80) ? capitalized(title) : title;
}

std::string sampleAddress(Random& random)
{
    std::string address = "https://";
    address += pick(random, kHosts);
    address += ".example/";
    const bool deep = random.chance(15);
    const int parts = deep ? random.between(3, 8) : random.between(1, 3);
    for (int i = 0; i < parts; ++i) {
        if (i > 0)
            address += '/';
        address += pick(random, kPathParts);
    }
    if (deep && random.chance(50)) {
        address += '/';
        address += std::to_string(random.below(1000000));
        address += '-';
        address += words(random, random.between(3, 9));
    }
    for (std::size_t i = 0; i < address.size(); ++i)
        if (address[i] == ' ')
            address[i] = '-';
    if (random.chance(30))
        address += "?id=" + std::to_string(random.below(100000));
    // Tracking parameters and session tokens make the longest addresses.
    if (random.chance(deep ? 40 : 4)) {
        address += address.find('?') == std::string::npos ? '?' : '&';
        const int parameters = random.between(2, 7);
        for (int i = 0; i < parameters; ++i) {
            if (i > 0)
                address += '&';
            address += pick(random, kQueryKeys);
            address += '=';
            const std::size_t length = random.chance(20) ? 20 + random.below(80) : 3 + random.below(12);
            for (std::size_t c = 0; c < length; ++c)
                address += "abcdefghijklmnopqrstuvwxyz0123456789"[random.below(36)];
        }
    }
    if (address.size() > kLongestAddress)
        address.resize(kLongestAddress);
    return address;
}

std::string sampleDate(Random& random, int firstYear, int lastYear)
{
    return formatDate({random.between(firstYear, lastYear), random.between(1, 12), random.between(1, 28)});
}

} // namespace

int Random::between(int low, int high)
{
    return low + static_cast<int>(below(static_cast<std::size_t>(high - low) + 1));
}

std::uint32_t mixSeed(std::uint32_t seed, std::uint64_t item)
{
    // The finalizer of SplitMix64: neighbouring items get unrelated seeds.
    std::uint64_t z = (std::uint64_t{seed} << 32) + item + 0x9E3779B97F4A7C15u;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
    return static_cast<std::uint32_t>((z ^ (z >> 31)) & 0xFFFFFFFFu);
}

std::string sampleFolderName(Random& random)
{
    std::string name(pick(random, kTopics));
    if (random.chance(40)) {
        name += ' ';
        name += pick(random, kQualifiers);
    }
    return name;
}

std::string sampleFolderDescription(Random& random, const std::string& folderName)
{
    if (random.chance(20))
        return {};
    if (random.chance(60))
        return "Links about " + folderName;
    return capitalized(words(random, random.between(3, 8)));
}

SampleLink sampleLink(Random& random)
{
    SampleLink link;
    link.record.Title = sampleTitle(random);
    link.record.Address = sampleAddress(random);
    if (random.chance(20))
        link.record.LastVisit = sampleDate(random, 2020, 2025);
    link.record.AddDate = sampleDate(random, 2005, 2025);
    if (random.chance(65))
        link.description = capitalized(words(random, random.between(3, 10)));
    return link;
}

} // namespace velloria::bench
