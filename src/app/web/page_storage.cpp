#include "app/web/page_storage.h"

#include "app/web/page.h"

namespace kolvane::web {

std::optional<std::string> readItem(Storage storage, const char* name) {
    const int size = kolvane_item_size(static_cast<int>(storage), name);
    if (size < 0) return std::nullopt;
    std::string text(static_cast<std::size_t>(size) + 1, '\0');
    kolvane_item_copy(static_cast<int>(storage), name, text.data(), size + 1);
    text.resize(static_cast<std::size_t>(size));
    return text;
}

bool writeItem(Storage storage, const char* name, const std::string& text) {
    return kolvane_set_item(static_cast<int>(storage), name, text.c_str()) != 0;
}

void removeItem(Storage storage, const char* name) {
    kolvane_remove_item(static_cast<int>(storage), name);
}

}  // namespace kolvane::web
