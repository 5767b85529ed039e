#include "engine/shared_work.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace {

// Set while a thread takes pieces of shared work: work shared from inside a
// piece is done by the thread that asks.
thread_local bool Sharing = false;

// One helper thread, started at the first shared work and kept for the next;
// it is never destroyed, so that no thread waits on a released lock at exit.
// Between pieces of work that follow closely (the blocks of one request) the
// helper watches for the next one for a moment instead of sleeping: waking a
// sleeping thread can take longer than the piece itself.
class Helper {
 public:
  Helper() {
    std::thread([this] { Serve(); }).detach();
  }

  void Run(int count, void (*work)(void*, int), void* context) {
    std::lock_guard<std::mutex> one_at_a_time(run_mutex_);
    work_ = work;
    context_ = context;
    count_ = count;
    next_.store(0);
    finished_.store(false);
    {
      std::lock_guard<std::mutex> lock(mutex_);
      job_.fetch_add(1, std::memory_order_release);
    }
    if (sleeping_.load()) wake_.notify_one();
    Take();
    // The helper's last piece is about as long as ours: wait for it awake.
    while (!finished_.load(std::memory_order_acquire)) std::this_thread::yield();
  }

 private:
  // Pieces in order, as long as there are any.
  void Take() {
    Sharing = true;
    for (int piece = next_.fetch_add(1); piece < count_; piece = next_.fetch_add(1)) work_(context_, piece);
    Sharing = false;
  }

  void Serve() {
    unsigned seen = 0;
    for (;;) {
      const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(2);
      while (job_.load(std::memory_order_acquire) == seen && std::chrono::steady_clock::now() < until)
        std::this_thread::yield();
      if (job_.load(std::memory_order_acquire) == seen) {
        std::unique_lock<std::mutex> lock(mutex_);
        sleeping_.store(true);
        wake_.wait(lock, [&] { return job_.load() != seen; });
        sleeping_.store(false);
      }
      seen = job_.load(std::memory_order_acquire);
      Take();
      finished_.store(true, std::memory_order_release);
    }
  }

  std::mutex run_mutex_;
  std::mutex mutex_;
  std::condition_variable wake_;
  void (*work_)(void*, int) = nullptr;
  void* context_ = nullptr;
  int count_ = 0;
  std::atomic<int> next_{0};
  std::atomic<unsigned> job_{0};
  std::atomic<bool> finished_{true};
  std::atomic<bool> sleeping_{false};
};

}  // namespace

void ShareWork(int count, void (*work)(void* context, int piece), void* context) {
  static const bool two_cores = std::thread::hardware_concurrency() >= 2;
  if (count >= 2 && two_cores) {
    static Helper* const helper = new Helper;
    if (!Sharing) {
      helper->Run(count, work, context);
      return;
    }
  }
  for (int piece = 0; piece < count; ++piece) work(context, piece);
}
