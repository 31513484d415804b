#pragma once
#include <optional>
#include <string>

namespace fat::ini {

// The whole content of a file, byte for byte; nothing when the file does not exist. Any
// other failure raises fat::Error naming the file.
std::optional<std::string> ReadFileBytes(const std::string& path);

// Replaces the file's content as one step for any reader: the bytes go to a temporary file
// in the same folder, which is then renamed over the file. A file or folder without write
// permission counts as read-only, also for a process that could override it, and the write
// fails; the replaced file keeps its permission bits. Raises fat::Error naming the file.
void ReplaceFileBytes(const std::string& path, const std::string& content);

} // namespace fat::ini
