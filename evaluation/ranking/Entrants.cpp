#include "evaluation/ranking/Entrants.h"

#include "core/Platform.h"
#include "core/TextEncoding.h"
#include "core/TextFile.h"
#include "evaluation/ranking/Folder.h"
#include "evaluation/ranking/Names.h"
#include "evaluation/ranking/Texts.h"
#include "pictures/NameKey.h"

#include <algorithm>
#include <map>
#include <optional>

namespace evaluation {

namespace {

// A list is a few kilobytes; anything far larger is something else.
constexpr std::size_t kMaxListBytes = std::size_t{8} << 20;

struct Record {
    std::size_t line = 0;
    std::vector<std::string> cells;
};

// Cells as a spreadsheet writes them: quoted where needed, a quote inside
// doubled, line breaks inside quotes kept; CR LF, LF or CR end a record.
std::vector<Record> records(std::string_view text, char separator, std::size_t maxRecords)
{
    std::vector<Record> out;
    std::size_t line = 1;
    std::size_t i = 0;
    while (i < text.size() && out.size() < maxRecords) {
        Record record{line, {std::string()}};
        bool quoted = false, atStart = true;
        for (; i < text.size(); ++i) {
            const char c = text[i];
            if (quoted) {
                if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                    record.cells.back() += '"';
                    ++i;
                } else if (c == '"') {
                    quoted = false;
                } else {
                    line += c == '\n' ? 1 : 0;
                    record.cells.back() += c;
                }
            } else if (c == '"' && atStart) {
                quoted = true;
                atStart = false;
            } else if (c == separator) {
                record.cells.emplace_back();
                atStart = true;
            } else if (c == '\r' || c == '\n') {
                i += c == '\r' && i + 1 < text.size() && text[i + 1] == '\n' ? 2 : 1;
                ++line;
                break;
            } else {
                record.cells.back() += c;
                atStart = atStart && (c == ' ' || c == '\t');
            }
        }
        out.push_back(std::move(record));
    }
    return out;
}

// Readable text of a cell: control characters (C0, DEL, C1) as spaces, the
// "'" a spreadsheet-safe writer put before "=", "+", "-", "@" taken off,
// spaces around trimmed.
std::string cleaned(std::string_view bytes)
{
    // Cell by cell: a list edited in two programs mixes UTF-8 and Windows-1252.
    const std::string cell = displayText(bytes);
    std::string out;
    for (std::size_t i = 0; i < cell.size(); ++i) {
        const auto c = static_cast<unsigned char>(cell[i]);
        if (c == 0xC2 && i + 1 < cell.size() && static_cast<unsigned char>(cell[i + 1]) >= 0x80 &&
            static_cast<unsigned char>(cell[i + 1]) <= 0x9F) {
            out += ' ';
            ++i;
        } else {
            out += c < 0x20 || c == 0x7F ? ' ' : char(c);
        }
    }
    const std::size_t first = out.find_first_not_of(" \t");
    if (first == std::string::npos)
        return std::string();
    out = out.substr(first, out.find_last_not_of(" \t") - first + 1);
    if (out.size() > 1 && out[0] == '\'' &&
        std::string_view("=+-@").find(out[1]) != std::string_view::npos)
        out.erase(0, 1);
    return out;
}

std::optional<std::size_t> column(const std::vector<std::string>& header, const char* name)
{
    for (std::size_t c = 0; c < header.size(); ++c)
        if (asciiLower(cleaned(header[c])) == asciiLower(name))
            return c;
    return std::nullopt;
}

} // namespace

