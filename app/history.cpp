#include "app/history.h"

#include <string>

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

bool ReadHistoryLines(TextFile* file, std::size_t already_held, const std::function<void(const ShortString&)>& add) {
  if (!IsOpen(*file)) return false;
  std::size_t count = already_held;
  while (!AtEnd(file)) {
    // Lines the list cannot take would be lost by the next save: the file is
    // then left as it is.
    if (count >= kMaxHistoryEntries) return false;
    ShortString line = ReadLine(file);
    if (file->failed) return false;
    add(line);
    ++count;
  }
  return !file->failed;
}

SaveFault WriteHistoryFile(const char* name, const std::vector<ShortString>& entries) {
  std::string bytes;
  for (const ShortString& entry : entries) {
    bytes += entry.view();
    bytes += kLineEnd;
  }
  return SaveWholeFile(name, bytes);
}

// The texts are Catalan, like every text of the dialog, in Windows-1252.
ShortString HistoryUnreadableText() {
  return ShortString("No s'ha pogut llegir sencer ") + kHistoryFileName +
         ": no es modificar\340 i les f\363rmules d'aquesta sessi\363 no s'hi desaran.";
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
    case SaveFault::kTemporaryFolder:
      why = "una carpeta " + file + ".tmp impedeix escriure'l; " + file + " no s'ha modificat.";
      break;
    case SaveFault::kDiskFull:
      why = "el disc \351s ple; " + file + " no s'ha modificat.";
      break;
    case SaveFault::kNotWritten:
      why = "no s'ha pogut escriure " + file + ".tmp; " + file + " no s'ha modificat.";
      break;
    case SaveFault::kNotReplaced:
      why = "no s'ha pogut substituir " + file + ", que no s'ha modificat.";
      break;
  }
  return ShortString("No s'ha pogut desar l'historial: ") + why.c_str();
}
