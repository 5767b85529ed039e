// Windows that scale: layouts in pixels are written at 96 DPI and scaled to the
// DPI of the window that shows them. Shared by Vantel's about window and Tools'
// form as a thin layer over the system, like the system's own headers.
#pragma once

#include <windows.h>

inline constexpr int kLayoutDpi = 96;  // the DPI every pixel layout is written for

// A length in pixels at 96 DPI, at dpi.
int ScaleToDpi(int pixels, int dpi);

// The LOGFONT height of a font of the given size in hundredths of a point, at dpi
// (negative: the size of the characters, not of their cell).
int FontHeightForDpi(int hundredthsOfPoint, int dpi);

// The DPI of the monitor the window is on. Windows before 10 (1607) cannot say per
// window: there it is the screen's DPI.
int WindowDpi(HWND window);

// The DPI of the screen as a whole, for what is placed before its window exists.
int ScreenDpi();

// The window rectangle around a client rectangle, with a caption and borders of
// the given DPI (of the system's DPI before Windows 10 (1607)).
void AdjustWindowRectForDpi(RECT* rect, DWORD style, DWORD exStyle, int dpi);
