#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "backends/win32/widgetset/bitmap_cache.h"
#include "backends/win32/widgetset/font_cache.h"
#include "backends/win32/widgetset/window_class.h"

namespace ambrevo::win32 {

class FormWindow;

// What the form windows of one widgetset share: the window class, the caches of fonts and
// bitmaps, the application's icon and title, and the list of form windows.
class WidgetContext {
public:
    WidgetContext(HINSTANCE instance, HICON icon, WNDPROC formProcedure);

    const WindowClass& FormClass() const { return formClass_; }
    FontCache& Fonts() { return fonts_; }
    BitmapCache& Bitmaps() { return bitmaps_; }
    const BitmapCache& Bitmaps() const { return bitmaps_; }
    HICON Icon() const { return icon_; }
    void SetIcon(HICON icon) { icon_ = icon; }
    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& title) { title_ = title; }

    void Add(FormWindow& form) { forms_.push_back(&form); }
    void Remove(const FormWindow& form);
    const std::vector<FormWindow*>& Forms() const { return forms_; }
    // The window of the form whose top-level window this is; null for other windows.
    FormWindow* FormOf(HWND topLevel) const;
    // The main window: the first borderless form still there; it carries the task-bar
    // button. Null when there is none.
    FormWindow* MainForm() const;

private:
    WindowClass formClass_;
    FontCache fonts_;
    BitmapCache bitmaps_;
    HICON icon_;
    std::string title_;
    std::vector<FormWindow*> forms_;  // in creation order
};

}  // namespace ambrevo::win32
