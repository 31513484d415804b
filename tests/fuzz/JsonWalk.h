#pragma once

namespace fat::directory {
class TJSONArray;
}

namespace fat::fuzz {

// Reads a parsed array every way the client could: every entry with every getter, every key
// of every object with every getter, the text forms, the deep copies, and a parse of the text
// form. The getters' own errors (fat::Error) are how a bad answer is refused and are expected;
// any other exception escapes to libFuzzer, and a broken invariant aborts.
void WalkArray(const directory::TJSONArray& array);

} // namespace fat::fuzz
