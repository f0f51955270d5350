// The bridge to the page: each call forwards to Module.host (web/page_*.js).
#include "backends/web/bridge/web_host.h"

#include <emscripten.h>

// These two wait for the network: the player is suspended meanwhile (ASYNCIFY_IMPORTS).
EM_JS(unsigned char*, ambrevo_host_load_site, (std::size_t * size, char** files),
      { return Asyncify.handleAsync(function() { return Module.host.loadSite(size, files); }); });
EM_JS(unsigned char*, ambrevo_host_fetch_disc_file,
      (const char* path, std::size_t length, std::size_t* size), {
          return Asyncify.handleAsync(
              function() { return Module.host.fetchDiscFile(path, length, size); });
      });

EM_JS(int, ambrevo_host_next_event, (int* event), { return Module.host.nextEvent(event); });
EM_JS(double, ambrevo_host_now, (), { return performance.now(); });

EM_JS(void, ambrevo_host_form_created, (int form, int style),
      { Module.host.formCreated(form, style); });
EM_JS(void, ambrevo_host_form_destroyed, (int form), { Module.host.formDestroyed(form); });
EM_JS(void, ambrevo_host_form_caption, (int form, const char* text, std::size_t length),
      { Module.host.formCaption(form, Module.host.text(text, length)); });
EM_JS(void, ambrevo_host_form_bounds, (int form, int left, int top, int width, int height),
      { Module.host.formBounds(form, left, top, width, height); });
EM_JS(void, ambrevo_host_form_visible, (int form, int visible),
      { Module.host.formVisible(form, visible); });
EM_JS(void, ambrevo_host_form_cursor, (int form, int cursor),
      { Module.host.formCursor(form, cursor); });
EM_JS(void, ambrevo_host_form_accessible, (int form, const char* json, std::size_t length),
      { Module.host.formAccessible(form, JSON.parse(Module.host.text(json, length))); });
EM_JS(void, ambrevo_host_form_accessible_focus, (int form, int element),
      { Module.host.formAccessibleFocus(form, element); });

EM_JS(void, ambrevo_host_bitmap_upload, (int bitmap, const void* rgba, int width, int height),
      { Module.host.bitmapUpload(bitmap, rgba, width, height); });
EM_JS(void, ambrevo_host_bitmap_release, (int bitmap), { Module.host.bitmapRelease(bitmap); });
EM_JS(void, ambrevo_host_paint_begin, (int form, int width, int height),
      { Module.host.paintBegin(form, width, height); });
EM_JS(void, ambrevo_host_paint_picture,
      (int form, int bitmap, int x, int y, int width, int height, int sourceWidth,
       int sourceHeight),
      { Module.host.paintPicture(form, bitmap, x, y, width, height, sourceWidth, sourceHeight); });
EM_JS(void, ambrevo_host_paint_label,
      (int form, int x, int y, int width, int height, const char* text, std::size_t length,
       const char* face, int size, int style, unsigned color, int alignment, int flags),
      {
          Module.host.paintLabel(form, x, y, width, height, Module.host.text(text, length),
                                 UTF8ToString(face), size, style, color, alignment, flags);
      });
EM_JS(void, ambrevo_host_paint_button,
      (int form, int x, int y, int width, int height, const char* text, std::size_t length,
       const char* face, int size, int style, int state),
      {
          Module.host.paintButton(form, x, y, width, height, Module.host.text(text, length),
                                  UTF8ToString(face), size, style, state);
      });
EM_JS(void, ambrevo_host_paint_clear, (int form, int x, int y, int width, int height),
      { Module.host.paintClear(form, x, y, width, height); });
EM_JS(void, ambrevo_host_paint_end, (int form), { Module.host.paintEnd(form); });
EM_JS(void, ambrevo_host_measure_text,
      (const char* text, std::size_t length, const char* face, int size, int style, int maxWidth,
       int* measured),
      {
          const got = Module.host.measureText(Module.host.text(text, length), UTF8ToString(face),
                                              size, style, maxWidth);
          HEAP32[measured >> 2] = got[0];
          HEAP32[(measured >> 2) + 1] = got[1];
      });

EM_JS(void, ambrevo_host_set_title, (const char* text, std::size_t length),
      { Module.host.setTitle(Module.host.text(text, length)); });
EM_JS(void, ambrevo_host_screen_size, (int* size), {
    const got = Module.host.screenSize();
    HEAP32[size >> 2] = got[0];
    HEAP32[(size >> 2) + 1] = got[1];
});
EM_JS(double, ambrevo_host_pixel_ratio, (), { return Module.host.pixelRatio(); });
EM_JS(void, ambrevo_host_message_box,
      (const char* text, std::size_t textLength, const char* title, std::size_t titleLength,
       int kind),
      {
          Module.host.messageBox(Module.host.text(text, textLength),
                                 Module.host.text(title, titleLength), kind);
      });
EM_JS(int, ambrevo_host_message_box_open, (), { return Module.host.messageBoxOpen(); });
EM_JS(void, ambrevo_host_menu_show,
      (int form, int x, int y, const char* captions, std::size_t length),
      { Module.host.menuShow(form, x, y, Module.host.text(captions, length).split("\n")); });
EM_JS(int, ambrevo_host_menu_choice, (), { return Module.host.menuChoice(); });
EM_JS(void, ambrevo_host_launch_shown, (const char* request, std::size_t length),
      { Module.host.launchShown(JSON.parse(Module.host.text(request, length))); });
EM_JS(void, ambrevo_host_menu_ended, (), { Module.host.menuEnded(); });
EM_JS(char*, ambrevo_host_take_reload, (), { return Module.host.takeReload(); });
EM_JS(void, ambrevo_host_reloaded, (int shown), { Module.host.reloaded(shown); });
EM_JS(void, ambrevo_host_menu_shown, (const char* name, std::size_t length),
      { Module.host.menuShown(Module.host.text(name, length)); });

EM_JS(void, ambrevo_host_sound_clip, (const void* clip, std::size_t size),
      { Module.host.soundClip(HEAPU8.slice(clip, clip + size)); });
EM_JS(void, ambrevo_host_sound_file, (const char* path, std::size_t length),
      { Module.host.soundFile(Module.host.text(path, length)); });
EM_JS(int, ambrevo_host_sound_busy, (), { return Module.host.soundBusy(); });
EM_JS(void, ambrevo_host_debug, (const char* text, std::size_t length),
      { Module.host.debug(Module.host.text(text, length)); });
EM_JS(char*, ambrevo_host_time_text, (),
      { return Module.host.clockText(new Date().toLocaleTimeString()); });
EM_JS(char*, ambrevo_host_date_text, (),
      { return Module.host.clockText(new Date().toLocaleDateString()); });
EM_JS(void, ambrevo_host_today, (int* date), {
    const now = new Date();
    HEAP32[date >> 2] = now.getFullYear();
    HEAP32[(date >> 2) + 1] = now.getMonth() + 1;
    HEAP32[(date >> 2) + 2] = now.getDate();
});

namespace ambrevo::web {

void YieldToBrowser(int milliseconds) { emscripten_sleep(milliseconds); }

}  // namespace ambrevo::web
