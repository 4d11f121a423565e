#pragma once
// The leaderboard server's address as the settings give it ("https://host" or
// "http://host:port", optionally with a path under which the API lives) and
// the request addresses made from it.
#include <optional>
#include <string>
#include <string_view>

namespace kolvane {

class ServerUrl {
public:
    // The address without a trailing '/'; nothing for anything but an http or
    // https address of at most 512 printable ASCII characters without spaces,
    // a query or a fragment.
    static std::optional<ServerUrl> parse(std::string_view text);

    // base + path ("/api/scores").
    std::string at(std::string_view path) const { return base_ + std::string(path); }
    const std::string& text() const { return base_; }

private:
    explicit ServerUrl(std::string base) : base_(std::move(base)) {}
    std::string base_;
};

// Text percent-encoded for a query value or a path segment: every byte but
// ASCII letters, digits and "-._~" as %XX.
std::string percentEncoded(std::string_view text);

}  // namespace kolvane
