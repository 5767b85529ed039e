// The history without a window: matching, reading and merging entries, the file's bytes, the messages.
#include "app/history.h"

#include <cstdint>
#include <string>
#include <unordered_set>

#include "format/number_text.h"
#include "format/text.h"

bool HistoryEntryMatches(std::string_view entry, std::string_view formula) {
  if (entry.size() != formula.size()) return false;
  for (std::size_t i = 0; i < entry.size(); ++i) {
    if (FoldCase(entry[i]) != FoldCase(formula[i])) {
      return false;
    }
  }
  return true;
}

namespace {

// A line the list cannot show as it is: a NUL would cut it short, and a file that
// starts with the byte-order mark of UTF-16 holds text in another encoding.
bool LineShowsWhole(const ShortString& line, bool first) {
  if (line.view().find('\0') != std::string_view::npos) return false;
  return !(first && (line.view().starts_with("\xFF\xFE") || line.view().starts_with("\xFE\xFF")));
}

}  // namespace

bool ReadHistoryLines(TextFile* file, std::size_t already_held, const std::function<void(const ShortString&)>& add) {
  if (!IsOpen(*file)) return false;
  std::size_t count = already_held;
  bool first = true;
  while (!AtEnd(file)) {
    // Lines the list cannot take would be lost by the next save: the file is
    // then left as it is.
    if (count >= kMaxHistoryEntries) return false;
    ShortString line = ReadLine(file);
    if (file->failed || !LineShowsWhole(line, first)) return false;
    add(line);
    ++count;
    first = false;
  }
  // Text after a Ctrl-Z is not read; a file that holds some is kept as it is.
  return OnlyBlanksLeft(file) && !file->failed;
}

namespace {

// Hashes an entry as HistoryEntryMatches compares it: with letter case folded.
struct FoldedHash {
  std::size_t operator()(std::string_view entry) const {
    std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
    for (char c : entry) hash = (hash ^ static_cast<unsigned char>(FoldCase(c))) * 1099511628211ull;
    return static_cast<std::size_t>(hash);
  }
};

struct Matches {
  bool operator()(std::string_view a, std::string_view b) const { return HistoryEntryMatches(a, b); }
};

}  // namespace

std::vector<ShortString> MergeHistory(std::vector<ShortString> on_disk, const std::vector<ShortString>& added,
                                      bool* full) {
  // Room for every added entry first, so the views into the list stay valid.
  on_disk.reserve(on_disk.size() + added.size());
  std::unordered_set<std::string_view, FoldedHash, Matches> held;
  held.reserve(on_disk.size() + added.size());
  for (const ShortString& entry : on_disk) held.insert(entry.view());
  for (const ShortString& entry : added) {
    if (held.count(entry.view()) != 0) continue;
    if (on_disk.size() >= kMaxHistoryEntries) {
      *full = true;
      break;
    }
    on_disk.push_back(entry);
    held.insert(on_disk.back().view());
  }
  return on_disk;
}

std::string HistoryFileBytes(const std::vector<ShortString>& entries) {
  std::string bytes;
  for (const ShortString& entry : entries) {
    bytes += entry.view();
    bytes += kLineEnd;
  }
  return bytes;
}

SaveFault WriteHistoryFile(const char* name, const std::vector<ShortString>& entries) {
  return SaveWholeFile(name, HistoryFileBytes(entries));
}

// The texts are Catalan, like every text of the dialog, in Windows-1252.
ShortString HistoryUnreadableText() {
  return ShortString("No s'ha pogut llegir sencer ") + kHistoryFileName +
         ": no es modificar\340 i les f\363rmules d'aquesta sessi\363 no s'hi desaran.";
}

ShortString HistoryNowhereText() {
  return ShortString("No es pot desar ") + kHistoryFileName +
         " ni a la carpeta actual ni a la carpeta de l'usuari: les f\363rmules d'aquesta sessi\363 es poden fer "
         "servir, per\362 no es desaran.";
}

ShortString HistoryChangedText() {
  return ShortString("No s'ha pogut desar l'historial: ara ") + kHistoryFileName +
         " no es pot llegir sencer i no s'ha modificat.";
}

ShortString HistoryFullText() {
  return ShortString("L'historial ja t\351 ") + IntText(static_cast<std::int32_t>(kMaxHistoryEntries)).view() +
         " f\363rmules: les f\363rmules noves no s'hi han afegit.";
}

ShortString HistoryNotSavedText(SaveFault fault) {
  const std::string file = kHistoryFileName;
  std::string why;
  switch (fault) {
    case SaveFault::kNone:
      return {};
    case SaveFault::kFolder:
      why = file + " \351s una carpeta.";
      break;
    case SaveFault::kReadOnly:
      why = file + " \351s de nom\351s lectura i no s'ha modificat.";
      break;
    case SaveFault::kDiskFull:
      why = "el disc \351s ple; " + file + " no s'ha modificat.";
      break;
    case SaveFault::kNotWritten:
    case SaveFault::kDevice:  // neither comes from saving the history
    case SaveFault::kLink:
      why = "no s'ha pogut escriure al costat de " + file + "; " + file + " no s'ha modificat.";
      break;
    case SaveFault::kNotReplaced:
      why = "no s'ha pogut substituir " + file + ", que no s'ha modificat.";
      break;
    case SaveFault::kBusy:
      why = "una altra c\362pia de Vantel l'estava desant; " + file + " no s'ha modificat.";
      break;
  }
  return ShortString("No s'ha pogut desar l'historial: ") + why.c_str();
}
