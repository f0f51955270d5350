#include "backends/win32/widgetset/form_accessible.h"

#include "backends/win32/system/com_apartment.h"
#include "backends/win32/system/system_libraries.h"
#include "backends/win32/system/wide_text.h"

namespace ambrevo::win32 {
namespace {

void SetEmpty(VARIANT* variant) { variant->vt = VT_EMPTY; }

void SetChild(VARIANT* variant, long child) {
    variant->vt = VT_I4;
    variant->lVal = child;
}

long RoleOf(ui::AccessibleRole role) {
    return role == ui::AccessibleRole::PushButton ? ROLE_SYSTEM_PUSHBUTTON : ROLE_SYSTEM_STATICTEXT;
}

long StateOf(const ui::AccessibleElement& element, bool windowActive) {
    long state = 0;
    if (element.focusable) state |= STATE_SYSTEM_FOCUSABLE;
    if (element.focused && windowActive) state |= STATE_SYSTEM_FOCUSED;
    if (element.hot) state |= STATE_SYSTEM_HOTTRACKED;
    if (element.unavailable) state |= STATE_SYSTEM_UNAVAILABLE;
    if (element.bounds.width <= 0 || element.bounds.height <= 0) state |= STATE_SYSTEM_INVISIBLE;
    return state;
}

}  // namespace

FormAccessible::FormAccessible(HWND window, const ui::Form& form, const ui::DisplayScale& scale,
                               WORD generation)
    : window_(window), form_(&form), scale_(scale), generation_(generation) {}

FormAccessible::~FormAccessible() {
    if (standard_) standard_->Release();
}

void FormAccessible::Disconnect() {
    form_ = nullptr;
    if (standard_) {
        standard_->Release();
        standard_ = nullptr;
    }
}

const ui::AccessibleElements* FormAccessible::Elements() const {
    return form_ ? form_->Accessible() : nullptr;
}

long FormAccessible::ChildOf(const VARIANT& child) const {
    if (child.vt != VT_I4) return -1;
    const ui::AccessibleElements* elements = Elements();
    const long count = elements ? elements->Count() : 0;
    return child.lVal >= CHILDID_SELF && child.lVal <= count ? child.lVal : -1;
}

IAccessible* FormAccessible::Standard() {
    if (!standard_) {
        void* object = nullptr;
        if (SUCCEEDED(AccessibilityLibrary().createStdAccessibleObject(
                window_, OBJID_CLIENT, __uuidof(IAccessible), &object))) {
            standard_ = static_cast<IAccessible*>(object);
        }
    }
    return standard_;
}

HRESULT FormAccessible::Text(const std::string& text, BSTR* out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (text.empty()) return S_FALSE;
    *out = AccessibilityLibrary().sysAllocString(Widen(text).c_str());
    return *out ? S_OK : E_OUTOFMEMORY;
}

HRESULT FormAccessible::Post(AccessibleCommand command, long element) const {
    const LPARAM target = MAKELPARAM(static_cast<WORD>(element), generation_);
    return ::PostMessageW(window_, kAccessibleCommandMessage, static_cast<WPARAM>(command), target)
               ? S_OK
               : HRESULT_FROM_WIN32(::GetLastError());
}

HRESULT FormAccessible::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) || iid == __uuidof(IAccessible)) {
        *object = static_cast<IAccessible*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG FormAccessible::AddRef() { return static_cast<ULONG>(::InterlockedIncrement(&references_)); }

ULONG FormAccessible::Release() {
    const LONG left = ::InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
}

HRESULT FormAccessible::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
}

HRESULT FormAccessible::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    if (!info) return E_POINTER;
    *info = nullptr;
    return E_NOTIMPL;
}

HRESULT FormAccessible::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }

HRESULT FormAccessible::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                               UINT*) {
    return E_NOTIMPL;
}

HRESULT FormAccessible::get_accParent(IDispatch** parent) {
    if (!parent) return E_POINTER;
    *parent = nullptr;
    if (!form_) return CO_E_OBJNOTCONNECTED;
    IAccessible* standard = Standard();
    return standard ? standard->get_accParent(parent) : S_FALSE;
}

HRESULT FormAccessible::get_accChildCount(long* count) {
    if (!count) return E_POINTER;
    *count = 0;
    if (!form_) return CO_E_OBJNOTCONNECTED;
    if (const ui::AccessibleElements* elements = Elements()) *count = elements->Count();
    return S_OK;
}

// Simple elements have no object of their own.
HRESULT FormAccessible::get_accChild(VARIANT child, IDispatch** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (!form_) return CO_E_OBJNOTCONNECTED;
    return ChildOf(child) > CHILDID_SELF ? S_FALSE : E_INVALIDARG;
}

HRESULT FormAccessible::get_accName(VARIANT child, BSTR* name) {
    if (name) *name = nullptr;
    if (!form_) return CO_E_OBJNOTCONNECTED;
    const long id = ChildOf(child);
    if (id < 0) return E_INVALIDARG;
    const ui::AccessibleElements* elements = Elements();
    if (id == CHILDID_SELF) return Text(elements ? elements->Name() : form_->Caption(), name);
    return Text(elements->Element(id).name, name);
}

