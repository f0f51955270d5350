/* A screen reader's view of a window, from a process of its own: finds the first window of
 * the class given, asks it for its client object (MSAA), prints one line per child,
 * "id|name|role|state|shortcut|default action", and, given a child id, presses that child
 * with accDoDefaultAction and prints "press HRESULT". Exit code 0 when the object came. */
#define COBJMACROS
#include <windows.h>
#include <oleacc.h>
#include <stdio.h>
#include <stdlib.h>

/* Spelled out: MinGW's oleacc import library gives IID_IAccessible as a thunk. */
static const IID kIAccessible = {
    0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

static void PrintText(BSTR text) { printf("%ls", text ? text : L""); }

int main(int argc, char** argv) {
    if (argc < 2) {
        fprintf(stderr, "usage: msaa_client WINDOW_CLASS [CHILD_TO_PRESS]\n");
        return 2;
    }
    HWND window = FindWindowA(argv[1], NULL);
    if (!window) {
        printf("no window\n");
        return 3;
    }
    CoInitialize(NULL);
    IAccessible* object = NULL;
    HRESULT result =
        AccessibleObjectFromWindow(window, (DWORD)OBJID_CLIENT, &kIAccessible, (void**)&object);
    if (FAILED(result)) {
        printf("no object %08lx\n", (unsigned long)result);
        return 4;
    }
    long count = 0;
    IAccessible_get_accChildCount(object, &count);
    for (long id = 1; id <= count; ++id) {
        VARIANT child;
        child.vt = VT_I4;
        child.lVal = id;
        BSTR name = NULL, shortcut = NULL, action = NULL;
        VARIANT role, state;
        IAccessible_get_accName(object, child, &name);
        IAccessible_get_accRole(object, child, &role);
        IAccessible_get_accState(object, child, &state);
        IAccessible_get_accKeyboardShortcut(object, child, &shortcut);
        IAccessible_get_accDefaultAction(object, child, &action);
        printf("%ld|", id);
        PrintText(name);
        printf("|%ld|%lx|", role.lVal, (unsigned long)state.lVal);
        PrintText(shortcut);
        printf("|");
        PrintText(action);
        printf("\n");
        SysFreeString(name);
        SysFreeString(shortcut);
        SysFreeString(action);
    }
    if (argc > 2) {
        VARIANT child;
        child.vt = VT_I4;
        child.lVal = atol(argv[2]);
        printf("press %08lx\n", (unsigned long)IAccessible_accDoDefaultAction(object, child));
    }
    IAccessible_Release(object);
    CoUninitialize();
    return 0;
}
