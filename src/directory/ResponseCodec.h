#pragma once
#include "directory/KeyTable.h"
#include "platform/core/Errors.h"

#include <string>
#include <string_view>

namespace fat::directory {

// A directory response body that does not decode.
class ResponseFormatError : public Error {
public:
    using Error::Error;
};

// Layout of an encoded directory response:
//   bytes 0-3  key offset K, 32-bit little-endian signed, 0..4095
//   bytes 4-7  plain length N, 32-bit little-endian signed
//   bytes 8..  a zlib stream (RFC 1950) that inflates to at least N bytes, of which the first N
//              are the plain bytes scrambled: inflated[j] = plain[j] XOR T[(K + j) mod 4096].
// N of 0 or less is the empty text (the stream must still be sound).

// The plain bytes (single-byte ANSI text). Raises ResponseFormatError.
std::string DecodeDirectoryResponse(std::string_view body, KeyTable table = DirectoryKeyTable());

// The body a directory server sends for `plain`, starting at key offset `keyOffset`.
std::string EncodeDirectoryResponse(std::string_view plain, int keyOffset, KeyTable table = DirectoryKeyTable());

// Responses announcing more plain bytes than this are refused rather than inflated.
inline constexpr int kMaxDirectoryPlainBytes = 64 * 1024 * 1024;

} // namespace fat::directory
