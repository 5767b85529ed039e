#include "userfiles/file_place.h"

std::string JoinPath(std::string_view folder, std::string_view name) {
  std::string path(folder);
  if (!path.empty() && path.back() != '\\' && path.back() != '/') path += '\\';
  path += name;
  return path;
}

std::string FolderOf(std::string_view path) {
  std::size_t slash = path.find_last_of("\\/");
  return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash));
}

std::string FilePlace(const std::string& current_folder, const std::string& user_folder, std::string_view name,
                      const FolderQueries& ask) {
  const std::string here = JoinPath(current_folder, name);
  if (ask.can_write(current_folder) || user_folder.empty() || !ask.make_folder(user_folder)) return here;
  const std::string kept = JoinPath(user_folder, name);
  if (ask.file_exists(kept) || !ask.file_exists(here)) return kept;
  // The first time: the current folder's file becomes the user's own.
  return ask.copy_new(here, kept) ? kept : here;
}

std::string HelpTextPlace(const std::string& current_folder, const std::string& program_folder, std::string_view name,
                          const FolderQueries& ask) {
  const std::string here = JoinPath(current_folder, name);
  if (ask.file_exists(here)) return here;
  const std::string beside = JoinPath(program_folder, name);
  return ask.file_exists(beside) ? beside : here;
}

std::string OpenFileCommandLine(std::string_view program, std::string_view file) {
  // A Windows path cannot hold a double quote, so quoting needs no escapes.
  std::string line;
  line.reserve(program.size() + file.size() + 5);
  line.append("\"").append(program).append("\" \"").append(file).append("\"");
  return line;
}
