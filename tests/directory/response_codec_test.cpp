#include "directory/KeyTable.h"
#include "directory/ResponseCodec.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>

using namespace fat::directory;

namespace {

std::string Header(std::int32_t offset, std::int32_t length) {
    std::string h;
    for (const std::int32_t v : {offset, length})
        for (int i = 0; i < 4; ++i) h += static_cast<char>(static_cast<std::uint32_t>(v) >> (8 * i) & 0xFF);
    return h;
}

std::string Zlib(const std::string& data) {
    uLongf size = compressBound(static_cast<uLong>(data.size()));
    std::string out(size, '\0');
    compress(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(data.data()),
             static_cast<uLong>(data.size()));
    out.resize(size);
    return out;
}

// The inflated bytes for `plain` at key offset k, built by hand from the layout.
std::string Scramble(const std::string& plain, int k) {
    const KeyTable t = DirectoryKeyTable();
    std::string s = plain;
    for (std::size_t j = 0; j < s.size(); ++j)
        s[j] = static_cast<char>(static_cast<unsigned char>(s[j]) ^ t[(static_cast<std::size_t>(k) + j) % 4096]);
    return s;
}

std::string DecodeFailure(const std::string& body) {
    try {
        DecodeDirectoryResponse(body);
    } catch (const ResponseFormatError& e) {
        return e.what();
    }
    return "decoded";
}

} // namespace

TEST(ResponseCodec, DecodesTheByteLayout) {
    struct Case {
        const char* name;
        int offset;
        std::int32_t length;
        std::string inflated; // plain text, scrambled from `offset` before compressing
        std::string plain;
    };
    const Case cases[] = {
        {"key bytes 4095, 0 and 1", 4095, 3, "abc", "abc"},
        {"offset 0", 0, 5, "[1,2]", "[1,2]"},
        {"only the first N bytes count", 10, 3, "abcdef", "abc"},
        {"length 0", 100, 0, "", ""},
        {"length 0 ignores what the stream holds", 100, 0, "xyz", ""},
        {"negative length", 100, -7, "xyz", ""},
        {"every byte value", 4000, 256, [] { std::string s; for (int i = 0; i < 256; ++i) s += static_cast<char>(i); return s; }(),
         [] { std::string s; for (int i = 0; i < 256; ++i) s += static_cast<char>(i); return s; }()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string body = Header(c.offset, c.length) + Zlib(Scramble(c.inflated, c.offset));
        try {
            EXPECT_EQ(DecodeDirectoryResponse(body), c.plain);
        } catch (const std::exception& e) {
            ADD_FAILURE() << e.what();
        }
    }
    // The wrap-around by hand: plain byte j uses T[(4095 + j) mod 4096].
    const KeyTable t = DirectoryKeyTable();
    const std::string inflated = {static_cast<char>('x' ^ t[4095]), static_cast<char>('y' ^ t[0]), static_cast<char>('z' ^ t[1])};
    EXPECT_EQ(DecodeDirectoryResponse(Header(4095, 3) + Zlib(inflated)), "xyz");
}

TEST(ResponseCodec, EncoderWritesWhatTheDecoderReads) {
    std::string long_text;
    for (int i = 0; i < 9000; ++i) long_text += static_cast<char>("{}[],:\"abc\xE9\xC7 0123"[i % 18]);
    for (const int offset : {0, 1, 2048, 4095}) {
        SCOPED_TRACE(offset);
        const std::string body = EncodeDirectoryResponse(long_text, offset);
        EXPECT_EQ(body.substr(0, 8), Header(offset, 9000));
        EXPECT_EQ(DecodeDirectoryResponse(body), long_text);
        // Decoding with the layout by hand gives the same.
        uLongf size = 9000;
        std::string inflated(size, '\0');
        ASSERT_EQ(uncompress(reinterpret_cast<Bytef*>(inflated.data()), &size,
                             reinterpret_cast<const Bytef*>(body.data() + 8), static_cast<uLong>(body.size() - 8)),
                  Z_OK);
        EXPECT_EQ(inflated, Scramble(long_text, offset));
    }
    EXPECT_THROW(EncodeDirectoryResponse("x", 4096), fat::Error);
}

TEST(ResponseCodec, RejectsBodiesThatDoNotDecode) {
    const std::string good = Zlib(Scramble("[1,2,3]", 5));
    std::string corrupt = good;
    corrupt[4] = static_cast<char>(corrupt[4] ^ 0x55);
    std::string badCheck = good;
    badCheck.back() = static_cast<char>(badCheck.back() ^ 1);
    std::string badHeader = good;
    badHeader[0] = 0x12;
    struct Case {
        const char* name;
        std::string body;
        const char* fragment;
    };
    const Case cases[] = {
        {"empty body", "", "too short: 0 bytes"},
        {"short header", std::string("\x05\x00\x00", 3), "too short: 3 bytes"},
        {"seven bytes", Header(5, 7).substr(0, 7), "too short: 7 bytes"},
        {"key offset 4096", Header(4096, 7) + good, "key offset outside 0..4095: 4096"},
        {"negative key offset", Header(-1, 7) + good, "key offset outside 0..4095: -1"},
        {"header without a stream", Header(5, 7), "cut short"},
        {"header without a stream, length 0", Header(5, 0), "cut short"},
        {"corrupt deflate data", Header(5, 7) + corrupt, "does not inflate"},
        {"wrong check value", Header(5, 7) + badCheck, "does not inflate"},
        {"not a zlib header", Header(5, 7) + badHeader, "does not inflate"},
        {"stream cut short", Header(5, 7) + good.substr(0, good.size() - 3), "cut short"},
        {"fewer bytes than announced", Header(5, 8) + good, "holds 7 bytes, fewer than the 8"},
        {"absurd length", Header(5, 0x7FFFFFFF) + good, "more than a response may hold"},
    };
    for (const auto& c : cases) {
        const std::string failure = DecodeFailure(c.body);
        EXPECT_NE(failure.find(c.fragment), std::string::npos) << c.name << ": " << failure;
    }
}

TEST(KeyTable, CompiledTableIsTheConfiguredFile) {
    std::ifstream file(DirectoryKeyTableSource(), std::ios::binary);
    ASSERT_TRUE(file) << DirectoryKeyTableSource();
    const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    ASSERT_EQ(bytes.size(), kKeyTableSize);
    const KeyTable t = DirectoryKeyTable();
    EXPECT_TRUE(std::equal(t.begin(), t.end(), reinterpret_cast<const unsigned char*>(bytes.data())));
}
