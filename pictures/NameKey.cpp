#include "pictures/NameKey.h"

#include "core/TextEncoding.h"

#include <unicode/unorm2.h>
#include <unicode/ustring.h>

#include <stdexcept>

namespace pictures {

namespace {

// Runs one of ICU's converters into a string, growing it once when ICU
// says how long the result is.
template <typename Out, typename Convert> Out converted(std::size_t guess, Convert convert)
{
    Out out(guess, typename Out::value_type{});
    for (int attempt = 0; attempt < 2; ++attempt) {
        UErrorCode status = U_ZERO_ERROR;
        const int32_t length = convert(out.data(), static_cast<int32_t>(out.size()), &status);
        if (status == U_BUFFER_OVERFLOW_ERROR) {
            out.resize(static_cast<std::size_t>(length));
            continue;
        }
        if (U_FAILURE(status))
            throw std::runtime_error(u_errorName(status));
        out.resize(static_cast<std::size_t>(length));
        return out;
    }
    throw std::runtime_error("name key");
}

std::u16string normalised(const std::u16string& text, const UNormalizer2* (*instance)(UErrorCode*))
{
    UErrorCode status = U_ZERO_ERROR;
    const UNormalizer2* normalizer = instance(&status);
    if (U_FAILURE(status))
        throw std::runtime_error(u_errorName(status));
    return converted<std::u16string>(
        text.size() * 2 + 1, [&](char16_t* out, int32_t size, UErrorCode* error) {
            return unorm2_normalize(normalizer, text.data(), static_cast<int32_t>(text.size()), out,
                                    size, error);
        });
}

std::u16string folded(const std::u16string& text)
{
    return converted<std::u16string>(
        text.size() * 2 + 1, [&](char16_t* out, int32_t size, UErrorCode* error) {
            return u_strFoldCase(out, size, text.data(), static_cast<int32_t>(text.size()),
                                 U_FOLD_CASE_DEFAULT, error);
        });
}

std::u16string decoded(std::string_view bytes)
{
    if (!isValidUtf8(bytes))
        return windows1252ToUtf16(bytes);
    return converted<std::u16string>(bytes.size() + 1, [&](char16_t* out, int32_t size,
                                                           UErrorCode* error) {
        int32_t length = 0;
        u_strFromUTF8(out, size, &length, bytes.data(), static_cast<int32_t>(bytes.size()), error);
        return length;
    });
}

std::string utf8(const std::u16string& text)
{
    return converted<std::string>(
        text.size() * 3 + 1, [&](char* out, int32_t size, UErrorCode* error) {
            int32_t length = 0;
            u_strToUTF8(out, size, &length, text.data(), static_cast<int32_t>(text.size()), error);
            return length;
        });
}

} // namespace

std::string nameKey(std::string_view bytes)
{
    // Canonical caseless matching: decompose, fold, compose.
    return utf8(normalised(folded(normalised(decoded(bytes), unorm2_getNFDInstance)),
                           unorm2_getNFCInstance));
}

} // namespace pictures
