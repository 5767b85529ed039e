// Start-up: what the dialog shows for each kind of command line.
#include <string>
#include <vector>

#include "tests/vantel_e2e/texts.h"

namespace e2e {
namespace {

struct StartCase {
  const char* name;
  std::string arguments;
  std::string formula, n;  // the two fields after start-up
  std::string a, s, p;     // the result boxes
  std::vector<std::string> history;
  int thumb;
  std::string box_caption, box_text;  // a message expected at start, if any
};

// "11+1+...+1", 302 characters: its first 254 would compute 137 instead of 161.
std::string TooLongFormula() {
  std::string formula = "11";
  while (formula.size() < 302) formula += "+1";
  return formula;
}

TEST(Startup, CommandLineFillsTheDialog) {
  const std::vector<StartCase> cases = {
      {"no arguments", "", "", "", "", "", "", {}, 1, "", ""},
      {"formula only", "1/n", "1/n", "", "", "", "", {}, 1, "", ""},
      {"formula and n",
       "1/n 3",
       "1/n",
       "3",
       "0.33333333333333331",
       "1.8333333333333333",
       "0.16666666666666666",
       {"1/n"},
       3,
       "",
       ""},
      {"n above the bar", "n 500", "n", "500", "500", "125250", kOverflow, {"n"}, 170, "", ""},
      {"largest n", "1 65535", "1", "65535", "1", "65535", "1", {"1"}, 170, "", ""},
      {"n above 65535", "n 65536", "n", "65536", "", "", "", {"n"}, 1, kBadNCaption, kBadN},
      {"n beyond 32 bits", "n 4294967297", "n", "4294967297", "", "", "", {"n"}, 1, kBadNCaption, kBadN},
      {"three arguments", "1/n 3 4", "1/n", "", "", "", "", {}, 1, "", ""},
      {"quoted formula with blanks", "\"n + 1\" 2", "n + 1", "2", "", "", "", {}, 1, kBadChar, "n  :  "},
      {"rejected formula", "2n 3", "2n", "3", "", "", "", {}, 1, kNoOperator, "2?n"},
      {"formula longer than the field",
       TooLongFormula() + " 1",
       "",
       "1",
       "",
       "",
       "",
       {},
       1,
       kStartCaption,
       kFormulaTooLong302},
      {"bad n", "1/n 0", "1/n", "0", "", "", "", {"1/n"}, 1, kBadNCaption, kBadN},
  };
  for (const StartCase& c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder folder;
    Vantel v(folder.path(), c.arguments);
    ASSERT_TRUE(v.Open()) << "no dialog";
    if (c.box_caption.empty()) {
      ExpectNoBox(v.startup_boxes);
    } else {
      ExpectOneBox(v.startup_boxes, c.box_caption, c.box_text);
      if (!v.startup_boxes.empty()) {
        EXPECT_FALSE(v.startup_boxes[0].dialog_visible) << "shown before the dialog";
      }
    }
    EXPECT_EQ(v.Text(IDC_FORMULA), c.formula);
    EXPECT_EQ(v.Text(IDC_N), c.n);
    ExpectResults(v, c.a, c.s, c.p);
    EXPECT_EQ(v.History(), c.history);
    EXPECT_EQ(v.Thumb(), c.thumb);
    for (int id : {IDC_AN_CHECK, IDC_SN_CHECK, IDC_PN_CHECK}) EXPECT_TRUE(v.Checked(id)) << id;
    for (int id : {IDC_AN_BOX, IDC_SN_BOX, IDC_PN_BOX}) EXPECT_TRUE(v.Enabled(id)) << id;
    CloseNormally(v);
  }
}

TEST(Startup, CaretStartsInTheFormulaField) {
  TempFolder folder;
  Vantel v(folder.path());
  ASSERT_TRUE(v.Open());
  GUITHREADINFO gui{};
  gui.cbSize = sizeof gui;
  DWORD thread = GetWindowThreadProcessId(v.dialog(), nullptr);
  ASSERT_TRUE(WaitFor([&] { return GetGUIThreadInfo(thread, &gui) && gui.hwndFocus == v.FormulaEdit(); }, 5000))
      << "focus is on a window of class " << ClassOf(gui.hwndFocus);
  CloseNormally(v);
}

TEST(Startup, FirstRightArrowWithoutArgumentsSetsNTo2) {
  TempFolder folder;
  Vantel v(folder.path());
  ASSERT_TRUE(v.Open());
  ExpectNoBox(v.Arrow(true));
  EXPECT_EQ(v.Text(IDC_N), "2");
  EXPECT_EQ(v.Thumb(), 2);
  ExpectResults(v, "", "", "");  // an empty formula computes nothing
  CloseNormally(v);
}

}  // namespace
}  // namespace e2e
