// The calculator dialog in process: start-up, term requests, the scroll bar,
// the checkboxes, the formula field and the colours.
#include <chrono>

#include "about/about_window.h"
#include "engine/check.h"
#include "engine/dialog_state.h"
#include "tests/app/dialog_fixture.h"

namespace {

using Strings = std::vector<std::string>;

const char kThird[] = "0.33333333333333331";
const char kSum3[] = "1.8333333333333333";
const char kProduct3[] = "0.16666666666666666";

TEST_F(DialogTest, NoArgumentsComputesNothing) {
  Open();
  EXPECT_EQ(Text(IDC_FORMULA), "");
  EXPECT_EQ(Text(IDC_N), "");
  EXPECT_EQ(Results(), (Strings{"", "", ""}));
  for (int id : {IDC_AN_CHECK, IDC_SN_CHECK, IDC_PN_CHECK}) EXPECT_EQ(IsDlgButtonChecked(dialog_, id), BST_CHECKED);
  int min = 0, max = 0;
  GetScrollRange(ItemHandle(dialog_, IDC_SCROLL), SB_CTL, &min, &max);
  EXPECT_EQ(min, 1);
  EXPECT_EQ(max, 170);
  EXPECT_EQ(Thumb(), 1);
  // The first click on the right arrow gives n = 2.
  Set(IDC_FORMULA, "n");
  Scroll(SB_LINERIGHT);
  EXPECT_EQ(Text(IDC_N), "2");
  EXPECT_EQ(Results(), (Strings{"2", "3", "2"}));
}

struct StartCase {
  const char* formula;
  const char* n;
  Strings results;
  int thumb;
  Strings history;
};

TEST_F(DialogTest, StartArguments) {
  const StartCase cases[] = {
      {"1/n", "3", {kThird, kSum3, kProduct3}, 3, {"1/n"}},
      {"1/n", "", {"", "", ""}, 1, {}},
      {"n", "500", {"500", "125250", "Desbordament (massa gran)"}, 170, {"n"}},
  };
  for (const StartCase& c : cases) {
    Open(c.formula, c.n);
    EXPECT_EQ(Text(IDC_FORMULA), c.formula);
    EXPECT_EQ(Text(IDC_N), c.n);
    EXPECT_EQ(Results(), c.results) << c.formula << " " << c.n;
    EXPECT_EQ(Thumb(), c.thumb);
    EXPECT_EQ(History(), c.history);
    EXPECT_TRUE(Messages().empty());
    DestroyWindow(dialog_);
    dialog_ = nullptr;
  }
}

TEST_F(DialogTest, RejectedFormulaAtStartShowsTheCheckMessage) {
  Open("1/*n", "3");
  CheckMessage expected;
  ASSERT_FALSE(CheckFormula("1/*n", LanguageIndex, &expected));
  std::vector<SeenMessageBox> seen = Messages();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].caption, expected.caption.str());
  EXPECT_EQ(seen[0].text, expected.text.str());
  EXPECT_TRUE(seen[0].ok_only);
  EXPECT_EQ(Text(IDC_FORMULA), "1/*n");
  EXPECT_EQ(Text(IDC_N), "3");
  EXPECT_EQ(Results(), (Strings{"", "", ""}));
  EXPECT_TRUE(History().empty());
}

TEST_F(DialogTest, BadNIsRefusedAndChangesNothing) {
  const char* bad[] = {"0", "-3", "2.5", "abc", "   ", "65536", "2147483648"};
  Open("n", "4");
  for (const char* n : bad) {
    watcher_->Clear();
    Set(IDC_N, n);
    Calculate();
    std::vector<SeenMessageBox> seen = Messages();
    ASSERT_EQ(seen.size(), 1u) << n;
    EXPECT_EQ(seen[0].caption, "* error *");
    EXPECT_EQ(seen[0].text, kBadN);
    EXPECT_EQ(Results(), (Strings{"4", "10", "24"})) << n;
    EXPECT_EQ(Thumb(), 4) << n;
    EXPECT_EQ(Text(IDC_N), n);
  }
}

TEST_F(DialogTest, FormulaAcceptedBeforeABadNStillJoinsTheHistory) {
  Open();
  Set(IDC_FORMULA, "n^2");
  Set(IDC_N, "0");
  Calculate();
  EXPECT_EQ(History(), (Strings{"n^2"}));
  EXPECT_EQ(Messages().size(), 1u);
}

struct NCase {
  const char* typed;
  const char* field_after;
  const char* a_n;
  int thumb;
};

