// Looking at and driving another process's windows, the way a user's input
// would reach them. Text is read in wide form: across processes Wine hands
// back only the first character of an ANSI list box string.
//
// Every message is sent with a time limit, so a hung target fails a test
// instead of hanging it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Top-level windows of process `processId`; with `visibleOnly`, only those
// shown on screen.
std::vector<HWND> TopLevelWindowsOf(DWORD processId, bool visibleOnly);

// The first visible top-level window of `processId` (0: any process) with
// the window class and caption given, or null.
HWND FindVisibleWindow(DWORD processId, const wchar_t* className, const wchar_t* caption);

// Polls for such a window for up to `timeoutMs` milliseconds.
HWND WaitForVisibleWindow(DWORD processId, const wchar_t* className, const wchar_t* caption,
                          DWORD timeoutMs);

std::wstring ClassNameOf(HWND window);
std::wstring TextOf(HWND window);
std::vector<HWND> ChildrenOf(HWND window);

// The list box's items, its selected position (-1: none) and its count.
std::vector<std::wstring> ListItems(HWND list);
int ListSelection(HWND list);

// Selects `index` the way the list box itself reports a user's choice: it
// moves the selection, then tells its parent with LBN_SELCHANGE.
void SelectListItem(HWND list, int index);

// A double click on the item at `index`, as the mouse would deliver it.
void DoubleClickListItem(HWND list, int index);

// Queues a press of the button as if clicked.
void ClickButton(HWND button);

// Queues a key press (down and up) to `target`, as the keyboard would.
void PressKey(HWND target, UINT virtualKey);

// The control holding the keyboard focus in `window`'s thread, or null.
HWND FocusOf(HWND window);

// Returns true once the thread of `list` has handled every message posted
// to it before this call (input included); false if that did not happen
// within `timeoutMs`. Uses the data of the list's first item as a marker,
// so the list must hold at least one item.
bool WaitUntilHandled(HWND list, DWORD timeoutMs);
