// The scroll bar that steps n: its range, its position and one step, through the scroll-bar calls.
#include "app/scroll_bar.h"

#include "app/scroll_step.h"
#include "app/vantel_state.h"

void SetScrollBarRange(HWND bar, int min, int max) {
  SetScrollRange(bar, SB_CTL, min, max, TRUE);
  App.ScrollMin = min;
  App.ScrollMax = max;
}

void SetScrollBarPos(HWND bar, int position) { SetScrollPos(bar, SB_CTL, position, TRUE); }

int GetScrollBarPos(HWND bar) { return GetScrollPos(bar, SB_CTL); }

int StepScrollBar(HWND bar, int code, int thumb) {
  int p = NextScrollPosition(GetScrollBarPos(bar), code, thumb, App.PageStep, App.ScrollMin, App.ScrollMax);
  SetScrollBarPos(bar, p);
  return p;
}