TEST_F(DialogTest, OtherFormsOfN) {
  const NCase cases[] = {
      {"", "1", "1", 1},          {"  7  ", "  7  ", "7", 7},       {"$A", "$A", "10", 10},
      {"500", "500", "500", 170}, {"65535", "65535", "65535", 170},
  };
  Open("n", "");
  for (const NCase& c : cases) {
    Set(IDC_N, c.typed);
    auto start = std::chrono::steady_clock::now();
    Calculate();
    // A full request at the top of the range must not freeze the dialog.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    EXPECT_EQ(Text(IDC_N), c.field_after);
    EXPECT_EQ(Text(IDC_AN_BOX), c.a_n);
    EXPECT_EQ(Thumb(), c.thumb);
  }
  EXPECT_TRUE(Messages().empty());
}

TEST_F(DialogTest, ComputationErrorsStayInTheirSlot) {
  Open("10^200", "2");
  EXPECT_NE(Text(IDC_AN_BOX).find("E+"), std::string::npos);
  EXPECT_EQ(Text(IDC_PN_BOX), "Desbordament (massa gran)");
  Set(IDC_FORMULA, "1/(n-1)");
  Set(IDC_N, "1");
  Calculate();
  EXPECT_EQ(Text(IDC_AN_BOX), "Divisi\363 per zero");
}

struct ScrollCase {
  int code;
  int thumb;
  int n;
};

TEST_F(DialogTest, ScrollBarStepsNAndComputes) {
  const ScrollCase steps[] = {
      {SB_LINELEFT, 0, 1}, {SB_ENDSCROLL, 0, 1},      {SB_LINERIGHT, 0, 2},      {SB_PAGERIGHT, 0, 12},
      {SB_PAGELEFT, 0, 2}, {SB_THUMBTRACK, 77, 77},   {SB_THUMBPOSITION, 5, 77}, {SB_LEFT, 0, 77},
      {SB_RIGHT, 0, 77},   {SB_THUMBTRACK, 170, 170}, {SB_LINERIGHT, 0, 170},
  };
  Open("n", "1");
  for (const ScrollCase& s : steps) {
    Set(IDC_AN_BOX, "stale");
    Scroll(s.code, s.thumb);
    EXPECT_EQ(Text(IDC_N), std::to_string(s.n)) << s.code;
    EXPECT_EQ(Thumb(), s.n);
    EXPECT_EQ(Text(IDC_AN_BOX), std::to_string(s.n)) << "every scroll message computes";
  }
}

TEST_F(DialogTest, ScrollAfterATypedLargeNStartsFrom170) {
  Open("n", "500");
  Scroll(SB_LINERIGHT);
  EXPECT_EQ(Text(IDC_N), "170");
  EXPECT_EQ(Text(IDC_AN_BOX), "170");
}

TEST_F(DialogTest, ScrollWithAnEmptyFormulaWritesNOnly) {
  Open();
  Set(IDC_AN_BOX, "kept");
  Scroll(SB_LINERIGHT);
  EXPECT_EQ(Text(IDC_N), "2");
  EXPECT_EQ(Text(IDC_AN_BOX), "kept");
  EXPECT_TRUE(Messages().empty());
}

TEST_F(DialogTest, CheckboxesChooseQuantitiesAndGreyTheirBoxes) {
  Open("n", "3");
  Click(IDC_SN_CHECK);
  EXPECT_EQ(IsDlgButtonChecked(dialog_, IDC_SN_CHECK), BST_UNCHECKED);
  EXPECT_FALSE(IsWindowEnabled(ItemHandle(dialog_, IDC_SN_BOX)));
  EXPECT_EQ(Text(IDC_SN_BOX), "6");
  Set(IDC_N, "4");
  Calculate();
  EXPECT_EQ(Results(), (Strings{"4", "6", "24"}));
  Click(IDC_SN_CHECK);
  EXPECT_TRUE(IsWindowEnabled(ItemHandle(dialog_, IDC_SN_BOX)));
  EXPECT_EQ(Text(IDC_SN_BOX), "6") << "ticking again computes nothing";
  // With nothing ticked a request still records the formula and moves the thumb.
  for (int id : {IDC_AN_CHECK, IDC_SN_CHECK, IDC_PN_CHECK}) Click(id);
  Set(IDC_FORMULA, "2*n");
  Set(IDC_N, "9");
  Calculate();
  EXPECT_EQ(Thumb(), 9);
  EXPECT_EQ(History(), (Strings{"n", "2*n"}));
  EXPECT_EQ(Results(), (Strings{"4", "6", "24"}));
}

TEST_F(DialogTest, TypingInTheFormulaFieldEmptiesTheResults) {
  Open("n", "3");
  HWND edit = GetWindow(ItemHandle(dialog_, IDC_FORMULA), GW_CHILD);
  ASSERT_NE(edit, nullptr);
  SendMessageA(edit, EM_SETSEL, 1, 1);
  SendMessageA(edit, WM_CHAR, '+', 0);
  EXPECT_EQ(Results(), (Strings{"", "", ""}));
  EXPECT_EQ(Text(IDC_FORMULA), "n+");
}

