/* window_controls.exe <title>: prints the visible controls of the top-level
 * window with that title (NSIS pages add a trailing blank to it, which is
 * not compared), one a line as "<class>\t<text>" in UTF-8, so that a test
 * can read what an installer page offers. Exit code 1 when there is no such
 * window. */
#include <stdio.h>
#include <wchar.h>
#include <windows.h>

struct search {
    const wchar_t* title;
    HWND found;
};

static BOOL CALLBACK match_title(HWND window, LPARAM param) {
    struct search* search = (struct search*)param;
    wchar_t text[512];
    int length = GetWindowTextW(window, text, 512);
    while (length > 0 && text[length - 1] == L' ')
        text[--length] = 0;
    if (wcscmp(text, search->title) != 0)
        return TRUE;
    search->found = window;
    return FALSE;
}

static BOOL CALLBACK print_control(HWND control, LPARAM unused) {
    wchar_t name[64], text[512];
    char line[2048];
    (void)unused;
    if (!IsWindowVisible(control))
        return TRUE;
    GetClassNameW(control, name, 64);
    GetWindowTextW(control, text, 512);
    int at = WideCharToMultiByte(CP_UTF8, 0, name, -1, line, 1024, NULL, NULL);
    line[at - 1] = '\t';
    WideCharToMultiByte(CP_UTF8, 0, text, -1, line + at, (int)sizeof line - at, NULL, NULL);
    printf("%s\n", line);
    return TRUE;
}

int wmain(int argc, wchar_t** argv) {
    struct search search = {argc == 2 ? argv[1] : L"", NULL};
    EnumWindows(match_title, (LPARAM)&search);
    if (!search.found)
        return 1;
    EnumChildWindows(search.found, print_control, 0);
    return 0;
}
