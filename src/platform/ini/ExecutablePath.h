#pragma once
#include <string>

namespace fat::ini {

// Full path of the running program (from /proc/self/exe), or the path set for testing.
std::string ExecutablePath();
// The folder that holds the program, without a trailing slash.
std::string ExecutableDir();
// The INI file beside the program: its folder, its base name and the extension ".ini"
// (".../faturamento" gives ".../faturamento.ini", "x.exe" gives "x.ini").
std::string IniPathForExecutable();

// Makes the functions above answer for another program path; an empty path restores the
// real one.
void SetExecutablePathForTesting(const std::string& path);

} // namespace fat::ini