HRESULT FormAccessible::get_accValue(VARIANT, BSTR* value) {
    if (value) *value = nullptr;
    return form_ ? DISP_E_MEMBERNOTFOUND : CO_E_OBJNOTCONNECTED;
}

HRESULT FormAccessible::get_accDescription(VARIANT child, BSTR* description) {
    if (description) *description = nullptr;
    if (!form_) return CO_E_OBJNOTCONNECTED;
    const long id = ChildOf(child);
    if (id < 0) return E_INVALIDARG;
    if (id == CHILDID_SELF) return Text({}, description);
    return Text(Elements()->Element(id).description, description);
}

HRESULT FormAccessible::get_accRole(VARIANT child, VARIANT* role) {
    if (!role) return E_POINTER;
    SetEmpty(role);
    if (!form_) return CO_E_OBJNOTCONNECTED;
    const long id = ChildOf(child);
    if (id < 0) return E_INVALIDARG;
    SetChild(role, id == CHILDID_SELF ? ROLE_SYSTEM_CLIENT : RoleOf(Elements()->Element(id).role));
    return S_OK;
}

HRESULT FormAccessible::get_accState(VARIANT child, VARIANT* state) {
    if (!state) return E_POINTER;
    SetEmpty(state);
    if (!form_) return CO_E_OBJNOTCONNECTED;
    const long id = ChildOf(child);
    if (id < 0) return E_INVALIDARG;
    if (id == CHILDID_SELF) {
        IAccessible* standard = Standard();
        if (standard) return standard->get_accState(child, state);
        SetChild(state, STATE_SYSTEM_FOCUSABLE);
        return S_OK;
    }
    SetChild(state, StateOf(Elements()->Element(id), ::GetActiveWindow() == window_));
    return S_OK;
}

HRESULT FormAccessible::get_accHelp(VARIANT, BSTR* help) {
    if (help) *help = nullptr;
    return form_ ? DISP_E_MEMBERNOTFOUND : CO_E_OBJNOTCONNECTED;
}

HRESULT FormAccessible::get_accHelpTopic(BSTR* file, VARIANT, long* topic) {
    if (file) *file = nullptr;
    if (topic) *topic = -1;
    return form_ ? DISP_E_MEMBERNOTFOUND : CO_E_OBJNOTCONNECTED;
}

HRESULT FormAccessible::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) {
    if (shortcut) *shortcut = nullptr;
    if (!form_) return CO_E_OBJNOTCONNECTED;
    const long id = ChildOf(child);
    if (id < 0) return E_INVALIDARG;
    if (id == CHILDID_SELF) return Text({}, shortcut);
    return Text(Elements()->Element(id).shortcut, shortcut);
}

// The focused element while the window is active; the window itself when no element has
// the focus; nothing while another window has it.
HRESULT FormAccessible::get_accFocus(VARIANT* child) {
    if (!child) return E_POINTER;
    SetEmpty(child);
    if (!form_) return CO_E_OBJNOTCONNECTED;
    if (::GetActiveWindow() != window_) return S_FALSE;
    const ui::AccessibleElements* elements = Elements();
    SetChild(child, elements && elements->Focused() > 0 ? elements->Focused() : CHILDID_SELF);
    return S_OK;
}

HRESULT FormAccessible::get_accSelection(VARIANT* children) {
    if (!children) return E_POINTER;
    SetEmpty(children);
    return form_ ? S_FALSE : CO_E_OBJNOTCONNECTED;
}

HRESULT FormAccessible::get_accDefaultAction(VARIANT child, BSTR* action) {
    if (action) *action = nullptr;
    if (!form_) return CO_E_OBJNOTCONNECTED;
    const long id = ChildOf(child);
    if (id < 0) return E_INVALIDARG;
    if (id == CHILDID_SELF) return DISP_E_MEMBERNOTFOUND;
    const std::string text = Elements()->Element(id).defaultAction;
    return text.empty() ? DISP_E_MEMBERNOTFOUND : Text(text, action);
}

// Taking the focus is the only selection the elements know.
HRESULT FormAccessible::accSelect(long flags, VARIANT child) {
    if (!form_) return CO_E_OBJNOTCONNECTED;
    const long id = ChildOf(child);
    if (id < 0) return E_INVALIDARG;
    if (flags != SELFLAG_TAKEFOCUS || id == CHILDID_SELF) return DISP_E_MEMBERNOTFOUND;
    if (!Elements()->Element(id).focusable) return S_FALSE;
    return Post(AccessibleCommand::Focus, id);
}

