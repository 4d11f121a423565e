#pragma once
// Fuzz inputs for the leaderboard's submission path: arbitrary bytes split
// into a player's name (up to the first newline), an Authorization header (up
// to the second) and a body, submitted to a leaderboard over a SQLite
// database of the process's own, as the HTTP front hands a request over.
// Whatever it accepts must read back byte for byte; every answer must be one
// of the statuses the API names, with a JSON body.
#include <cstddef>
#include <cstdint>
#include <string>

namespace kolvane::fuzz {

// False with problem set when the submission path misbehaved.
bool submitInput(const std::uint8_t* data, std::size_t size, std::string& problem);

}  // namespace kolvane::fuzz
