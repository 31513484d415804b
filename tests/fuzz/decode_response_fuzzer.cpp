// libFuzzer target: a directory answer's body through the decoding, then the JSON parse of the
// text and the reading of the company records, as the client does with what the server sends.
#include "JsonWalk.h"

#include "directory/CompanyList.h"
#include "directory/JsonArray.h"
#include "directory/ResponseCodec.h"
#include "platform/core/Errors.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <string_view>

using namespace fat::directory;

extern "C" std::size_t LLVMFuzzerMutate(std::uint8_t* data, std::size_t size, std::size_t maxSize);

namespace {

int KeyOffset(std::string_view body) {
    return static_cast<int>(static_cast<unsigned char>(body[0]) | static_cast<unsigned char>(body[1]) << 8);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view body(reinterpret_cast<const char*>(data), size);
    std::string plain;
    try {
        plain = DecodeDirectoryResponse(body);
    } catch (const ResponseFormatError&) {
        return 0; // refused as it should be; any other exception escapes to libFuzzer
    }
    // What decodes encodes back from the same key offset (the offset was checked to be 0..4095).
    if (plain.size() <= 65536 && DecodeDirectoryResponse(EncodeDirectoryResponse(plain, KeyOffset(body))) != plain) {
        std::fprintf(stderr, "invariant broken: encoding the decoded text does not give it back\n");
        std::abort();
    }
    try {
        const TJSONArray list(plain);
        fat::fuzz::WalkArray(list);
        const TInfoList companies = ReadCompanies(list);
        for (const auto& company : companies)
            for (const auto& database : company->Bancos)
                if (database->Company != company.get()) std::abort();
    } catch (const fat::Error&) {
        // a text or a record the client refuses
    }
    return 0;
}

// Half of the mutations change the text inside a sound answer and encode it again, so that
// the parser behind the decoder sees texts close to real lists and not only inflate errors.
extern "C" std::size_t LLVMFuzzerCustomMutator(std::uint8_t* data, std::size_t size, std::size_t maxSize,
                                               unsigned int seed) {
    std::minstd_rand random(seed);
    if (random() % 2 == 0 && size >= 8) {
        try {
            const std::string_view body(reinterpret_cast<const char*>(data), size);
            std::string plain = DecodeDirectoryResponse(body);
            const std::size_t used = plain.size();
            plain.resize(used * 2 + 64);
            plain.resize(LLVMFuzzerMutate(reinterpret_cast<std::uint8_t*>(plain.data()), used, plain.size()));
            const int offset = random() % 8 == 0 ? static_cast<int>(random() % 4096) : KeyOffset(body);
            const std::string encoded = EncodeDirectoryResponse(plain, offset);
            if (encoded.size() <= maxSize) {
                std::memcpy(data, encoded.data(), encoded.size());
                return encoded.size();
            }
        } catch (const fat::Error&) {
            // not a sound answer: mutate the bytes as they are
        }
    }
    return LLVMFuzzerMutate(data, size, maxSize);
}
