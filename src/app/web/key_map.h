#pragma once
// Browser keyboard events as the game's virtual-key codes. A letter follows
// the keyboard layout (the event's key), falling back to the key's position
// (its code) on layouts whose letters are not Latin. Keys without a code
// here (Tab, the function keys, the modifiers) stay with the browser.
namespace kolvane::web {

// The virtual-key code for a KeyboardEvent's `key` and `code`, or 0 when the
// event is left to the browser.
int virtualKeyFromEvent(const char* key, const char* code);

}  // namespace kolvane::web
