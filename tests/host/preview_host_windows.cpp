// Stands in for a settings page whose process ends without destroying the
// window a preview runs in: a black window titled "Preview host"; a WM_APP
// ends the process at once.
#include <windows.h>

namespace {

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_APP)
        ExitProcess(0);
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSA hostClass{};
    hostClass.lpfnWndProc = HostProc;
    hostClass.hInstance = instance;
    hostClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    hostClass.lpszClassName = "QuorbelTestPreviewHost";
    RegisterClassA(&hostClass);
    if (!CreateWindowExA(0, hostClass.lpszClassName, "Preview host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 337,
                         251, nullptr, nullptr, instance, nullptr))
        return 1;
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0)
        DispatchMessageA(&message);
    return 0;
}
