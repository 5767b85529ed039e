// The scroll bar that steps n (a scroll-bar control, SB_CTL; every change redraws).
#pragma once

#include <windows.h>

void SetScrollBarRange(HWND bar, int min, int max);
void SetScrollBarPos(HWND bar, int position);
int GetScrollBarPos(HWND bar);

// Moves the thumb for one WM_HSCROLL code and returns the new position.
int StepScrollBar(HWND bar, int code, int thumb);
