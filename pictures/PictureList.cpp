#include "pictures/PictureList.h"

#include "core/FolderListing.h"
#include "core/TextEncoding.h"

#include <unicode/ucol.h>
#include <unicode/uloc.h>
#include <unicode/ustring.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <numeric>
#include <string_view>

namespace pictures {

namespace {

// Names are bytes; for ordering they are read as UTF-8 when they are valid
// UTF-8, else as the single-byte text older cameras and Windows tools write.
void toUtf16(const std::string& name, std::u16string& out)
{
    out.resize(name.size());
    UErrorCode status = U_ZERO_ERROR;
    int32_t length = 0;
    u_strFromUTF8(reinterpret_cast<UChar*>(out.data()), static_cast<int32_t>(out.size()), &length,
                  name.data(), static_cast<int32_t>(name.size()), &status);
    if (U_SUCCESS(status)) {
        out.resize(static_cast<std::size_t>(length));
        return;
    }
    out = windows1252ToUtf16(name);
}

using Collator = std::unique_ptr<UCollator, void (*)(UCollator*)>;

// ICU reads the C/POSIX environment as en_US_POSIX, whose collation is
// code-point order (all capitals first); the list ignores case, so such a
// user gets the root order instead.
const char* collationLocale()
{
    const char* locale = uloc_getDefault();
    char variant[32] = {};
    UErrorCode status = U_ZERO_ERROR;
    uloc_getVariant(locale, variant, sizeof variant, &status);
    return U_SUCCESS(status) && std::strcmp(variant, "POSIX") == 0 ? "" : locale;
}

Collator openCollator()
{
    UErrorCode status = U_ZERO_ERROR;
    Collator collator(ucol_open(collationLocale(), &status), ucol_close);
    if (U_FAILURE(status)) {
        status = U_ZERO_ERROR;
        collator.reset(ucol_open("", &status));
    }
    if (!collator || U_FAILURE(status))
        return Collator(nullptr, ucol_close);
    ucol_setStrength(collator.get(), UCOL_SECONDARY);
    ucol_setAttribute(collator.get(), UCOL_NUMERIC_COLLATION, UCOL_OFF, &status);
    return collator;
}

// All sort keys in one buffer, so 20,000 names cost no allocation each.
struct SortKeys {
    std::vector<uint8_t> bytes;
    std::vector<std::pair<std::size_t, std::size_t>> spans; // offset, length

    // Byte order of the keys is the collation order.
    int compare(std::size_t a, std::size_t b) const
    {
        const auto [offsetA, lengthA] = spans[a];
        const auto [offsetB, lengthB] = spans[b];
        const int bytewise =
            std::memcmp(bytes.data() + offsetA, bytes.data() + offsetB, std::min(lengthA, lengthB));
        if (bytewise != 0)
            return bytewise;
        return lengthA < lengthB ? -1 : (lengthA > lengthB ? 1 : 0);
    }
};

SortKeys sortKeys(const UCollator* collator, const std::vector<std::string>& names)
{
    SortKeys keys;
    keys.spans.reserve(names.size());
    keys.bytes.resize(names.size() * 32 + 64);
    std::size_t used = 0;
    std::u16string text;
    for (const auto& name : names) {
        toUtf16(name, text);
        const auto* chars = reinterpret_cast<const UChar*>(text.data());
        const auto length = static_cast<int32_t>(text.size());
        auto room = static_cast<int32_t>(keys.bytes.size() - used);
        int32_t needed = ucol_getSortKey(collator, chars, length, keys.bytes.data() + used, room);
        if (needed > room) {
            keys.bytes.resize(std::max(keys.bytes.size() * 2, used + std::size_t(needed)));
            room = static_cast<int32_t>(keys.bytes.size() - used);
            needed = ucol_getSortKey(collator, chars, length, keys.bytes.data() + used, room);
        }
        keys.spans.emplace_back(used, std::size_t(needed));
        used += std::size_t(needed);
    }
    return keys;
}

} // namespace

std::vector<std::string> listPictures(const std::string& folder)
{
    std::vector<std::string> names = folderlisting::regularFiles(folder, isPictureName);
    std::vector<std::size_t> order(names.size());
    std::iota(order.begin(), order.end(), std::size_t{0});

    Collator collator = openCollator();
    if (collator) {
        const SortKeys keys = sortKeys(collator.get(), names);
        std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
            const int byKey = keys.compare(a, b);
            return byKey != 0 ? byKey < 0 : names[a] < names[b];
        });
    } else {
        std::sort(order.begin(), order.end(),
                  [&](std::size_t a, std::size_t b) { return names[a] < names[b]; });
    }

    std::vector<std::string> sorted;
    sorted.reserve(names.size());
    for (std::size_t i : order)
        sorted.push_back(std::move(names[i]));
    return sorted;
}

} // namespace pictures
