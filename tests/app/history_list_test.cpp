// The formula history in the dialog: loading "ults.rel", adding formulas and
// writing the file back at every way of closing.
#include <functional>

#include "tests/app/dialog_fixture.h"

namespace {

using Strings = std::vector<std::string>;

TEST_F(DialogTest, NoFileThenOneFormula) {
  Open();
  EXPECT_TRUE(History().empty());
  Set(IDC_FORMULA, "n^2");
  Set(IDC_N, "2");
  Calculate();
  Close();
  EXPECT_EQ(ReadFile("ults.rel"), "n^2\r\n");
  EXPECT_FALSE(Exists("ults.rel.tmp"));
}

TEST_F(DialogTest, FileLoadsInOrderAndIsWrittenBackTheSame) {
  WriteFile("ults.rel", "n^2\r\n\r\n1/n\r\n1/n\r\n");
  Open();
  EXPECT_EQ(History(), (Strings{"n^2", "", "1/n", "1/n"}));
  Close();
  EXPECT_EQ(ReadFile("ults.rel"), "n^2\r\n\r\n1/n\r\n1/n\r\n");
}

TEST_F(DialogTest, LfFileIsWrittenBackWithCrLf) {
  WriteFile("ults.rel", "n^2\n1/n\n" + std::string(300, 'n') + "\n");
  Open();
  EXPECT_EQ(History(), (Strings{"n^2", "1/n", std::string(255, 'n')}));
  Close();
  EXPECT_EQ(ReadFile("ults.rel"), "n^2\r\n1/n\r\n" + std::string(255, 'n') + "\r\n");
}

TEST_F(DialogTest, OnlyEqualFormulasMatchIgnoringCase) {
  WriteFile("ults.rel", "n^2\r\n");
  Open();
  const char* requests[] = {"N^2", "n^2", "n", "n^2+1", "N"};
  for (const char* formula : requests) {
    Set(IDC_FORMULA, formula);
    Set(IDC_N, "1");
    Calculate();
  }
  EXPECT_EQ(History(), (Strings{"n^2", "n", "n^2+1"}));
  Close();
  EXPECT_EQ(ReadFile("ults.rel"), "n^2\r\nn\r\nn^2+1\r\n");
}

TEST_F(DialogTest, ChoosingAnEntryComputesAtOnceAndAddsNothing) {
  WriteFile("ults.rel", "n^2\r\n1/n\r\n");
  Open();
  Set(IDC_N, "3");
  SendDlgItemMessageA(dialog_, IDC_FORMULA, CB_SETCURSEL, 1, 0);
  Command(IDC_FORMULA, CBN_SELCHANGE);
  EXPECT_EQ(Text(IDC_FORMULA), "1/n");
  EXPECT_EQ(Text(IDC_AN_BOX), "0.33333333333333331");
  EXPECT_EQ(History(), (Strings{"n^2", "1/n"}));
}

TEST_F(DialogTest, UnreadableFileIsNeverOverwritten) {
  WriteFile("ults.rel", "n^2\r\n");
  // Another program holds the file open without sharing it.
  HANDLE held = CreateFileA("ults.rel", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  Open();
  EXPECT_TRUE(History().empty());
  CloseHandle(held);
  ASSERT_EQ(Messages().size(), 1u);  // told at start, and not again at the close
  EXPECT_EQ(Messages()[0].caption, "* error *");
  EXPECT_EQ(Messages()[0].text,
            "No s'ha pogut llegir sencer ults.rel: no es modificar\340 i les f\363rmules d'aquesta sessi\363 no s'hi "
            "desaran.");
  Set(IDC_FORMULA, "1/n");
  Calculate();
  Close();
  EXPECT_EQ(Messages().size(), 1u);
  EXPECT_EQ(ReadFile("ults.rel"), "n^2\r\n");
}

TEST_F(DialogTest, FullListStopsGrowing) {
  std::string many;
  for (int i = 0; i < 65535; ++i) many += "n+" + std::to_string(i) + "\r\n";
  WriteFile("ults.rel", many);
  Open();
  EXPECT_EQ(ComboCount(dialog_, IDC_FORMULA), 65535);
  Set(IDC_FORMULA, "n");
  Set(IDC_N, "1");
  Calculate();
  EXPECT_EQ(ComboCount(dialog_, IDC_FORMULA), 65535);
  EXPECT_EQ(Text(IDC_AN_BOX), "1");
  EXPECT_TRUE(Messages().empty());
  Close();
  EXPECT_EQ(ReadFile("ults.rel"), many);
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0].text, "L'historial ja t\351 65535 f\363rmules: les f\363rmules noves no s'hi han afegit.");
}

