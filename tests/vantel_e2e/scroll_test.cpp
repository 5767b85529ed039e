// The scroll bar beside n: each message steps n, writes it into the field and runs a
// term request.
#include <string>
#include <vector>

#include "tests/vantel_e2e/texts.h"

namespace e2e {
namespace {

struct StepCase {
  const char* name;
  int code, thumb;  // the WM_HSCROLL message
  int n;            // n afterwards
};

TEST(Scroll, EachMessageStepsNWithinOneTo170) {
  const std::vector<StepCase> steps = {
      {"right arrow from the start", SB_LINERIGHT, 0, 2},
      {"end of the click", SB_ENDSCROLL, 0, 2},
      {"left arrow", SB_LINELEFT, 0, 1},
      {"left arrow at 1", SB_LINELEFT, 0, 1},
      {"page right", SB_PAGERIGHT, 0, 11},
      {"page right again", SB_PAGERIGHT, 0, 21},
      {"page left", SB_PAGELEFT, 0, 11},
      {"page left past 1", SB_PAGELEFT, 0, 1},
      {"dragging", SB_THUMBTRACK, 57, 57},
      {"end of the drag", SB_THUMBPOSITION, 99, 57},
      {"dragging past the end", SB_THUMBTRACK, 500, 170},
      {"right arrow at 170", SB_LINERIGHT, 0, 170},
      {"page right at 170", SB_PAGERIGHT, 0, 170},
      {"to the left end", SB_LEFT, 0, 170},
      {"to the right end", SB_RIGHT, 0, 170},
      {"dragging to 3", SB_THUMBTRACK, 3, 3},
  };
  TempFolder folder;
  Vantel v(folder.path());
  ASSERT_TRUE(v.Open());
  v.Type(IDC_FORMULA, "n");
  for (const StepCase& s : steps) {
    SCOPED_TRACE(s.name);
    ExpectNoBox(v.Scroll(s.code, s.thumb));
    const std::string n = std::to_string(s.n);
    EXPECT_EQ(v.Text(IDC_N), n);
    EXPECT_EQ(v.Thumb(), s.n);
    EXPECT_EQ(v.Text(IDC_AN_BOX), n) << "the request ran for n";
  }
  EXPECT_EQ(v.Text(IDC_SN_BOX), "6");
  CloseNormally(v);
}

TEST(Scroll, AnArrowClickRunsTwoRequests) {
  TempFolder folder;
  Vantel v(folder.path());
  ASSERT_TRUE(v.Open());
  v.Type(IDC_FORMULA, "2n");
  // At 1 the left arrow leaves n at 1 and still runs both requests.
  const std::vector<SeenBox> boxes = v.Arrow(false);
  ASSERT_EQ(boxes.size(), 2u);
  for (const SeenBox& box : boxes) {
    EXPECT_EQ(box.caption, kNoOperator);
    EXPECT_EQ(box.text, "2?n");
  }
  EXPECT_EQ(v.Text(IDC_N), "1");
  EXPECT_TRUE(v.History().empty());
  CloseNormally(v);
}

TEST(Scroll, TypedNAboveTheBarThenRightArrow) {
  TempFolder folder;
  Vantel v(folder.path());
  ASSERT_TRUE(v.Open());
  ExpectNoBox(v.Calculate("n", "500"));
  EXPECT_EQ(v.Thumb(), 170);
  ExpectNoBox(v.Arrow(true));
  EXPECT_EQ(v.Text(IDC_N), "170");
  EXPECT_EQ(v.Thumb(), 170);
  EXPECT_EQ(v.Text(IDC_AN_BOX), "170");
  EXPECT_EQ(v.Text(IDC_SN_BOX), "14535");
  CloseNormally(v);
}

TEST(Scroll, EmptyFormulaOnlyRewritesN) {
  TempFolder folder;
  Vantel v(folder.path());
  ASSERT_TRUE(v.Open());
  ExpectNoBox(v.Calculate("n", "9"));
  v.Type(IDC_FORMULA, "");
  ExpectNoBox(v.Arrow(false));
  EXPECT_EQ(v.Text(IDC_N), "8");
  EXPECT_EQ(v.Thumb(), 8);
  ExpectResults(v, "", "", "");
  EXPECT_EQ(v.History(), std::vector<std::string>{"n"});
  CloseNormally(v);
}

}  // namespace
}  // namespace e2e
