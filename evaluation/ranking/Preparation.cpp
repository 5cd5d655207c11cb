#include "evaluation/ranking/Preparation.h"

#include "core/DeviceNames.h"
#include "core/FolderListing.h"
#include "core/Platform.h"
#include "core/TextEncoding.h"
#include "evaluation/ranking/Folder.h"
#include "evaluation/ranking/Names.h"

#include <algorithm>
#include <array>
#include <map>
#include <numeric>

namespace evaluation {

namespace {

// Deep enough for a folder per member with a folder per theme in it.
constexpr int kDeepestSubfolder = 4;
// A file name's bytes stay well below the 255 both systems allow.
constexpr std::size_t kLongestTitleBytes = 180;

bool isJpegName(std::string_view name)
{
    return folderlisting::isPictureName(name) ||
           folderlisting::hasExtension(name, folderlisting::kOtherJpegExtensions);
}

// Other pictures a member may send: listed, so the organiser sees they are no JPEG.
bool isOtherPictureName(std::string_view name)
{
    return folderlisting::hasExtension(name, {".png", ".tif", ".tiff", ".heic", ".heif", ".webp",
                                              ".gif", ".bmp", ".avif", ".dng", ".cr2", ".cr3",
                                              ".nef", ".arw", ".orf", ".rw2", ".raf"});
}

Entry::Problem problemOf(const std::string& path)
{
    std::uint64_t size = 0;
    const platform::File file = platform::openRegularFile(path, size);
    if (file == platform::kNoFile)
        return Entry::Problem::Unreadable;
    std::array<unsigned char, 3> start{};
    const auto got = platform::read(file, start.data(), start.size());
    platform::close(file);
    if (!got)
        return Entry::Problem::Unreadable;
    return *got == 3 && start[0] == 0xFF && start[1] == 0xD8 && start[2] == 0xFF
               ? Entry::Problem::Unchecked
               : Entry::Problem::NotJpeg;
}

std::string withoutExtension(const std::string& name)
{
    const std::size_t dot = name.rfind('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

void listInto(const std::string& folder, const std::string& relative, int depth,
              std::vector<Entry>& entries)
{
    std::vector<std::string> names;
    platform::forEachEntry(folder, [&](const platform::FolderEntry& entry) {
        if (!entry.name().empty() && !entry.isHidden())
            names.emplace_back(entry.name());
    });
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
        const std::string path = pathIn(folder, name);
        const std::string shown = relative.empty() ? name : pathIn(relative, name);
        if (isDirectory(path)) {
            if (depth < kDeepestSubfolder)
                listInto(path, shown, depth + 1, entries);
            continue;
        }
        if (!isJpegName(name) && !isOtherPictureName(name))
            continue;
        Entry entry;
        entry.source = path;
        entry.relative = shownName(shown);
        entry.title = shownName(withoutExtension(name));
        entry.author = shownName(relative.substr(0, relative.find('/')));
        entry.problem = isJpegName(name) ? problemOf(path) : Entry::Problem::NotJpeg;
        entries.push_back(std::move(entry));
    }
}

std::string trimmed(const std::string& text)
{
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

} // namespace

std::vector<Entry> listEntries(const std::string& folder)
{
    std::vector<Entry> entries;
    listInto(folder, "", 0, entries);
    return entries;
}

void splitNames(std::vector<Entry>& entries, NameSplit split, bool inSubfoldersOnly)
{
    const bool dash = split == NameSplit::AuthorDashTitle;
    const std::string separator = dash ? " - " : "_";
    for (Entry& entry : entries) {
        const std::size_t slash = entry.relative.rfind('/');
        const std::string name = withoutExtension(entry.relative.substr(slash + 1));
        if (slash != std::string::npos) {
            // The member's own folder names the author: only that is cut off.
            const std::string folder = entry.relative.substr(0, entry.relative.find('/'));
            const std::string mark = dash ? folder + separator : separator + folder;
            if (name.size() <= mark.size())
                continue;
            const std::size_t cut = dash ? mark.size() : name.size() - mark.size();
            const std::string part = dash ? name.substr(0, cut) : name.substr(cut);
            const std::string title = trimmed(dash ? name.substr(cut) : name.substr(0, cut));
            if (asciiLower(part) == asciiLower(mark) && !title.empty())
                entry.title = title;
            continue;
        }
        const std::size_t at = dash ? name.find(separator) : name.rfind(separator);
        if (inSubfoldersOnly || at == std::string::npos)
            continue;
        std::string before = trimmed(name.substr(0, at));
        std::string after = trimmed(name.substr(at + separator.size()));
        if (before.empty() || after.empty())
            continue;
        entry.author = dash ? before : after;
        entry.title = dash ? after : before;
    }
}

std::string safeName(const std::string& title)
{
    std::string name;
    for (const char c : title) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F ||
            std::string_view("<>:\"/\\|?*").find(c) != std::string_view::npos)
            name += '_';
        else
            name += c;
    }
    // Hidden on Linux with a leading dot; Windows drops trailing dots and spaces.
    name = name.substr(std::min(name.find_first_not_of(". "), name.size()));
    if (name.size() > kLongestTitleBytes) {
        std::size_t cut = kLongestTitleBytes;
        while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80)
            --cut; // not inside a character
        name.resize(cut);
    }
    while (!name.empty() && (name.back() == '.' || name.back() == ' '))
        name.pop_back();
    if (name.empty())
        name = "Bild";
    if (isWindowsDeviceName(name))
        name = "_" + name;
    return name;
}

std::string titleFileName(const std::string& title)
{
    std::string name = safeName(title);
    // The list beside names the file: a cell starting so would be defused.
    if (std::string_view("=+-@").find(name[0]) != std::string_view::npos)
        name[0] = '_';
    std::string shown;
    for (const char c : name)
        shown += c == '&' ? std::string("&&") : std::string(1, c);
    return shown + std::string(folderlisting::kPictureExtensions[0]);
}

std::vector<std::string> competitionNames(const std::vector<std::string>& titles, bool anonymous,
                                          std::mt19937& random)
{
    std::vector<std::string> names;
    if (!anonymous) {
        for (const std::string& title : titles)
            names.push_back(titleFileName(title));
        return names;
    }
    const std::size_t width = std::max<std::size_t>(2, std::to_string(titles.size()).size());
    std::vector<std::size_t> numbers(titles.size());
    std::iota(numbers.begin(), numbers.end(), 1);
    std::shuffle(numbers.begin(), numbers.end(), random);
    for (const std::size_t number : numbers) {
        const std::string digits = std::to_string(number);
        names.push_back(std::string(width - digits.size(), '0') + digits +
                        std::string(folderlisting::kPictureExtensions[0]));
    }
    return names;
}

std::vector<std::size_t> clashingTitles(const std::vector<std::string>& titles)
{
    std::map<std::string, std::vector<std::size_t>> byName;
    for (std::size_t i = 0; i < titles.size(); ++i)
        byName[asciiLower(titleFileName(titles[i]))].push_back(i);
    std::vector<std::size_t> clashing;
    for (const auto& [name, positions] : byName)
        if (positions.size() > 1)
            clashing.insert(clashing.end(), positions.begin(), positions.end());
    std::sort(clashing.begin(), clashing.end());
    return clashing;
}

} // namespace evaluation
