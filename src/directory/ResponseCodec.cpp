#include "directory/ResponseCodec.h"

#include <zlib.h>

#include <algorithm>
#include <cstdint>

namespace fat::directory {

namespace {

std::int32_t ReadInt32(std::string_view bytes, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    return static_cast<std::int32_t>(v);
}

void WriteInt32(std::string& out, std::int32_t value) {
    const auto v = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i) out += static_cast<char>(v >> (8 * i) & 0xFF);
}

class Inflater {
public:
    Inflater() {
        if (inflateInit(&stream_) != Z_OK) throw ResponseFormatError("zlib could not start inflating");
    }
    ~Inflater() { inflateEnd(&stream_); }
    Inflater(const Inflater&) = delete;
    Inflater& operator=(const Inflater&) = delete;

    // Inflates the whole stream, keeping its first `keep` bytes.
    std::string run(std::string_view input, std::size_t keep) {
        // Past the kept bytes the rest is only checked, up to a bound against inflation bombs.
        const std::size_t bound = keep + static_cast<std::size_t>(kMaxDirectoryPlainBytes);
        std::string kept;
        std::size_t total = 0;
        stream_.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(input.data()));
        stream_.avail_in = static_cast<uInt>(input.size());
        unsigned char chunk[16384];
        for (;;) {
            stream_.next_out = chunk;
            stream_.avail_out = sizeof chunk;
            const int rc = inflate(&stream_, Z_NO_FLUSH);
            const std::size_t produced = sizeof chunk - stream_.avail_out;
            if (kept.size() < keep)
                kept.append(reinterpret_cast<const char*>(chunk), std::min(produced, keep - kept.size()));
            total += produced;
            if (rc == Z_STREAM_END) return kept;
            if (rc == Z_NEED_DICT || rc == Z_DATA_ERROR || rc == Z_MEM_ERROR)
                throw ResponseFormatError(std::string("Directory response does not inflate: ") +
                                          (stream_.msg ? stream_.msg : "corrupt zlib stream"));
            if (rc == Z_BUF_ERROR || (stream_.avail_in == 0 && produced == 0))
                throw ResponseFormatError("Directory response does not inflate: the zlib stream is cut short");
            if (total > bound) throw ResponseFormatError("Directory response inflates to far more than it announces");
        }
    }

private:
    z_stream stream_{};
};

} // namespace

std::string DecodeDirectoryResponse(std::string_view body, KeyTable table) {
    if (body.size() < 8)
        throw ResponseFormatError("Directory response is too short: " + std::to_string(body.size()) +
                                  " bytes, the header alone takes 8");
    const std::int32_t offset = ReadInt32(body, 0);
    const std::int32_t length = ReadInt32(body, 4);
    if (offset < 0 || offset >= static_cast<std::int32_t>(kKeyTableSize))
        throw ResponseFormatError("Directory response has a key offset outside 0..4095: " + std::to_string(offset));
    if (length > kMaxDirectoryPlainBytes)
        throw ResponseFormatError("Directory response announces " + std::to_string(length) +
                                  " bytes, more than a response may hold");
    const std::size_t plainLength = length > 0 ? static_cast<std::size_t>(length) : 0;

    std::string plain = Inflater().run(body.substr(8), plainLength);
    if (plain.size() < plainLength)
        throw ResponseFormatError("Directory response holds " + std::to_string(plain.size()) +
                                  " bytes, fewer than the " + std::to_string(length) + " it announces");
    std::size_t k = static_cast<std::size_t>(offset);
    for (char& c : plain) {
        c = static_cast<char>(static_cast<unsigned char>(c) ^ table[k]);
        k = (k + 1) % kKeyTableSize;
    }
    return plain;
}

std::string EncodeDirectoryResponse(std::string_view plain, int keyOffset, KeyTable table) {
    if (keyOffset < 0 || keyOffset >= static_cast<int>(kKeyTableSize))
        throw Error("key offset outside 0..4095: " + std::to_string(keyOffset));
    if (plain.size() > static_cast<std::size_t>(kMaxDirectoryPlainBytes)) throw Error("directory response too large");
    std::string scrambled(plain);
    std::size_t k = static_cast<std::size_t>(keyOffset);
    for (char& c : scrambled) {
        c = static_cast<char>(static_cast<unsigned char>(c) ^ table[k]);
        k = (k + 1) % kKeyTableSize;
    }
    uLongf packedSize = compressBound(static_cast<uLong>(scrambled.size()));
    std::string packed(packedSize, '\0');
    if (compress2(reinterpret_cast<Bytef*>(packed.data()), &packedSize,
                  reinterpret_cast<const Bytef*>(scrambled.data()), static_cast<uLong>(scrambled.size()),
                  Z_BEST_COMPRESSION) != Z_OK)
        throw Error("zlib could not compress the directory response");
    packed.resize(packedSize);

    std::string body;
    WriteInt32(body, keyOffset);
    WriteInt32(body, static_cast<std::int32_t>(plain.size()));
    return body + packed;
}

} // namespace fat::directory
