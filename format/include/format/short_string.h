// A single-byte text of at most 255 characters. Every operation that would make
// it longer keeps its first 255 characters, so no text of the program can grow
// past that limit.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

class ShortString {
 public:
  static constexpr std::size_t kCapacity = 255;

  ShortString() = default;
  ShortString(const char* text) { Append(text ? std::string_view(text) : std::string_view()); }
  ShortString(std::string_view text) { Append(text); }
  ShortString(const std::string& text) { Append(text); }

  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  const char* c_str() const { return data_; }
  const char* data() const { return data_; }
  std::string_view view() const { return {data_, size_}; }
  std::string str() const { return std::string(view()); }
  operator std::string_view() const { return view(); }

  // 0-based access; positions past the end read as the terminating zero.
  char operator[](std::size_t i) const { return i < size_ ? data_[i] : '\0'; }

  // Appends as much of the text as fits.
  ShortString& Append(std::string_view text) {
    std::size_t n = std::min(text.size(), kCapacity - size_);
    std::memcpy(data_ + size_, text.data(), n);
    size_ = static_cast<std::uint8_t>(size_ + n);
    data_[size_] = '\0';
    return *this;
  }
  ShortString& Append(char c) {
    if (size_ < kCapacity) {
      data_[size_++] = c;
      data_[size_] = '\0';
    }
    return *this;
  }
  ShortString& operator+=(std::string_view text) { return Append(text); }
  ShortString& operator+=(char c) { return Append(c); }

  // In a buffer of kCapacity characters that holds size of them: puts the text in
  // place of characters [pos, pos + count) (0-based, within them), keeping the
  // first kCapacity characters of the result; gives the new size. The text must
  // not lie in the buffer. (For texts rewritten in place, without a ShortString.)
  static std::size_t Replace(char* data, std::size_t size, std::size_t pos, std::size_t count, std::string_view text) {
    const std::size_t n = std::min(text.size(), kCapacity - pos);
    const std::size_t kept = std::min(size - pos - count, kCapacity - pos - n);
    std::memmove(data + pos + n, data + pos + count, kept);
    std::memcpy(data + pos, text.data(), n);
    return pos + n + kept;
  }

  // Characters [pos, pos + count) (0-based), clipped to the text.
  ShortString Sub(std::size_t pos, std::size_t count = kCapacity) const {
    if (pos >= size_) return {};
    return ShortString(view().substr(pos, count));
  }

  void Clear() {
    size_ = 0;
    data_[0] = '\0';
  }

  friend bool operator==(const ShortString& a, const ShortString& b) { return a.view() == b.view(); }
  friend bool operator==(const ShortString& a, std::string_view b) { return a.view() == b; }
  friend bool operator==(const ShortString& a, const char* b) { return a.view() == std::string_view(b); }
  friend ShortString operator+(ShortString a, std::string_view b) { return a.Append(b); }
  friend ShortString operator+(ShortString a, char b) { return a.Append(b); }
  friend ShortString operator+(std::string_view a, const ShortString& b) { return ShortString(a).Append(b.view()); }

 private:
  char data_[kCapacity + 1] = {};
  std::uint8_t size_ = 0;
};
