#pragma once
// The page's small storage (localStorage, sessionStorage) as text.
#include <optional>
#include <string>

namespace kolvane::web {

enum class Storage : int { kLocal = 0, kSession = 1 };

// The item's text; nothing when there is none or the storage can't be read.
std::optional<std::string> readItem(Storage storage, const char* name);
// False when the storage refused it.
bool writeItem(Storage storage, const char* name, const std::string& text);
void removeItem(Storage storage, const char* name);

}  // namespace kolvane::web
