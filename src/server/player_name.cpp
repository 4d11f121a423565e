#include "server/player_name.h"

#include <unicode/uchar.h>
#include <unicode/unorm2.h>
#include <unicode/ustring.h>
#include <unicode/utf16.h>

#include <cstdio>

namespace kolvane::server {

namespace {

// Far more than 20 characters can need, even decomposed.
constexpr std::size_t kMaxInputBytes = 400;

bool toUtf16(std::string_view text, std::u16string& out) {
    UErrorCode status = U_ZERO_ERROR;
    int32_t length = 0;
    out.resize(text.size() + 1);
    u_strFromUTF8(out.data(), static_cast<int32_t>(out.size()), &length, text.data(),
                  static_cast<int32_t>(text.size()), &status);
    if (U_FAILURE(status)) return false;
    out.resize(static_cast<std::size_t>(length));
    return true;
}

bool toUtf8(const std::u16string& text, std::string& out) {
    UErrorCode status = U_ZERO_ERROR;
    int32_t length = 0;
    out.resize(text.size() * 3 + 1);
    u_strToUTF8(out.data(), static_cast<int32_t>(out.size()), &length, text.data(),
                static_cast<int32_t>(text.size()), &status);
    if (U_FAILURE(status)) return false;
    out.resize(static_cast<std::size_t>(length));
    return true;
}

bool normalize(const UNormalizer2* form, const std::u16string& text, std::u16string& out) {
    UErrorCode status = U_ZERO_ERROR;
    out.resize(text.size() * 4 + 8);
    const int32_t length = unorm2_normalize(form, text.data(), static_cast<int32_t>(text.size()),
                                            out.data(), static_cast<int32_t>(out.size()), &status);
    if (U_FAILURE(status)) return false;
    out.resize(static_cast<std::size_t>(length));
    return true;
}

bool isLetter(int8_t type) {
    return type == U_UPPERCASE_LETTER || type == U_LOWERCASE_LETTER || type == U_TITLECASE_LETTER ||
           type == U_MODIFIER_LETTER || type == U_OTHER_LETTER;
}

bool isMark(int8_t type) {
    return type == U_NON_SPACING_MARK || type == U_ENCLOSING_MARK ||
           type == U_COMBINING_SPACING_MARK;
}

// "U+00E9".
std::string codePoint(UChar32 c) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "U+%04X", static_cast<unsigned>(c));
    return buffer;
}

}  // namespace

std::optional<PlayerName> readPlayerName(std::string_view text, std::string& problem) {
    if (text.empty()) {
        problem = "the name is empty";
        return std::nullopt;
    }
    std::u16string wide;
    if (text.size() > kMaxInputBytes) {
        problem = "the name is longer than 20 characters";
        return std::nullopt;
    }
    if (!toUtf16(text, wide)) {
        problem = "the name is not UTF-8 text";
        return std::nullopt;
    }
    UErrorCode status = U_ZERO_ERROR;
    const UNormalizer2* nfc = unorm2_getNFCInstance(&status);
    const UNormalizer2* fold = unorm2_getNFKCCasefoldInstance(&status);
    std::u16string composed;
    if (U_FAILURE(status) || !normalize(nfc, wide, composed)) {
        problem = "the name cannot be read";
        return std::nullopt;
    }
    std::size_t characters = 0;
    bool afterLetter = false;
    bool afterSpace = true;  // no space first
    for (std::size_t i = 0; i < composed.size();) {
        UChar32 c = 0;
        U16_NEXT(composed.data(), i, composed.size(), c);
        ++characters;
        const auto type = static_cast<int8_t>(u_charType(c));
        const bool ignorable = u_hasBinaryProperty(c, UCHAR_DEFAULT_IGNORABLE_CODE_POINT) != 0;
        if (c == ' ') {
            if (afterSpace) {
                problem = "the name starts with a space or has two in a row";
                return std::nullopt;
            }
            afterSpace = true;
            afterLetter = false;
            continue;
        }
        afterSpace = false;
        if (!ignorable && isLetter(type)) {
            afterLetter = true;
        } else if (!ignorable && isMark(type) && afterLetter) {
        } else if (!ignorable &&
                   (type == U_DECIMAL_DIGIT_NUMBER || c == '.' || c == '_' || c == '-')) {
            afterLetter = false;
        } else {
            problem = "the name holds " + codePoint(c) +
                      ", which is not a letter, digit, space, '.', '_' or '-'";
            return std::nullopt;
        }
    }
    if (afterSpace) {
        problem = "the name ends with a space";
        return std::nullopt;
    }
    if (characters > kMaxNameCharacters) {
        problem = "the name is longer than 20 characters";
        return std::nullopt;
    }
    std::u16string folded;
    PlayerName name;
    if (!normalize(fold, composed, folded) || !toUtf8(composed, name.shown) ||
        !toUtf8(folded, name.key)) {
        problem = "the name cannot be read";
        return std::nullopt;
    }
    return name;
}

}  // namespace kolvane::server
