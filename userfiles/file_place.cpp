// Where a program's file and a help text are, with the questions about folders asked through FolderQueries.
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

bool IsFullPath(std::string_view path) {
  auto slash = [](char c) { return c == '\\' || c == '/'; };
  if (path.size() >= 2 && slash(path[0]) && slash(path[1])) return true;
  const char letter = static_cast<char>(path.empty() ? 0 : path[0] | 0x20);
  return path.size() >= 3 && letter >= 'a' && letter <= 'z' && path[1] == ':' && slash(path[2]);
}

FilePlacement FilePlace(const std::string& current_folder, const std::string& user_folder, std::string_view name,
                        const FolderQueries& ask) {
  const std::string here = JoinPath(current_folder, name);
  if (ask.can_write(current_folder)) return {here, true};
  if (user_folder.empty() || !ask.make_folder(user_folder)) return {here, false};
  const std::string kept = JoinPath(user_folder, name);
  // A per-user folder that cannot be written still shows the user's own file.
  if (!ask.can_write(user_folder)) return {ask.file_exists(kept) ? kept : here, false};
  if (ask.file_exists(kept) || !ask.file_exists(here)) return {kept, true};
  // The first time: the current folder's file becomes the user's own.
  if (ask.copy_new(here, kept)) return {kept, true};
  return {here, false};
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
