// The names of the files a save makes beside the file it saves, for both platforms.
#pragma once

#include <string>
#include <string_view>

// The lock file: the file's name followed by this.
inline constexpr char kLockSuffix[] = ".lock";

// What follows the file's name in the name of the temporary file of a save made by
// this process: ".1234.tmp". Each process has its own, so that two copies saving
// at once never write into one temporary file.
std::string TemporarySuffix(unsigned long process);

// True when `entry`, a name in the folder of the file named `file_name`, is the
// temporary file of a save of it: a process's own (the file's name followed by
// ".digits.tmp"), or the one name that all saves once shared (".tmp"). Only a save
// that holds the lock may remove them: no other save is then under way.
bool IsLeftTemporary(std::string_view file_name, std::string_view entry);
