#pragma once
#include <cstddef>
#include <span>

namespace fat::directory {

inline constexpr std::size_t kKeyTableSize = 4096;
using KeyTable = std::span<const unsigned char, kKeyTableSize>;

// The key table compiled into this build (CMake option FAT_DIRECTORY_KEY_TABLE).
KeyTable DirectoryKeyTable();
// The file it was generated from, as given at configure time.
const char* DirectoryKeyTableSource();

} // namespace fat::directory
