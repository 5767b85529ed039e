// Opens the real dialog "dialegserie" from the program's resources, in process,
// in a fresh current folder, and drives it with messages.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/main_dialog.h"
#include "app/vantel_state.h"
#include "engine/dialog_state.h"
#include "resources/resource_ids.h"
#include "tests/winhelpers/message_box_watcher.h"
#include "winhelpers/dialog_helpers.h"

inline const char kDialogTitle[] = "S\350ries: c\340lcul dels termes an, Sn, Pn";

class DialogTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { EngineStartup(); }

  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() /
              ("vantel_dialog_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    GetCurrentDirectoryA(MAX_PATH, previous_folder_);
    SetCurrentDirectoryA(folder_.string().c_str());
  }

  void TearDown() override {
    if (dialog_ != nullptr) DestroyWindow(dialog_);
    watcher_.reset();
    SetCurrentDirectoryA(previous_folder_);
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

  // Opens the dialog as the program does at start with these arguments; the
  // message boxes it shows are answered and recorded.
  void Open(const char* formula = "", const char* n = "") {
    App = VantelState{};
    App.ArgFormula = formula;
    App.ArgN = n;
    watcher_ = std::make_unique<MessageBoxWatcher>(kDialogTitle);
    dialog_ = CreateDialogParamA(GetModuleHandleA(nullptr), "dialegserie", nullptr, MainDialogProc, 0);
    // Left hidden: under Wine without a window manager, destroying a shown
    // window waits two seconds for the X server.
    ASSERT_NE(dialog_, nullptr);
  }

  void Command(int id, int code = BN_CLICKED) {
    SendMessageA(dialog_, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(ItemHandle(dialog_, id)));
  }
  void Calculate() { Command(IDC_CALCULATE); }
  void Close() { Command(IDCANCEL); }
  void Click(int id) { SendMessageA(ItemHandle(dialog_, id), BM_CLICK, 0, 0); }
  void Scroll(int code, int thumb = 0) {
    SendMessageA(dialog_, WM_HSCROLL, MAKEWPARAM(code, thumb),
                 reinterpret_cast<LPARAM>(ItemHandle(dialog_, IDC_SCROLL)));
  }
  // Handles what the dialog posted to itself.
  void PumpMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }
  void Set(int id, const char* text) { SetDlgItemTextA(dialog_, id, text); }
  std::string Text(int id) { return GetItemText(dialog_, id).str(); }
  int Thumb() { return GetScrollPos(ItemHandle(dialog_, IDC_SCROLL), SB_CTL); }
  std::vector<std::string> Results() { return {Text(IDC_AN_BOX), Text(IDC_SN_BOX), Text(IDC_PN_BOX)}; }

  std::vector<std::string> History() {
    std::vector<std::string> entries;
    int count = ComboCount(dialog_, IDC_FORMULA);
    for (int i = 1; i <= count; ++i) entries.push_back(ComboItemText(dialog_, IDC_FORMULA, i).str());
    return entries;
  }

  std::vector<SeenMessageBox> Messages() { return watcher_->Seen(); }

  void WriteFile(const char* name, const std::string& bytes) {
    std::ofstream(folder_ / name, std::ios::binary) << bytes;
  }
  std::string ReadFile(const char* name) {
    std::ifstream in(folder_ / name, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
  }
  bool Exists(const char* name) { return std::filesystem::exists(folder_ / name); }

  HWND dialog_ = nullptr;
  std::unique_ptr<MessageBoxWatcher> watcher_;
  std::filesystem::path folder_;
  char previous_folder_[MAX_PATH] = {};
};

inline const char kBadN[] = "nom\351s nombres naturals (enters positius)";