// The field takes no more than is read from it: nothing typed is cut off unseen.
TEST_F(DialogTest, FormulaFieldTakesAtMost254Characters) {
  Open("", "1");
  HWND edit = GetWindow(ItemHandle(dialog_, IDC_FORMULA), GW_CHILD);
  ASSERT_NE(edit, nullptr);
  const std::string typed = "1" + std::string(299, '0');
  for (char c : typed) SendMessageA(edit, WM_CHAR, c, 0);
  EXPECT_EQ(GetWindowTextLengthA(edit), 254);
  Calculate();
  EXPECT_EQ(History(), (Strings{typed.substr(0, 254)}));
}

TEST_F(DialogTest, EmptyOrRejectedFormulaChangesNothing) {
  Open("n", "3");
  for (const char* formula : {"", "   ", "n+*2"}) {
    watcher_->Clear();
    Set(IDC_FORMULA, formula);
    Set(IDC_AN_BOX, "a");
    Set(IDC_N, "7");
    Calculate();
    EXPECT_EQ(Messages().size(), formula[0] == 'n' ? 1u : 0u) << '"' << formula << '"';
    EXPECT_EQ(Text(IDC_AN_BOX), "a");
    EXPECT_EQ(Thumb(), 3);
  }
  EXPECT_EQ(History(), (Strings{"n"}));
}

TEST_F(DialogTest, EnterRunsARequest) {
  Open("n", "");
  Set(IDC_N, "5");
  Command(IDOK);
  EXPECT_EQ(Text(IDC_SN_BOX), "15");
}

struct ColourCase {
  UINT message;
  COLORREF background;  // CLR_INVALID: not changed
  COLORREF brush;
};

TEST_F(DialogTest, ColourMessages) {
  const ColourCase cases[] = {
      {WM_CTLCOLOREDIT, RGB(240, 240, 180), RGB(240, 240, 180)},
      {WM_CTLCOLORDLG, RGB(0, 220, 180), RGB(0, 220, 180)},
      {WM_CTLCOLORSTATIC, RGB(0, 220, 180), RGB(0, 220, 180)},
      {WM_CTLCOLORSCROLLBAR, CLR_INVALID, RGB(240, 200, 80)},
  };
  Open();
  HDC dc = CreateCompatibleDC(nullptr);
  for (const ColourCase& c : cases) {
    SetBkColor(dc, RGB(1, 2, 3));
    auto brush = reinterpret_cast<HBRUSH>(SendMessageA(dialog_, c.message, reinterpret_cast<WPARAM>(dc), 0));
    LOGBRUSH described{};
    ASSERT_EQ(GetObjectA(brush, sizeof described, &described), static_cast<int>(sizeof described)) << c.message;
    EXPECT_EQ(described.lbColor, c.brush) << c.message;
    EXPECT_EQ(GetBkColor(dc), c.background == CLR_INVALID ? RGB(1, 2, 3) : c.background) << c.message;
  }
  // The list and the buttons keep the system colours.
  for (UINT message : {WM_CTLCOLORLISTBOX, WM_CTLCOLORBTN}) {
    auto brush = reinterpret_cast<HBRUSH>(SendMessageA(dialog_, message, reinterpret_cast<WPARAM>(dc), 0));
    EXPECT_TRUE(brush != App.DialogBrush && brush != App.EditBrush && brush != App.ScrollBarBrush) << message;
  }
  DeleteDC(dc);
}

TEST_F(DialogTest, ClassIconIsTheProgramIcon) {
  Open();
  EXPECT_NE(GetClassLongPtrA(dialog_, GCLP_HICON), 0);
}

}  // namespace

namespace {

HWND AboutTestDialog = nullptr;

// Runs from inside the about window's loop: closes the program's dialog.
void CALLBACK CloseDialogWhileAboutIsOpen(HWND, UINT, UINT_PTR timer, DWORD) {
  if (AboutWindowHandle() == nullptr) return;
  KillTimer(nullptr, timer);
  SendMessageA(AboutTestDialog, WM_COMMAND, IDCANCEL, 0);
}

TEST_F(DialogTest, AboutWindowFromTheMenuClosesWithTheProgram) {
  Open("n", "2");
  AboutTestDialog = dialog_;
  SetTimer(nullptr, 0, 100, CloseDialogWhileAboutIsOpen);
  Command(IDM_ABOUT, 0);  // returns once the about window has closed
  EXPECT_EQ(AboutWindowHandle(), nullptr);
  EXPECT_EQ(ReadFile("ults.rel"), "n\r\n");
}

}  // namespace
