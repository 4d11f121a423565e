#include "app/network/server_url.h"

#include <algorithm>

namespace kolvane {

namespace {

constexpr std::size_t kMaxUrlLength = 512;

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

}  // namespace

std::optional<ServerUrl> ServerUrl::parse(std::string_view text) {
    if (text.size() > kMaxUrlLength) return std::nullopt;
    const bool printable = std::all_of(text.begin(), text.end(), [](char c) {
        return c > ' ' && c < 0x7f && c != '?' && c != '#' && c != '\\';
    });
    if (!printable) return std::nullopt;
    std::string_view rest;
    if (startsWith(text, "https://")) {
        rest = text.substr(8);
    } else if (startsWith(text, "http://")) {
        rest = text.substr(7);
    } else {
        return std::nullopt;
    }
    // A host is required, and no user name or password inside the address.
    const std::string_view host = rest.substr(0, rest.find('/'));
    if (host.empty() || host.find('@') != std::string_view::npos) return std::nullopt;
    while (!text.empty() && text.back() == '/') text.remove_suffix(1);
    return ServerUrl(std::string(text));
}

std::string percentEncoded(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
            c == '-' || c == '.' || c == '_' || c == '~') {
            out += c;
        } else {
            out += '%';
            out += kHex[byte >> 4];
            out += kHex[byte & 15];
        }
    }
    return out;
}

}  // namespace kolvane
