#include "app/text/text_line.h"

namespace kolvane {

namespace {

// The length of the UTF-8 sequence that starts text[i], or 0 when it is not a
// valid one (a stray continuation byte, an overlong form, a surrogate, a code
// point beyond U+10FFFF, or a sequence cut short).
std::size_t utf8Length(std::string_view text, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char b = byte(i);
    std::size_t n = 0;
    unsigned char lo = 0x80;  // the range of the second byte
    unsigned char hi = 0xBF;
    if (b < 0x80) return 1;
    if (b >= 0xC2 && b <= 0xDF) n = 2;
    if (b >= 0xE0 && b <= 0xEF) n = 3;
    if (b >= 0xF0 && b <= 0xF4) n = 4;
    if (b == 0xE0) lo = 0xA0;
    if (b == 0xED) hi = 0x9F;
    if (b == 0xF0) lo = 0x90;
    if (b == 0xF4) hi = 0x8F;
    if (n == 0 || i + n > text.size()) return 0;
    if (byte(i + 1) < lo || byte(i + 1) > hi) return 0;
    for (std::size_t k = 2; k < n; ++k) {
        if (byte(i + k) < 0x80 || byte(i + k) > 0xBF) return 0;
    }
    return n;
}

std::string hexByte(unsigned char c) {
    constexpr char kHex[] = "0123456789ABCDEF";
    return std::string{'0', 'x', kHex[c >> 4], kHex[c & 0xF]};
}

}  // namespace

std::optional<std::string> textLineProblem(std::string_view line, std::size_t maxLength) {
    if (line.size() > maxLength) {
        return "line too long (" + std::to_string(line.size()) + " bytes, at most " +
               std::to_string(maxLength) + ")";
    }
    for (std::size_t i = 0; i < line.size();) {
        const auto c = static_cast<unsigned char>(line[i]);
        const std::string column = " at column " + std::to_string(i + 1);
        if (c == 0) return "NUL byte" + column;
        if ((c < 0x20 && c != '\t') || c == 0x7F) return "control character " + hexByte(c) + column;
        const std::size_t n = utf8Length(line, i);
        if (n == 0) return "invalid UTF-8 (byte " + hexByte(c) + ")" + column;
        i += n;
    }
    return std::nullopt;
}

std::string_view takeLine(std::string_view& text) {
    const auto end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line;
}

}  // namespace kolvane
