// The thumb's next position for a scroll code, kept within the bar's range.
#include "app/scroll_step.h"

int NextScrollPosition(int position, int code, int thumb, int page_step, int min, int max) {
  int p = position;
  switch (code) {
    case kLineLeft:
      p = position - 1;
      break;
    case kLineRight:
      p = position + 1;
      break;
    case kPageLeft:
      p = position - page_step;
      break;
    case kPageRight:
      p = position + page_step;
      break;
    case kThumbTrack:
      p = thumb;
      break;
    default:
      break;
  }
  if (p < min) p = min;
  if (p > max) p = max;
  return p;
}
