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
  // Watches the windows of the calling thread, except dialogs with the given title.
  explicit MessageBoxWatcher(std::string ignored_title = "")
      : watched_thread_(GetCurrentThreadId()), ignored_title_(std::move(ignored_title)), thread_([this] { Run(); }) {}
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
    if (std::string(class_name) != "#32770" || !IsWindowVisible(box)) return;
    for (HWND done : answered_) {
      if (done == box) return;
    }
    SeenMessageBox seen;
    seen.caption = Caption(box);
    if (!ignored_title_.empty() && seen.caption == ignored_title_) return;
    char text[1024] = {};
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

  // Read without sending a message, so that a window whose thread is busy does
  // not hold the watcher up.
  static std::string Caption(HWND window) {
    wchar_t wide[1024] = {};
    int length = InternalGetWindowText(window, wide, 1024);
    std::string narrow(static_cast<std::size_t>(length) * 2 + 1, '\0');
    int n =
        WideCharToMultiByte(1252, 0, wide, length, narrow.data(), static_cast<int>(narrow.size()), nullptr, nullptr);
    narrow.resize(n);
    return narrow;
  }

  void Run() {
    while (!stop_) {
      EnumThreadWindows(watched_thread_, Visit, reinterpret_cast<LPARAM>(this));
      Sleep(20);
    }
  }

  DWORD watched_thread_;
  std::string ignored_title_;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::vector<SeenMessageBox> seen_;
  std::vector<HWND> answered_;
  std::thread thread_;
};