HRESULT FormAccessible::accLocation(long* left, long* top, long* width, long* height,
                                    VARIANT child) {
    if (!left || !top || !width || !height) return E_POINTER;
    *left = *top = *width = *height = 0;
    if (!form_) return CO_E_OBJNOTCONNECTED;
    const long id = ChildOf(child);
    if (id < 0) return E_INVALIDARG;
    if (id == CHILDID_SELF) {
        IAccessible* standard = Standard();
        return standard ? standard->accLocation(left, top, width, height, child) : S_FALSE;
    }
    const ui::Rect bounds = scale_.ToDevice(Elements()->Element(id).bounds);
    POINT origin{bounds.left, bounds.top};
    ::ClientToScreen(window_, &origin);
    *left = origin.x;
    *top = origin.y;
    *width = bounds.width;
    *height = bounds.height;
    return S_OK;
}

// Among the elements, in tab order; from the window itself to its first or last element,
// anything else as the system answers for the window.
HRESULT FormAccessible::accNavigate(long direction, VARIANT start, VARIANT* end) {
    if (!end) return E_POINTER;
    SetEmpty(end);
    if (!form_) return CO_E_OBJNOTCONNECTED;
    const long id = ChildOf(start);
    if (id < 0) return E_INVALIDARG;
    const ui::AccessibleElements* elements = Elements();
    const long count = elements ? elements->Count() : 0;
    long target = 0;
    if (id == CHILDID_SELF) {
        if (direction == NAVDIR_FIRSTCHILD) {
            target = 1;
        } else if (direction == NAVDIR_LASTCHILD) {
            target = count;
        } else {
            IAccessible* standard = Standard();
            return standard ? standard->accNavigate(direction, start, end) : S_FALSE;
        }
    } else {
        switch (direction) {
            case NAVDIR_NEXT:
            case NAVDIR_DOWN:
            case NAVDIR_RIGHT:
                target = id + 1;
                break;
            case NAVDIR_PREVIOUS:
            case NAVDIR_UP:
            case NAVDIR_LEFT:
                target = id - 1;
                break;
            default:
                return E_INVALIDARG;  // an element has no children
        }
    }
    if (target < 1 || target > count) return S_FALSE;
    SetChild(end, target);
    return S_OK;
}

HRESULT FormAccessible::accHitTest(long x, long y, VARIANT* child) {
    if (!child) return E_POINTER;
    SetEmpty(child);
    if (!form_) return CO_E_OBJNOTCONNECTED;
    POINT point{x, y};
    ::ScreenToClient(window_, &point);
    RECT client{};
    ::GetClientRect(window_, &client);
    if (!::PtInRect(&client, point)) return S_FALSE;
    const ui::AccessibleElements* elements = Elements();
    const int element =
        elements ? ui::AccessibleElementAt(*elements, scale_.ToMenu(ui::Point{point.x, point.y}))
                 : 0;
    SetChild(child, element > 0 ? element : CHILDID_SELF);
    return S_OK;
}

HRESULT FormAccessible::accDoDefaultAction(VARIANT child) {
    if (!form_) return CO_E_OBJNOTCONNECTED;
    const long id = ChildOf(child);
    if (id < 0) return E_INVALIDARG;
    if (id == CHILDID_SELF) return DISP_E_MEMBERNOTFOUND;
    const ui::AccessibleElement element = Elements()->Element(id);
    if (element.defaultAction.empty() || element.unavailable) return DISP_E_MEMBERNOTFOUND;
    return Post(AccessibleCommand::Press, id);
}

HRESULT FormAccessible::put_accName(VARIANT, BSTR) { return E_NOTIMPL; }

HRESULT FormAccessible::put_accValue(VARIANT, BSTR) { return E_NOTIMPL; }

std::optional<LRESULT> FormAccessibility::Answer(WPARAM wParam) {
    if (!form_.Accessible()) return std::nullopt;
    try {
        const AccessibilityFunctions& functions = AccessibilityLibrary();
        ComApartment::Enter();  // the answer marshals the object through COM
        if (!object_) object_ = new FormAccessible(window_, form_, scale_, generation_);
        return functions.lresultFromObject(__uuidof(IAccessible), wParam, object_);
    } catch (...) {
        return std::nullopt;  // no oleacc, or no memory: the window answers as a plain one
    }
}

void FormAccessibility::Notify(ui::AccessibleEvent event, int element) {
    if (event == ui::AccessibleEvent::FocusMoved) {
        ::NotifyWinEvent(EVENT_OBJECT_FOCUS, window_, OBJID_CLIENT, element);
        return;
    }
    Release();
    ++generation_;
    ::NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, window_, OBJID_CLIENT, CHILDID_SELF);
    ::NotifyWinEvent(EVENT_OBJECT_REORDER, window_, OBJID_CLIENT, CHILDID_SELF);
}

int FormAccessibility::ElementOf(LPARAM lParam) const {
    return HIWORD(lParam) == generation_ ? LOWORD(lParam) : 0;
}

void FormAccessibility::Release() {
    if (!object_) return;
    object_->Disconnect();
    object_->Release();
    object_ = nullptr;
}

}  // namespace ambrevo::win32
