// libFuzzer target: the lenient JSON parser on any text, then every getter on what it gives.
#include "JsonWalk.h"

#include "directory/JsonArray.h"
#include "directory/JsonObject.h"
#include "platform/core/Errors.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    try {
        const fat::directory::TJSONArray array(text);
        fat::fuzz::WalkArray(array);
    } catch (const fat::Error&) {
        // a text that is refused, with the parser's own error
    }
    try {
        const fat::directory::TJSONObject object(text);
        object.toString();
    } catch (const fat::Error&) {
    }
    return 0;
}
