#include "tests/e2e/dialog_window.h"

namespace {

const UINT kSendTimeoutMs = 5000;

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kSendTimeoutMs,
                             &result)) {
        return -1;
    }
    return LRESULT(result);
}

struct WindowSearch {
    DWORD processId;
    bool visibleOnly;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM context) {
    WindowSearch* search = reinterpret_cast<WindowSearch*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (search->processId != 0 && owner != search->processId) return TRUE;
    if (search->visibleOnly && !IsWindowVisible(window)) return TRUE;
    search->found.push_back(window);
    return TRUE;
}

BOOL CALLBACK CollectChild(HWND window, LPARAM context) {
    reinterpret_cast<std::vector<HWND>*>(context)->push_back(window);
    return TRUE;
}

std::vector<HWND> TopLevelWindows(DWORD processId, bool visibleOnly) {
    WindowSearch search = {processId, visibleOnly, {}};
    EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace

std::vector<HWND> TopLevelWindowsOf(DWORD processId, bool visibleOnly) {
    return TopLevelWindows(processId, visibleOnly);
}

HWND FindVisibleWindow(DWORD processId, const wchar_t* className, const wchar_t* caption) {
    for (HWND window : TopLevelWindows(processId, true)) {
        if (ClassNameOf(window) == className && TextOf(window) == caption) return window;
    }
    return nullptr;
}

HWND WaitForVisibleWindow(DWORD processId, const wchar_t* className, const wchar_t* caption,
                          DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        HWND window = FindVisibleWindow(processId, className, caption);
        if (window || GetTickCount() - start >= timeoutMs) return window;
        Sleep(50);
    }
}

std::wstring ClassNameOf(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

std::wstring TextOf(HWND window) {
    LRESULT length = Send(window, WM_GETTEXTLENGTH, 0, 0);
    if (length <= 0) return std::wstring();
    std::vector<wchar_t> text(size_t(length) + 1, L'\0');
    LRESULT copied = Send(window, WM_GETTEXT, WPARAM(text.size()), reinterpret_cast<LPARAM>(text.data()));
    if (copied < 0) return std::wstring();
    return std::wstring(text.data(), size_t(copied));
}

std::vector<HWND> ChildrenOf(HWND window) {
    std::vector<HWND> children;
    EnumChildWindows(window, CollectChild, reinterpret_cast<LPARAM>(&children));
    return children;
}

std::vector<std::wstring> ListItems(HWND list) {
    std::vector<std::wstring> items;
    LRESULT count = Send(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        LRESULT length = Send(list, LB_GETTEXTLEN, WPARAM(i), 0);
        if (length < 0) length = 0;
        std::vector<wchar_t> text(size_t(length) + 1, L'\0');
        LRESULT copied = Send(list, LB_GETTEXT, WPARAM(i), reinterpret_cast<LPARAM>(text.data()));
        items.push_back(copied < 0 ? std::wstring() : std::wstring(text.data(), size_t(copied)));
    }
    return items;
}

int ListSelection(HWND list) { return int(Send(list, LB_GETCURSEL, 0, 0)); }

void SelectListItem(HWND list, int index) {
    Send(list, LB_SETCURSEL, WPARAM(index), 0);
    Send(GetParent(list), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), LBN_SELCHANGE),
         reinterpret_cast<LPARAM>(list));
}

void DoubleClickListItem(HWND list, int index) {
    LRESULT top = Send(list, LB_GETTOPINDEX, 0, 0);
    LRESULT height = Send(list, LB_GETITEMHEIGHT, 0, 0);
    LPARAM at = MAKELPARAM(8, (index - top) * height + height / 2);
    PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(list, WM_LBUTTONUP, 0, at);
    PostMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    PostMessageW(list, WM_LBUTTONUP, 0, at);
}

void ClickButton(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }

void PressKey(HWND target, UINT virtualKey) {
    UINT scanCode = MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC);
    PostMessageW(target, WM_KEYDOWN, virtualKey, LPARAM(1 | (scanCode << 16)));
    PostMessageW(target, WM_KEYUP, virtualKey, LPARAM(1 | (scanCode << 16) | 0xC0000000u));
}

HWND FocusOf(HWND window) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
    return info.hwndFocus;
}

bool WaitUntilHandled(HWND list, DWORD timeoutMs) {
    // Posted messages of one thread are handled in order, so once the
    // marker has been stored, everything posted before it has been handled.
    static LPARAM serial;
    LPARAM marker = LPARAM(0x4C4E0000 + ++serial);
    if (!PostMessageW(list, LB_SETITEMDATA, 0, marker)) return false;
    DWORD start = GetTickCount();
    for (;;) {
        if (Send(list, LB_GETITEMDATA, 0, 0) == marker) return true;
        if (GetTickCount() - start >= timeoutMs || !IsWindow(list)) return false;
        Sleep(10);
    }
}
