// Reading lines and writing them with CR LF through a C stream, every failure kept until the file is closed.
#include "portable/text_file.h"

namespace {

constexpr int kCtrlZ = 26;  // ends a text file where a line would begin

bool Open(TextFile* file, const char* name, const char* mode) {
  Close(file);
  file->failed = false;
  file->writing = mode[0] == 'w';
  file->handle = std::fopen(name, mode);
  if (file->handle == nullptr) file->failed = true;
  return file->handle != nullptr;
}

// The next byte. A text file belongs to one thread, so the runtime's lock per
// character is not taken: with it a history of 65535 lines read several times slower.
int NextByte(std::FILE* handle) {
#ifdef _WIN32
  return _getc_nolock(handle);
#else
  return getc_unlocked(handle);
#endif
}

int Peek(std::FILE* handle) {
  int c = NextByte(handle);
  if (c != EOF) std::ungetc(c, handle);
  return c;
}

}  // namespace

TextFile::~TextFile() { Close(this); }

bool OpenForReading(TextFile* file, const char* name) { return Open(file, name, "rb"); }

bool OpenForWriting(TextFile* file, const char* name) { return Open(file, name, "wb"); }

bool AttachForReading(TextFile* file, std::FILE* opened) {
  Close(file);
  file->writing = false;
  file->handle = opened;
  file->failed = opened == nullptr;
  return opened != nullptr;
}

bool IsOpen(const TextFile& file) { return file.handle != nullptr; }

bool AtEnd(TextFile* file) {
  if (file->handle == nullptr) return true;
  int c = Peek(file->handle);
  if (c == EOF && std::ferror(file->handle)) file->failed = true;
  return c == EOF || c == kCtrlZ;
}

ShortString ReadLine(TextFile* file) {
  ShortString line;
  if (file->handle == nullptr) return line;
  char buffer[ShortString::kCapacity];
  std::size_t used = 0;
  for (;;) {
    int c = NextByte(file->handle);
    if (c == EOF) {
      if (std::ferror(file->handle)) file->failed = true;
      break;
    }
    if (c == '\n') break;
    if (c == '\r') {
      if (Peek(file->handle) == '\n') NextByte(file->handle);
      break;
    }
    // Characters past the 255th are read and dropped up to the line end.
    if (used < sizeof buffer) buffer[used++] = static_cast<char>(c);
  }
  line.Append(std::string_view(buffer, used));
  return line;
}

bool OnlyBlanksLeft(TextFile* file) {
  if (file->handle == nullptr) return true;
  for (;;) {
    int c = NextByte(file->handle);
    if (c == EOF) {
      if (std::ferror(file->handle)) file->failed = true;
      return !file->failed;
    }
    if (c != ' ' && c != '\r' && c != '\n' && c != kCtrlZ) return false;
  }
}

void WriteLine(TextFile* file, std::string_view text) {
  if (file->handle == nullptr) return;
  if (std::fwrite(text.data(), 1, text.size(), file->handle) != text.size() ||
      std::fwrite(kLineEnd.data(), 1, kLineEnd.size(), file->handle) != kLineEnd.size()) {
    file->failed = true;
  }
}

bool Close(TextFile* file) {
  if (file->handle != nullptr) {
    // Flushed apart from the closing: some C runtimes report success from fclose
    // when its own flush failed.
    if ((file->writing && std::fflush(file->handle) != 0) || std::ferror(file->handle)) file->failed = true;
    if (std::fclose(file->handle) != 0) file->failed = true;
    file->handle = nullptr;
  }
  return !file->failed;
}
