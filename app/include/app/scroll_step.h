// Where one scroll-bar message moves the thumb that steps n.
#pragma once

// Scroll codes of a scroll bar message (the Windows SB_ values).
enum ScrollCode : int {
  kLineLeft = 0,
  kLineRight = 1,
  kPageLeft = 2,
  kPageRight = 3,
  kThumbPosition = 4,
  kThumbTrack = 5,
  kToLeft = 6,
  kToRight = 7,
  kEndScroll = 8,
};

// An arrow moves by 1, the trough by page_step, a dragged thumb goes where it is
// dragged; every other code stays. The result is held within min to max.
int NextScrollPosition(int position, int code, int thumb, int page_step, int min, int max);
