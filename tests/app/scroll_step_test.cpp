#include "app/scroll_step.h"

#include <gtest/gtest.h>

namespace {

struct StepCase {
  int position;
  int code;
  int thumb;
  int expected;
};

TEST(ScrollBarStepping, MovesAndStaysWithin1To170) {
  const StepCase cases[] = {
      {5, kLineLeft, 0, 4},      {5, kLineRight, 0, 6},        {50, kPageLeft, 0, 40},    {50, kPageRight, 0, 60},
      {50, kThumbTrack, 77, 77}, {50, kThumbPosition, 77, 50}, {50, kToLeft, 0, 50},      {50, kToRight, 0, 50},
      {50, kEndScroll, 0, 50},   {1, kLineLeft, 0, 1},         {170, kLineRight, 0, 170}, {5, kPageLeft, 0, 1},
      {165, kPageRight, 0, 170}, {1, kThumbTrack, 300, 170},   {0, kEndScroll, 0, 1},     {500, kEndScroll, 0, 170},
  };
  for (const StepCase& c : cases) {
    EXPECT_EQ(NextScrollPosition(c.position, c.code, c.thumb, 10, 1, 170), c.expected)
        << "from " << c.position << " code " << c.code;
  }
}

}  // namespace
