#pragma once
// Text that came from the server (a player's name, a reason, an error
// message), made safe to keep and show: valid UTF-8, no control, format or
// direction-changing character (each becomes '?'), and at most a given number
// of characters ("..." marks a cut). Nothing the server sends reaches a
// terminal, a file or the screen any other way.
#include <cstddef>
#include <string>
#include <string_view>

namespace kolvane {

std::string printableServerText(std::string_view text, std::size_t maxCharacters);

// The number of characters (code points) of valid UTF-8 text.
std::size_t characterCount(std::string_view text);

}  // namespace kolvane
