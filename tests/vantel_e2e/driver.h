// Drives a running Vantel.exe from another process, the way a user meets it: the
// dialog is found by its title, fields are typed into key by key, buttons are
// clicked, message boxes are read and answered. Every wait has a deadline.
#pragma once

#include <windows.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace e2e {

// Set by main() from the command line.
extern std::string g_vantel_exe;  // the program under test
extern std::string g_help_dir;    // the folder holding the help texts

constexpr DWORD kStartWaitMs = 30000;   // for a fresh process to show its dialog
constexpr DWORD kActionWaitMs = 30000;  // for one user action to be handled
constexpr DWORD kExitWaitMs = 15000;    // for the process to end after a close

// The dialog's title and other texts of the program, in Windows-1252.
extern const char kDialogTitle[];

// Windows-1252 <-> UTF-16. Texts are read across processes with the wide messages:
// Wine hands some narrow ones back in UTF-16.
std::string To1252(const std::wstring& wide);
std::wstring From1252(const std::string& text);

// The text of a window or control of another process (WM_GETTEXT).
std::string WindowText(HWND window);
std::string ClassOf(HWND window);

// A message box as the user saw it.
struct SeenBox {
  std::string caption;
  std::string text;
  int buttons = 0;              // push buttons in the box
  bool dialog_visible = false;  // whether the main dialog was showing at the time
};

// A fresh folder in the temporary folder, removed with its contents at the end.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::string& path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "\\" + name; }
  std::vector<std::string> Names() const;  // the entries in the folder, sorted

 private:
  std::string path_;
};

bool ReadWholeFile(const std::string& path, std::string& bytes);
bool WriteWholeFile(const std::string& path, const std::string& bytes);

// One Vantel.exe process. The destructor ends it if it still runs.
class Vantel {
 public:
  // Starts `program` in `folder` with `arguments` as the rest of its command line.
  Vantel(const std::string& folder, const std::string& arguments = "", const std::string& program = g_vantel_exe);
  // The same with wide paths, for folders whose names Windows-1252 cannot hold.
  Vantel(const std::wstring& folder, const std::wstring& program);
  // Starts the program the way the Start menu does: by opening its shortcut, which
  // names the program and the folder it runs in.
  struct Shortcut {
    std::string link;
  };
  explicit Vantel(const Shortcut& shortcut);
  ~Vantel();
  Vantel(const Vantel&) = delete;
  Vantel& operator=(const Vantel&) = delete;

  // Waits until the main dialog shows, answering every message box shown before it
  // (they are kept in startup_boxes). False when the dialog did not come up in time.
  bool Open();
  std::vector<SeenBox> startup_boxes;

  HWND dialog() const { return dialog_; }
  HWND Item(int id) const { return GetDlgItem(dialog_, id); }
  HWND FormulaEdit() const;  // the edit field inside combo box 101
  DWORD process_id() const { return info_.dwProcessId; }
  bool Running() const;

  // Replaces a field's text by typing: select all, backspace, then one WM_CHAR per
  // character. For IDC_FORMULA the keys go to the combo box's edit field.
  void Type(int id, const std::string& text);
  // Adds keys at the end of a field's text.
  void TypeMore(int id, const std::string& text);

  std::string Text(int id) const;
  bool Checked(int id) const;
  bool Enabled(int id) const;
  int Thumb() const;  // position of scroll bar 20
  std::vector<std::string> History() const;

  // User actions. Each returns when the program has handled it, answering with OK
  // every message box it shows meanwhile; the boxes are returned in order.
  std::vector<SeenBox> Click(int id);  // BM_CLICK on a push button or checkbox
  std::vector<SeenBox> Menu(int id);   // a menu command
  std::vector<SeenBox> Calculate(const std::string& formula, const std::string& n);
  std::vector<SeenBox> Scroll(int code, int thumb = 0);  // one WM_HSCROLL
  std::vector<SeenBox> Arrow(bool right);                // an arrow click: the step, then SB_ENDSCROLL
  std::vector<SeenBox> Choose(int position);             // picks history entry `position` (1-based)
  // Posts a key to a control, through the dialog's own message loop.
  void PostKey(int id, WPARAM key);

  // Sends a message from a helper thread and returns a flag that turns true when
  // its handling has ended; for commands that run a loop of their own.
  std::shared_ptr<std::atomic<bool>> SendLater(HWND target, UINT message, WPARAM wparam, LPARAM lparam);
  // Waits for the flag, answering message boxes meanwhile.
  std::vector<SeenBox> Settle(const std::shared_ptr<std::atomic<bool>>& done, DWORD wait_ms = kActionWaitMs);

  // A visible message box of this process, or null.
  HWND FindMessageBox() const;
  // The about window of this process (class FerSobre), or null; `count` counts them.
  HWND FindAboutWindow(int* count = nullptr) const;
  // Waits for the process to end; false when it did not end in time.
  bool WaitExit(DWORD* exit_code = nullptr, DWORD wait_ms = kExitWaitMs);

 private:
  SeenBox Answer(HWND box);

  PROCESS_INFORMATION info_{};
  HWND dialog_ = nullptr;
  std::vector<std::thread> senders_;
};

// A visible Notepad window that does not belong to process `not_pid`, or null.
HWND FindNotepad(DWORD not_pid);
// Ends the process of a Notepad window.
void EndNotepad(HWND notepad);

// Waits until `ready` holds or the time is up; the result is `ready`'s last answer.
template <typename F>
bool WaitFor(F ready, DWORD wait_ms = kActionWaitMs) {
  const ULONGLONG end = GetTickCount64() + wait_ms;
  for (;;) {
    if (ready()) return true;
    if (GetTickCount64() > end) return false;
    Sleep(10);
  }
}

}  // namespace e2e
