#pragma once
// Typed, checked reading of one JSON answer's fields (nlohmann-json): a
// missing field, a wrong type or a value out of range reads as nothing, never
// as an exception.
#include <cstdint>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>

namespace kolvane {

using Json = nlohmann::json;

// The JSON document in text, or nothing when it is not JSON.
std::optional<Json> parseJson(std::string_view text);

std::optional<std::int64_t> integerField(const Json& object, const char* name, std::int64_t least,
                                         std::int64_t most);
std::optional<bool> boolField(const Json& object, const char* name);
// The raw text of a string field of at most maxBytes bytes.
std::optional<std::string> stringField(const Json& object, const char* name, std::size_t maxBytes);

}  // namespace kolvane
