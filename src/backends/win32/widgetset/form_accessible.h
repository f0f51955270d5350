#pragma once

#include <windows.h>
// After <windows.h>, which it needs.
#include <oleacc.h>

#include <optional>
#include <string>

#include "ui/accessible.h"
#include "graphics/display_scale.h"
#include "ui/form.h"

namespace ambrevo::win32 {

// The message a form window gets to act on an element for assistive technology: wParam
// is the AccessibleCommand, lParam the element in its low word and the elements'
// generation in its high word, so that a command meant for a replaced menu is dropped.
inline constexpr UINT kAccessibleCommandMessage = WM_APP + 0x41;
enum class AccessibleCommand : WPARAM { Focus = 1, Press = 2 };

// The client area of a form window as one IAccessible whose children are the form's
// accessible elements, as simple elements (child ids 1..n, no objects of their own). It
// reads the model on every call and changes nothing itself: focusing and pressing are
// posted to the window and run from its message loop like any input, since a call comes
// in from another process while the caller waits. Reference counted; the form window
// holds one reference and disconnects the object when its elements go, after which every
// call answers CO_E_OBJNOTCONNECTED.
class FormAccessible final : public IAccessible {
public:
    // scale is the form window's, read only while connected.
    FormAccessible(HWND window, const ui::Form& form, const ui::DisplayScale& scale,
                   WORD generation);
    FormAccessible(const FormAccessible&) = delete;
    FormAccessible& operator=(const FormAccessible&) = delete;

    void Disconnect();

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IDispatch: no type information; clients call IAccessible directly.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags,
                                     DISPPARAMS* parameters, VARIANT* result, EXCEPINFO* exception,
                                     UINT* argumentError) override;

    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override;
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override;
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override;
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override;
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override;
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override;
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override;
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override;
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override;
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override;
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override;
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override;
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override;
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override;
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                          VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override;
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override;
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override;
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override;
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override;

private:
    ~FormAccessible();

    // The elements while connected; null once disconnected or when the form has none.
    const ui::AccessibleElements* Elements() const;
    // CHILDID_SELF or a child id 1..n, from a VT_I4 variant; -1 for anything else.
    long ChildOf(const VARIANT& child) const;
    // The system's object for the client area, which answers for the window itself
    // (parent, place, state); null when it cannot be made.
    IAccessible* Standard();
    // A text as a new BSTR in *out; S_FALSE with null for an empty one.
    static HRESULT Text(const std::string& text, BSTR* out);
    HRESULT Post(AccessibleCommand command, long element) const;

    LONG references_ = 1;
    HWND window_;
    const ui::Form* form_;  // null once disconnected
    const ui::DisplayScale& scale_;
    WORD generation_;
    IAccessible* standard_ = nullptr;
};

// A form window's side of its FormAccessible: makes it on a screen reader's first question,
// tells of focus moves and menu switches, and disconnects and releases it when the
// elements are replaced and when the window goes.
class FormAccessibility {
public:
    FormAccessibility(HWND window, const ui::Form& form, const ui::DisplayScale& scale)
        : window_(window), form_(form), scale_(scale) {}
    ~FormAccessibility() { Release(); }
    FormAccessibility(const FormAccessibility&) = delete;
    FormAccessibility& operator=(const FormAccessibility&) = delete;

    // The answer to WM_GETOBJECT for the client area; nullopt when the form has no
    // elements or oleacc cannot be loaded, and the system's answer stands.
    std::optional<LRESULT> Answer(WPARAM wParam);
    void Notify(ui::AccessibleEvent event, int element);
    // The element of a kAccessibleCommandMessage still meant for the elements on show; 0
    // for one meant for replaced elements.
    int ElementOf(LPARAM lParam) const;

private:
    void Release();

    HWND window_;
    const ui::Form& form_;
    const ui::DisplayScale& scale_;
    FormAccessible* object_ = nullptr;  // one reference held
    WORD generation_ = 0;               // counts the replacements of the elements
};

}  // namespace ambrevo::win32