EntrantList parseEntrantList(std::string_view bytes)
{
    if (bytes.starts_with("\xEF\xBB\xBF"))
        bytes.remove_prefix(3);
    // Split as bytes: separators, quotes and line ends are ASCII in both encodings.
    const std::string_view text = bytes;
    EntrantList list;
    for (const char separator : {';', ',', '\t'}) {
        const std::vector<Record> header = records(text, separator, 1);
        if (header.empty())
            return list;
        const auto file = column(header[0].cells, texts::kEntrantFile);
        if (!file)
            continue;
        const auto title = column(header[0].cells, texts::kTitleHeading);
        const auto author = column(header[0].cells, texts::kEntrantAuthor);
        list.usable = true;
        std::vector<Record> all = records(text, separator, std::size_t(-1));
        for (std::size_t r = 1; r < all.size(); ++r) {
            const auto cell = [&](std::optional<std::size_t> c) {
                return c && *c < all[r].cells.size() ? cleaned(all[r].cells[*c]) : std::string();
            };
            EntrantRow row{all[r].line, cell(file), {cell(title), cell(author)}};
            if (!row.file.empty() || !row.entrant.title.empty() || !row.entrant.author.empty())
                list.rows.push_back(std::move(row));
        }
        return list;
    }
    return list;
}

std::vector<std::string> entrantListPaths(const std::string& folder)
{
    std::vector<std::string> paths{pathIn(folder, kEntrantListName)};
    if (const auto beside = organiserFile(folder, kEntrantListName))
        paths.push_back(*beside);
    return paths;
}

void addEntrants(const std::string& folder, Evaluation& evaluation)
{
    std::string path;
    for (const std::string& candidate : entrantListPaths(folder))
        if (platform::status(candidate)) {
            path = candidate;
            break;
        }
    if (path.empty())
        return;
    std::size_t start = path.size();
    while (start > 0 && !platform::isSeparator(path[start - 1]))
        --start;
    const std::string shown = shownName(path.substr(start));
    const auto problem = [&](const std::string& text) {
        evaluation.problems.push_back(
            {ProblemKind::EntrantList, std::string(), 0, std::string(), text});
    };
    if (pointsOutside(path.substr(0, start), path.substr(start))) {
        problem(texts::pointsOutside(shown));
        return;
    }
    const std::optional<std::string> bytes = textfile::readFile(path, kMaxListBytes);
    if (!bytes) {
        problem(texts::unreadableEntrantList(shown));
        return;
    }
    const EntrantList list = parseEntrantList(*bytes);
    if (!list.usable) {
        problem(texts::noFileColumn(shown));
        return;
    }
    // A row finds its picture as a rating line does: by the name as written,
    // else by the pictures' name key (decoded, NFC, case folded) when that
    // fits exactly one picture.
    std::map<std::string, std::size_t> exact;
    std::map<std::string, std::vector<std::size_t>> byKey;
    for (std::size_t p = 0; p < evaluation.pictures.size(); ++p) {
        exact.emplace(displayText(evaluation.pictures[p]), p);
        byKey[pictures::nameKey(evaluation.pictures[p])].push_back(p);
    }
    evaluation.entrants.assign(evaluation.pictures.size(), Entrant{});
    std::vector<std::size_t> listedAt(evaluation.pictures.size(), 0);
    for (const EntrantRow& row : list.rows) {
        const std::string where = texts::entrantLine(shown, row.line);
        std::optional<std::size_t> picture;
        const std::vector<std::size_t>* alike = nullptr;
        if (const auto found = exact.find(row.file); found != exact.end())
            picture = found->second;
        else if (const auto keyed = byKey.find(pictures::nameKey(row.file)); keyed != byKey.end()) {
            if (keyed->second.size() == 1)
                picture = keyed->second[0];
            else
                alike = &keyed->second; // b.JPG with B.jpg and b.jpg: neither
        }
        if (row.file.empty()) {
            problem(where + texts::kNoFileName);
        } else if (alike) {
            std::vector<std::string> names;
            for (const std::size_t p : *alike)
                names.push_back(shownName(evaluation.pictures[p]));
            problem(where + texts::namesSeveral(quotedName(row.file), names));
        } else if (!picture) {
            problem(where + texts::noSuchPicture(quotedName(row.file)));
        } else if (listedAt[*picture] != 0) {
            problem(where + texts::alreadyRated(row.file, listedAt[*picture]));
        } else {
            listedAt[*picture] = row.line;
            evaluation.entrants[*picture] = row.entrant;
        }
    }
}

} // namespace evaluation
