// Answers the message boxes that the test's own thread opens: a second thread
// finds each box, records its caption, text and buttons and presses OK.
#pragma once

#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct SeenMessageBox {
  std::string caption;
  std::string text;
  bool ok_only = false;  // an OK button and no other
};

class MessageBoxWatcher {
 public:
  // Watches the windows of the calling thread, except the given one.
  explicit MessageBoxWatcher(HWND ignored = nullptr)
      : watched_thread_(GetCurrentThreadId()), ignored_(ignored), thread_([this] { Run(); }) {}
  ~MessageBoxWatcher() {
    stop_ = true;
    thread_.join();
  }

  std::vector<SeenMessageBox> Seen() {
    std::lock_guard<std::mutex> lock(mutex_);
    return seen_;
  }
  void Clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    seen_.clear();
  }

 private:
  static BOOL CALLBACK Visit(HWND window, LPARAM self) {
    reinterpret_cast<MessageBoxWatcher*>(self)->Answer(window);
    return TRUE;
  }

  void Answer(HWND box) {
    char class_name[32] = {};
    GetClassNameA(box, class_name, sizeof class_name);
    if (box == ignored_ || std::string(class_name) != "#32770" || !IsWindowVisible(box)) return;
    for (HWND done : answered_) {
      if (done == box) return;
    }
    SeenMessageBox seen;
    char text[1024] = {};
    GetWindowTextA(box, text, sizeof text);
    seen.caption = text;
    text[0] = '\0';
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    seen.text = text;
    seen.ok_only = GetDlgItem(box, IDOK) != nullptr && GetDlgItem(box, IDCANCEL) == nullptr &&
                   GetDlgItem(box, IDYES) == nullptr && GetDlgItem(box, IDNO) == nullptr;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      seen_.push_back(seen);
    }
    answered_.push_back(box);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
  }

  void Run() {
    while (!stop_) {
      EnumThreadWindows(watched_thread_, Visit, reinterpret_cast<LPARAM>(this));
      Sleep(20);
    }
  }

  DWORD watched_thread_;
  HWND ignored_;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::vector<SeenMessageBox> seen_;
  std::vector<HWND> answered_;
  std::thread thread_;
};
