/* A DLL that shows when it is loaded: it writes an empty marker file beside itself, named
   after itself with ".loaded" added. Tests plant it beside the player under the names of
   system DLLs. */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID reserved) {
    (void)reserved;
    if (reason == DLL_PROCESS_ATTACH) {
        char marker[MAX_PATH + 8];
        const DWORD length = GetModuleFileNameA(self, marker, MAX_PATH);
        if (length > 0 && length < MAX_PATH) {
            lstrcpyA(marker + length, ".loaded");
            const HANDLE file = CreateFileA(marker, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                                            FILE_ATTRIBUTE_NORMAL, NULL);
            if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
        }
    }
    return TRUE;
}
