#pragma once
// Field names as datasets match them: blanks around a name do not count and ASCII letters
// compare without regard to case. Lookups by name happen for every value a rule reads or
// writes, so they take the name as it is given, without making a copy of it.
#include <cstddef>
#include <string>
#include <string_view>

namespace fat::data {

inline char FoldNameChar(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

inline std::string_view TrimmedName(std::string_view name) {
    while (!name.empty() && static_cast<unsigned char>(name.front()) <= ' ') name.remove_prefix(1);
    while (!name.empty() && static_cast<unsigned char>(name.back()) <= ' ') name.remove_suffix(1);
    return name;
}

struct FieldNameHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view name) const {
        std::size_t h = 14695981039346656037ull; // FNV-1a over the folded characters
        for (char c : name) h = (h ^ static_cast<unsigned char>(FoldNameChar(c))) * 1099511628211ull;
        return h;
    }
};

struct FieldNameEqual {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const {
        if (a.size() != b.size()) return false;
        for (std::size_t i = 0; i < a.size(); ++i)
            if (FoldNameChar(a[i]) != FoldNameChar(b[i])) return false;
        return true;
    }
};

} // namespace fat::data
