#pragma once
// What the web front end calls in the page (page.js).
#include <cstdint>

extern "C" {
// Shows an RGBA frame of width x height pixels on the canvas.
void kolvane_present(const std::uint8_t* bytes, int width, int height);
// The page sets up the screen canvas and its scaling.
void kolvane_page_ready();
// Replaces the canvas with the page's "Kolvane has ended." (watched 1: "The
// recording has ended."; 2: nothing could be watched) and its button.
void kolvane_show_ended(int watched);
// Whole seconds since 1970 by the browser's clock.
int kolvane_time_seconds();
// A number that tells apart two pages started in the same second.
int kolvane_instance();
// The leaderboard's ticket the page fetched for this session (world.js): its
// clock, with its token copied into token (capacity bytes, with the zero);
// -1 when there is none.
int kolvane_ticket(char* token, int capacity);
// An alert dialog: the caption, then the text.
void kolvane_alert(const char* text, const char* caption);
// A line on the browser's console (what standard error is on the desktop).
void kolvane_log(const char* text);
// A line on the page saying what went wrong (a recording refused, storage
// full); the game goes on.
void kolvane_show_problem(const char* text);

// The browser's small storage: localStorage (session 0) or sessionStorage
// (session 1). The size in bytes of an item's UTF-8 text, -1 when there is
// none or the storage can't be read.
int kolvane_item_size(int session, const char* name);
// Copies the item's text and a terminating zero into buffer.
void kolvane_item_copy(int session, const char* name, char* buffer, int capacity);
// False when the storage refused it (full, switched off).
int kolvane_set_item(int session, const char* name, const char* text);
void kolvane_remove_item(int session, const char* name);

// Keeps a recording in IndexedDB under its name, replacing an earlier
// version, with what the page's list shows of it.
void kolvane_store_recording(const char* name, const char* text, int length, int startedAt,
                             int games, int bestScore, int bestLevel);
void kolvane_delete_recording(const char* name);
// Lists the kept recordings and hands their names to kolvane_prune_recordings.
void kolvane_list_recordings();
// The high-score table changed: the page shows it anew.
void kolvane_scores_changed();

// Web Audio, started on the first key, click or touch.
void kolvane_start_audio_on_gesture();
void kolvane_show_muted(int muted);
// Fullscreen on or off, as the fullscreen button does.
void kolvane_toggle_fullscreen();
int kolvane_fullscreen();
void kolvane_set_pointer_hidden(int hidden);
// Hands each connected gamepad to kolvane_pad_state.
void kolvane_poll_gamepads();
}
