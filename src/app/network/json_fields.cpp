#include "app/network/json_fields.h"

namespace kolvane {

namespace {

const Json* field(const Json& object, const char* name) {
    if (!object.is_object()) return nullptr;
    const auto it = object.find(name);
    return it == object.end() ? nullptr : &*it;
}

}  // namespace

std::optional<Json> parseJson(std::string_view text) {
    Json document = Json::parse(text.begin(), text.end(), nullptr, /*allow_exceptions=*/false);
    if (document.is_discarded()) return std::nullopt;
    return document;
}

std::optional<std::int64_t> integerField(const Json& object, const char* name, std::int64_t least,
                                         std::int64_t most) {
    const Json* value = field(object, name);
    if (value == nullptr) return std::nullopt;
    std::int64_t n = 0;
    if (value->is_number_unsigned()) {
        const auto u = value->get<std::uint64_t>();
        if (u > static_cast<std::uint64_t>(most)) return std::nullopt;
        n = static_cast<std::int64_t>(u);
    } else if (value->is_number_integer()) {
        n = value->get<std::int64_t>();
    } else {
        return std::nullopt;
    }
    if (n < least || n > most) return std::nullopt;
    return n;
}

std::optional<bool> boolField(const Json& object, const char* name) {
    const Json* value = field(object, name);
    if (value == nullptr || !value->is_boolean()) return std::nullopt;
    return value->get<bool>();
}

std::optional<std::string> stringField(const Json& object, const char* name, std::size_t maxBytes) {
    const Json* value = field(object, name);
    if (value == nullptr || !value->is_string()) return std::nullopt;
    const auto& text = value->get_ref<const std::string&>();
    if (text.size() > maxBytes) return std::nullopt;
    return text;
}

}  // namespace kolvane
