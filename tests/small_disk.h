// A folder on a small filesystem of its own, for the cases of saving on a full
// disk. ctest mounts it around the test (tests/small_disk.sh) and names it in
// VANTEL_SMALL_DISK.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#endif

namespace small_disk {

constexpr std::uintmax_t kMostBytes = 1 << 20;  // a larger filesystem is not the small one

// The size of the filesystem holding the folder and the room left on it; zeros
// when that cannot be told.
inline std::filesystem::space_info Space(const std::filesystem::path& folder) {
#ifdef _WIN32
  // The C++ library's answer is the drive's, not that of the folder's own filesystem.
  ULARGE_INTEGER available{}, capacity{}, free{};
  if (!GetDiskFreeSpaceExA(folder.string().c_str(), &available, &capacity, &free)) return {0, 0, 0};
  return {capacity.QuadPart, free.QuadPart, available.QuadPart};
#else
  std::error_code error;
  std::filesystem::space_info space = std::filesystem::space(folder, error);
  return error ? std::filesystem::space_info{0, 0, 0} : space;
#endif
}

// The folder, emptied, in this system's form; empty when there is none (the test
// was run outside ctest, or mounting was not allowed).
inline std::filesystem::path Folder() {
  const char* named = std::getenv("VANTEL_SMALL_DISK");
  if (named == nullptr || *named == '\0') return {};
  std::string path = named;
#ifdef _WIN32
  // Under Wine the host's files are reached through drive Z:.
  path = "Z:" + path;
  for (char& c : path)
    if (c == '/') c = '\\';
#endif
  std::filesystem::space_info space = Space(path);
  if (space.capacity == 0 || space.capacity > kMostBytes) return {};
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(path, error)) {
    std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all, error);
    std::filesystem::remove_all(entry.path(), error);
  }
  return path;
}

// Fills the disk with a file of that name until not one more byte fits; false
// when room is left all the same.
inline bool Fill(const std::filesystem::path& filler) {
  std::FILE* file = std::fopen(filler.string().c_str(), "wb");
  if (file == nullptr) return false;
  std::setvbuf(file, nullptr, _IONBF, 0);  // every write reaches the disk at once
  static const char block[4096] = {};
  while (std::fwrite(block, 1, sizeof block, file) == sizeof block) {
  }
  while (std::fwrite(block, 1, 1, file) == 1) {
  }
  std::fclose(file);
  std::filesystem::space_info space = Space(filler.parent_path());
  return space.capacity > 0 && space.available == 0;
}

}  // namespace small_disk
