#pragma once

// The page's side of the browser player (web/page_*.js, as Module.host): every call the
// player makes into the browser. Texts are UTF-8 both ways: they go out as bytes with their
// length, and texts that come back are allocated with malloc.
#include <cstddef>

extern "C" {

// Fetches package.bin and files.json; *size gets the package's length, *files the list
// (one path a line, as files.json spells it). Null when the package cannot be fetched;
// *files then holds the reason.
unsigned char* ambrevo_host_load_site(std::size_t* size, char** files);
// Fetches disc/<path>; null when it cannot.
unsigned char* ambrevo_host_fetch_disc_file(const char* path, std::size_t length,
                                            std::size_t* size);

// The next queued input event into event[0..5] (kind, form, x, y, code, modifiers); 0 when
// none waits. A typed character's code is its Unicode code point.
int ambrevo_host_next_event(int* event);
double ambrevo_host_now();

void ambrevo_host_form_created(int form, int style);
void ambrevo_host_form_destroyed(int form);
void ambrevo_host_form_caption(int form, const char* text, std::size_t length);
void ambrevo_host_form_bounds(int form, int left, int top, int width, int height);
void ambrevo_host_form_visible(int form, int visible);
void ambrevo_host_form_cursor(int form, int cursor);
// The form's elements for assistive technology, as JSON (web_form_accessibility.cpp), and
// the one that now has the focus (1..n).
void ambrevo_host_form_accessible(int form, const char* json, std::size_t length);
void ambrevo_host_form_accessible_focus(int form, int element);

// rgba: width x height pixels, each the bytes red, green, blue and 255, as canvases take them.
void ambrevo_host_bitmap_upload(int bitmap, const void* rgba, int width, int height);
void ambrevo_host_bitmap_release(int bitmap);
void ambrevo_host_paint_begin(int form, int width, int height);
// Draws the bitmap's top left sourceWidth x sourceHeight pixels over the form's rectangle
// (x, y, width, height in menu pixels): the same size for a 1x picture, larger for its variant
// for a denser screen.
void ambrevo_host_paint_picture(int form, int bitmap, int x, int y, int width, int height,
                                int sourceWidth, int sourceHeight);
// style: bit 0 bold, 1 italic, 2 underline; flags: bit 0 word wrap, 1 transparent.
void ambrevo_host_paint_label(int form, int x, int y, int width, int height, const char* text,
                              std::size_t length, const char* face, int size, int style,
                              unsigned color, int alignment, int flags);
// state: bit 0 enabled, 1 focused, 2 pressed.
void ambrevo_host_paint_button(int form, int x, int y, int width, int height, const char* text,
                               std::size_t length, const char* face, int size, int style,
                               int state);
void ambrevo_host_paint_clear(int form, int x, int y, int width, int height);
void ambrevo_host_paint_end(int form);
// The text's width and height into size[0..1].
void ambrevo_host_measure_text(const char* text, std::size_t length, const char* face, int size,
                               int style, int maxWidth, int* measured);

void ambrevo_host_set_title(const char* text, std::size_t length);
void ambrevo_host_screen_size(int* size);
// The page's device pixels to a menu pixel: window.devicePixelRatio times the designer's
// zoom.
double ambrevo_host_pixel_ratio();
void ambrevo_host_message_box(const char* text, std::size_t textLength, const char* title,
                              std::size_t titleLength, int kind);
int ambrevo_host_message_box_open();
// Captions one a line; the choice: -2 while the menu is open, -1 when dismissed.
void ambrevo_host_menu_show(int form, int x, int y, const char* captions, std::size_t length);
int ambrevo_host_menu_choice();
void ambrevo_host_launch_shown(const char* request, std::size_t length);
void ambrevo_host_menu_ended();
// The package entry now on show, its bytes read as Windows-1252; the page keeps it across
// its reloads and gives it back as the player's first argument.
// The menu the page keeps, once the page wants the rebuilt package shown (malloc'd UTF-8,
// freed by the caller); null while it does not.
char* ambrevo_host_take_reload();
// Whether the rebuilt package shows; the page reloads itself when it does not.
void ambrevo_host_reloaded(int shown);
void ambrevo_host_menu_shown(const char* name, std::size_t length);

void ambrevo_host_sound_clip(const void* clip, std::size_t size);
void ambrevo_host_sound_file(const char* path, std::size_t length);
int ambrevo_host_sound_busy();
void ambrevo_host_debug(const char* text, std::size_t length);
// The local time and date as the browser's locale writes them; malloc'd.
char* ambrevo_host_time_text();
char* ambrevo_host_date_text();
// Year, month (1..12) and day into date[0..2].
void ambrevo_host_today(int* date);
}

namespace ambrevo::web {

// Runs the browser's events for a moment, so that the page stays alive during a wait.
void YieldToBrowser(int milliseconds);

}  // namespace ambrevo::web
