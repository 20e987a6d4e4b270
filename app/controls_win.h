#pragma once
// Small helpers for building forms from standard controls.
#include <windows.h>

#include <string>

#include "app/handles_win.h"

namespace ui {

// A font of `points` size at the screen's density.
win::unique_font MakeFont(const wchar_t* face, double points, bool bold = false,
                          bool underline = false);

// A child control at a client rectangle in pixels at 96 dots per inch, scaled to the screen's
// density (app/dpi_win.h); `id` is its control identifier.
HWND AddControl(HWND parent, const wchar_t* window_class, const wchar_t* text, DWORD style,
                int x, int y, int width, int height, int id, HFONT font = nullptr,
                DWORD ex_style = 0);

std::wstring GetText(HWND control);
void SetText(HWND control, const std::wstring& text);

bool IsChecked(HWND check_box);
void SetChecked(HWND check_box, bool checked);

// The focus drawn on controls that draw themselves: a ring two pixels wide, dark outside and
// bright inside, so that it shows on light and dark pictures alike, just inside `rc`.
void DrawFocusRing(HDC dc, RECT rc);

// A static control with SS_NOTIFY (a link) made usable from the keyboard: a tab stop that
// Enter and Space click (its parent hears STN_CLICKED, as from the mouse), with a focus ring.
void MakeKeyboardLink(HWND link);

// Adds a tooltip for `control` to the tooltip window of `parent` (created on first use).
void AddTooltip(HWND parent, HWND control, const wchar_t* text);

// Moves the window to the centre of the screen (the full screen, not the work area), `down`
// pixels (at 96 dots per inch) lower; its size, stacking and activation stay.
void CentreOnScreen(HWND window, int down = 0);

// The system's description of an error code, blanks trimmed at both ends; the line end the
// system puts at its end is removed too unless `keep_line_end`. Empty when there is none.
std::wstring SystemMessage(DWORD code, bool keep_line_end = false);
// SystemMessage, or "Error N" when the system has no text for the code.
std::wstring SystemErrorText(DWORD code);

// A message box with only an OK button, no icon and the program's title.
void ShowError(const std::wstring& text);
// The same with the system's warning icon: a failure that the user must know of.
void ShowWarning(const std::wstring& text);

inline constexpr wchar_t kAppTitle[] = L"Brevio";

}  // namespace ui
