// The least a full-screen Windows program that changes its picture every
// 28 ms can cost under Wine: two 16-pixel squares, in opposite corners of a
// window over the whole screen, change colour every tick and are handed to
// the screen at once. Wine hands the X server one rectangle around
// everything drawn since the last hand-over, here the whole screen, so this
// measures that cost. side_by_side_cpu.sh runs it beside the saver.
#include <windows.h>

namespace {

LRESULT CALLBACK BlackWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// As the saver does: a thread of the program finds its queue empty.
void HandOver() {
    MSG message;
    PeekMessageA(&message, nullptr, WM_APP + 0x3FFF, WM_APP + 0x3FFF, PM_NOREMOVE);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = BlackWindowProc;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = "QuorbelCornerSquares";
    RegisterClassA(&windowClass);
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    HWND window = CreateWindowExA(WS_EX_TOPMOST, windowClass.lpszClassName, "corner squares", WS_POPUP | WS_VISIBLE, 0,
                                  0, width, height, nullptr, nullptr, instance, nullptr);
    for (int n = 0;; ++n) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                return 0;
            }
            DispatchMessageA(&message);
        }
        HDC dc = GetDC(window);
        HBRUSH brush = CreateSolidBrush(RGB(n * 7, n * 3, 200));
        const RECT first{0, 0, 16, 16};
        const RECT second{width - 16, height - 16, width, height};
        FillRect(dc, &first, brush);
        FillRect(dc, &second, brush);
        DeleteObject(brush);
        ReleaseDC(window, dc);
        HandOver();
        Sleep(28);
    }
}