// A save that fails is told before the dialog ends, and the file stays as it was;
// temporary files left by earlier saves are no fault, and are removed.
TEST_F(DialogTest, SaveFaultsAreToldAndKeepTheFile) {
  struct SaveCase {
    const char* name;
    std::function<void()> before;
    std::string told;  // the text of the message; empty: none
    std::string after;
  };
  const std::string not_saved = "No s'ha pogut desar l'historial: ";
  HANDLE held = INVALID_HANDLE_VALUE;  // the lock, held by "another copy"
  const SaveCase cases[] = {
      {"ults.rel is a folder", [&] { std::filesystem::create_directory(folder_ / "ults.rel"); },
       not_saved + "ults.rel \351s una carpeta.", ""},
      {"a folder ults.rel.lock",
       [&] {
         WriteFile("ults.rel", "n^2\r\n");
         std::filesystem::create_directory(folder_ / "ults.rel.lock");
       },
       not_saved + "no s'ha pogut escriure al costat de ults.rel; ults.rel no s'ha modificat.", "n^2\r\n"},
      {"read-only ults.rel",
       [&] {
         WriteFile("ults.rel", "n^2\r\n");
         SetFileAttributesA("ults.rel", FILE_ATTRIBUTE_READONLY);
       },
       not_saved + "ults.rel \351s de nom\351s lectura i no s'ha modificat.", "n^2\r\n"},
      {"another copy saving for the whole wait",
       [&] {
         WriteFile("ults.rel", "n^2\r\n");
         held =
             CreateFileA("ults.rel.lock", GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_FLAG_DELETE_ON_CLOSE, nullptr);
       },
       not_saved + "una altra c\362pia de Vantel l'estava desant; ults.rel no s'ha modificat.", "n^2\r\n"},
      {"partial temporary files of earlier saves",
       [&] {
         WriteFile("ults.rel", "n^2\r\n");
         WriteFile("ults.rel.tmp", std::string(1 << 20, 'x'));
         WriteFile("ults.rel.4242.tmp", "n^");  // of a copy that was killed
       },
       "", "n^2\r\n1/n\r\n"},
  };
  for (const SaveCase& c : cases) {
    SCOPED_TRACE(c.name);
    c.before();
    Open("1/n", "2");
    Close();
    std::vector<SeenMessageBox> seen = Messages();
    ASSERT_EQ(seen.size(), c.told.empty() ? 0u : 1u);
    if (!c.told.empty()) {
      EXPECT_EQ(seen[0].caption, "* error *");
      EXPECT_EQ(seen[0].text, c.told);
      EXPECT_TRUE(seen[0].ok_only);
    }
    EXPECT_EQ(ReadFile("ults.rel"), c.after);
    EXPECT_FALSE(Exists("ults.rel.tmp") || Exists("ults.rel.4242.tmp"));
    DWORD attributes = GetFileAttributesA("ults.rel");
    if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
      EXPECT_EQ((attributes & FILE_ATTRIBUTE_READONLY) != 0, c.told.find("lectura") != std::string::npos)
          << "a read-only file stays read-only, and only that one";
    }
    DestroyWindow(dialog_);
    dialog_ = nullptr;
    if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
    held = INVALID_HANDLE_VALUE;
    SetFileAttributesA("ults.rel", FILE_ATTRIBUTE_NORMAL);
    for (const char* name : {"ults.rel", "ults.rel.lock"}) std::filesystem::remove_all(folder_ / name);
  }
}

TEST_F(DialogTest, EveryWayOfClosingSavesTheHistory) {
  // "&Prou!", "Sortir", the close box and Esc all arrive as command 2.
  for (int way = 0; way < 4; ++way) {
    std::filesystem::remove(folder_ / "ults.rel");
    Open("n", "1");
    if (way == 0) Click(IDC_ENOUGH);
    if (way == 1) SendMessageA(dialog_, WM_COMMAND, MAKEWPARAM(IDM_QUIT, 0), 0);
    if (way == 2) SendMessageA(dialog_, WM_CLOSE, 0, 0);
    if (way == 3) {
      MSG escape{GetWindow(ItemHandle(dialog_, IDC_FORMULA), GW_CHILD), WM_KEYDOWN, VK_ESCAPE, 0, 0, {}};
      IsDialogMessageA(dialog_, &escape);
    }
    PumpMessages();
    EXPECT_EQ(ReadFile("ults.rel"), "n\r\n") << way;
    DestroyWindow(dialog_);
    dialog_ = nullptr;
  }
}

}  // namespace
