/* The floor of the time-to-window measurement: a bare Win32 program that shows a
   borderless 640 x 480 window titled "Floor" painted from a bitmap, and nothing else. */

#include <windows.h>

static HBITMAP picture;

static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        HDC source = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(source, picture);
        BitBlt(dc, 0, 0, 640, 480, source, 0, 0, SRCCOPY);
        SelectObject(source, old);
        DeleteDC(source);
        EndPaint(window, &paint);
        return 0;
    }
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show) {
    (void)show;
    (void)previous;
    (void)commandLine;
    BITMAPINFO info = {0};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = 640;
    info.bmiHeader.biHeight = -480;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    DWORD* pixels = NULL;
    picture = CreateDIBSection(NULL, &info, DIB_RGB_COLORS, (void**)&pixels, NULL, 0);
    if (!picture) return 1;
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) pixels[y * 640 + x] = (DWORD)((x * 255 / 640) << 16 | y / 2);
    }

    WNDCLASSA windowClass = {0};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(NULL, IDC_ARROW);
    windowClass.lpszClassName = "FloorWindow";
    if (!RegisterClassA(&windowClass)) return 1;
    HWND window = CreateWindowExA(0, "FloorWindow", "Floor", WS_POPUP, 100, 100, 640, 480, NULL,
                                  NULL, instance, NULL);
    if (!window) return 1;
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);

    MSG message;
    while (GetMessageA(&message, NULL, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
