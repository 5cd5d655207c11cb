#include "evaluation/ranking/Decisions.h"

#include "core/Platform.h"
#include "core/TextFile.h"
#include "evaluation/ranking/Names.h"
#include "evaluation/ranking/Texts.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace evaluation {

namespace {

constexpr char kHeader[] = "# Entscheidungen zur Rangliste (bildbewertung-auswertung)";
constexpr char kExcluded[] = "Ausgeschlossen";
constexpr char kFinal[] = "Endgültig";
constexpr char kInput[] = "Stand";

// A name is bytes: '%', ';' and control characters as %XX keep it on its field and line.
std::string escaped(const std::string& name)
{
    std::string out;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || c == '%' || c == ';') {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%%%02X", byte);
            out += hex;
        } else {
            out += c;
        }
    }
    return out;
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

std::string unescaped(std::string_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const int high = i + 2 < text.size() && text[i] == '%' ? hexDigit(text[i + 1]) : -1;
        const int low = high >= 0 ? hexDigit(text[i + 2]) : -1;
        if (low >= 0) {
            out += char(high * 16 + low);
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

// The line's fields: `count` fields, the last one taking the rest of the line.
std::vector<std::string_view> fields(std::string_view line, std::size_t count)
{
    std::vector<std::string_view> parts;
    while (parts.size() + 1 < count) {
        const std::size_t end = line.find(';');
        if (end == std::string_view::npos)
            break;
        parts.push_back(line.substr(0, end));
        line.remove_prefix(end + 1);
    }
    parts.push_back(line);
    return parts;
}

std::string oneLine(const std::string& text)
{
    return controlsReplaced(text, " ");
}

} // namespace

std::uint64_t fingerprint(std::string_view bytes, std::uint64_t hash)
{
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ULL;
    }
    return hash;
}

const Exclusion* Decisions::exclusionOf(const std::string& picture) const
{
    const auto found = std::find_if(exclusions.begin(), exclusions.end(),
                                    [&](const Exclusion& e) { return e.picture == picture; });
    return found == exclusions.end() ? nullptr : &*found;
}

std::string decisionsText(const Decisions& decisions)
{
    std::vector<std::string> lines{kHeader};
    for (const Exclusion& exclusion : decisions.exclusions)
        lines.push_back(std::string(kExcluded) + ";" + escaped(exclusion.picture) + ";" +
                        oneLine(exclusion.reason));
    if (decisions.final) {
        lines.push_back(std::string(kFinal) + ";" + oneLine(decisions.final->date));
        for (const InputPrint& input : decisions.final->inputs) {
            char hash[17];
            std::snprintf(hash, sizeof hash, "%016llx",
                          static_cast<unsigned long long>(input.hash));
            lines.push_back(std::string(kInput) + ";" + hash + ";" + escaped(input.sheet));
        }
    }
    return textfile::joinLines(lines);
}

Decisions parseDecisions(std::string_view text)
{
    Decisions decisions;
    for (const std::string& line : textfile::splitLines(text)) {
        const auto parts = fields(line, 3);
        if (parts.size() == 3 && parts[0] == kExcluded && !parts[1].empty()) {
            std::string picture = unescaped(parts[1]);
            if (!decisions.exclusionOf(picture))
                decisions.exclusions.push_back({std::move(picture), std::string(parts[2])});
        } else if (parts.size() == 2 && parts[0] == kFinal) {
            decisions.final = FinalDeclaration{std::string(parts[1]), {}};
        } else if (parts.size() == 3 && parts[0] == kInput && decisions.final &&
                   parts[1].size() == 16) {
            const std::string hex(parts[1]);
            char* end = nullptr;
            const unsigned long long hash = std::strtoull(hex.c_str(), &end, 16);
            if (end == hex.c_str() + hex.size())
                decisions.final->inputs.push_back({unescaped(parts[2]), hash});
        }
    }
    return decisions;
}

std::optional<Decisions> readDecisions(const std::string& path)
{
    if (!platform::status(path))
        return Decisions{};
    const auto text = textfile::readFile(path);
    if (!text)
        return std::nullopt;
    return parseDecisions(*text);
}

bool writeDecisions(const std::string& path, const Decisions& decisions)
{
    return textfile::writeAtomically(path, decisionsText(decisions));
}

bool changeDecisions(const std::string& path, const std::function<void(Decisions&)>& change)
{
    std::optional<Decisions> decisions = readDecisions(path);
    if (!decisions)
        return false;
    change(*decisions);
    return writeDecisions(path, *decisions);
}

void setExclusion(Decisions& decisions, const std::string& picture,
                  const std::optional<std::string>& reason)
{
    std::erase_if(decisions.exclusions, [&](const Exclusion& e) { return e.picture == picture; });
    if (reason)
        decisions.exclusions.push_back({picture, *reason});
    decisions.final.reset();
}

std::vector<std::string> changesSince(const FinalDeclaration& declaration,
                                      const std::vector<InputPrint>& now)
{
    std::vector<std::string> changes;
    const auto find = [](const std::vector<InputPrint>& inputs, const std::string& sheet) {
        return std::find_if(inputs.begin(), inputs.end(),
                            [&](const InputPrint& input) { return input.sheet == sheet; });
    };
    const auto add = [&](const std::string& what) {
        changes.push_back(texts::changedSinceFinal(declaration.date, what));
    };
    for (const InputPrint& input : now) {
        const auto then = find(declaration.inputs, input.sheet);
        if (then == declaration.inputs.end())
            add(texts::newSheet(shownName(input.sheet)));
        else if (then->hash != input.hash)
            add(input.sheet.empty() ? texts::kPicturesChanged
                                    : texts::changedSheet(shownName(input.sheet)));
    }
    for (const InputPrint& input : declaration.inputs)
        if (find(now, input.sheet) == now.end())
            add(input.sheet.empty() ? texts::kPicturesChanged
                                    : texts::goneSheet(shownName(input.sheet)));
    return changes;
}

} // namespace evaluation
