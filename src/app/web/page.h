#pragma once
// What the web front end calls in the page (page.js).
#include <cstdint>

extern "C" {
// Shows an RGBA frame of width x height pixels on the canvas.
void kolvane_present(const std::uint8_t* bytes, int width, int height);
// Replaces the canvas with the page's "Kolvane has ended." and its button.
void kolvane_show_ended();
// Whole seconds since 1970 by the browser's clock.
int kolvane_time_seconds();
// An alert dialog: the caption, then the text.
void kolvane_alert(const char* text, const char* caption);
}
