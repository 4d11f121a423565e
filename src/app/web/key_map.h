#pragma once
// Browser keyboard events as the game's virtual-key codes. Every key-down has
// one: a letter follows the keyboard layout (the event's key), falling back to
// the key's position (its code) on layouts whose letters are not Latin; the
// other keys go by name or position, as the desktop windows map them; a key
// with no code of its own gets the neutral one (front_end/reserved_keys.h).
namespace kolvane::web {

// The virtual-key code for a KeyboardEvent's `key` and `code`, never 0.
int virtualKeyFromEvent(const char* key, const char* code);

// Whether the browser's own action for the key (scrolling, moving the focus)
// is kept from it even with Ctrl, Alt or Meta held: Space, the arrows, Tab,
// Page Up/Down, Home and End, Backspace.
bool movesThePage(int virtualKey);

}  // namespace kolvane::web
