// libFuzzer target: any bytes as the text of an INI file, read, edited and read again. The
// invariants:
//   - reading never fails, and the text comes back byte for byte when nothing was set;
//   - names match without regard to (ASCII) case;
//   - every value read, written back, reads the same, and no other key changes;
//   - a key set then read gives the value set, also read from the text written; no other key
//     changes; a write is refused (with Error) exactly when a name or the value would change
//     the structure of the file.
// The names tried are those written in the text (the part of a line before its '=', inside
// its brackets), with case changes, and a few new ones.
#include "platform/core/Errors.h"
#include "platform/ini/IniDocument.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

using fat::ini::IniDocument;

namespace {

[[noreturn]] void Broken(const std::string& what, const std::string& text) {
    std::fprintf(stderr, "invariant broken: %s\ntext (%zu bytes): %s\n", what.c_str(), text.size(), text.c_str());
    std::abort();
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

std::string Trimmed(const std::string& s) {
    std::size_t b = 0, e = s.size();
    while (b < e && IsBlank(s[b])) ++b;
    while (e > b && IsBlank(s[e - 1])) --e;
    return s.substr(b, e - b);
}

std::string AsciiCase(std::string s, bool upper) {
    for (char& c : s) {
        if (upper && c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
        if (!upper && c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    }
    return s;
}

bool HasLineBreak(const std::string& s) { return s.find_first_of("\r\n") != std::string::npos; }

// The names written in the text, as a reader would guess them line by line.
struct Names {
    std::vector<std::string> sections, keys, lines;

    explicit Names(const std::string& text) {
        std::size_t pos = 0;
        while (pos <= text.size() && lines.size() < 64) {
            std::size_t lf = text.find('\n', pos);
            if (lf == std::string::npos) lf = text.size();
            lines.push_back(text.substr(pos, lf - pos));
            pos = lf + 1;
        }
        for (const std::string& line : lines) {
            const std::string t = Trimmed(line);
            if (!t.empty() && t.front() == '[' && t.rfind(']') != std::string::npos)
                add(sections, Trimmed(t.substr(1, t.rfind(']') - 1)));
            else if (std::size_t eq = t.find('='); eq != std::string::npos && eq > 0)
                add(keys, Trimmed(t.substr(0, eq)));
        }
    }

    static void add(std::vector<std::string>& to, const std::string& name) {
        if (to.size() >= 12) return;
        for (const auto& n : to)
            if (n == name) return;
        to.push_back(name);
    }
};

using Values = std::map<std::pair<std::string, std::string>, std::optional<std::string>>;

Values ReadAll(const IniDocument& doc, const Names& names) {
    Values out;
    for (const auto& s : names.sections)
        for (const auto& k : names.keys) out[{s, k}] = doc.value(s, k);
    return out;
}

// What setValue refuses: names or a value that would make lines of their own or another kind.
bool Refused(const std::string& section, const std::string& key, const std::string& value) {
    const std::string s = Trimmed(section), k = Trimmed(key);
    return s.empty() || HasLineBreak(s) || s.find(']') != std::string::npos || k.empty() || HasLineBreak(k) ||
           k.find('=') != std::string::npos || k.front() == ';' || k.front() == '[' || HasLineBreak(value);
}

// Sets the key on a copy of the document and checks what reads back, in the copy and in a
// document read from its text.
void CheckSet(const IniDocument& doc, const Values& before, const Names& names, const std::string& section,
              const std::string& key, const std::string& value, const std::string& text) {
    IniDocument edited = doc;
    try {
        edited.setValue(section, key, value);
    } catch (const fat::Error&) {
        if (!Refused(section, key, value)) Broken("a sound write was refused: [" + section + "] " + key, text);
        if (edited.text() != doc.text()) Broken("a refused write changed the text", text);
        return;
    }
    if (Refused(section, key, value)) Broken("a write that breaks the structure was taken: [" + section + "] " + key, text);
    const IniDocument reread(edited.text());
    for (const IniDocument* d : {static_cast<const IniDocument*>(&edited), &reread}) {
        const auto got = d->value(section, key);
        if (!got || *got != value)
            Broken("[" + section + "] " + key + " set to '" + value + "' reads '" + got.value_or("<none>") + "'", text);
        if (!d->hasSection(section)) Broken("the section of a key set is missing", text);
    }
    for (const auto& [name, now] : ReadAll(reread, names)) {
        const auto& was = before.at(name);
        if (now != was && now != value)
            Broken("setting [" + section + "] " + key + " changed [" + name.first + "] " + name.second, text);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const IniDocument doc(text);
    if (doc.text() != text) Broken("the text read does not come back byte for byte", text);

    const Names names(text);
    const Values before = ReadAll(doc, names);
    for (const auto& [name, value] : before) {
        for (bool upper : {false, true})
            if (doc.value(AsciiCase(name.first, upper), AsciiCase(name.second, upper)) != value)
                Broken("[" + name.first + "] " + name.second + " reads otherwise in another case", text);
        if (value && doc.value(" " + name.first + "\t", "\t" + name.second + " ") != value)
            Broken("blanks around the names change what [" + name.first + "] " + name.second + " reads", text);
        if (value && !doc.hasSection(name.first)) Broken("a key read in a section that is missing", text);
        // Written back, a value reads the same and nothing else changes.
        if (value) CheckSet(doc, before, names, name.first, name.second, *value, text);
    }

    // New values from the text itself: its lines, alone, padded and quoted.
    const std::string last = names.lines.back();
    const std::string first = names.lines.front();
    const std::string section = names.sections.empty() ? "NOVA" : names.sections.front();
    const std::string key = names.keys.empty() ? "CHAVE" : names.keys.front();
    CheckSet(doc, before, names, section, key, last, text);
    CheckSet(doc, before, names, section, key, " " + first + " ", text);
    CheckSet(doc, before, names, section, key, "\"" + last + "\"", text);
    CheckSet(doc, before, names, section, "CHAVE_NOVA", "'" + first, text);
    CheckSet(doc, before, names, "SECAO_NOVA", key, last + "'", text);
    CheckSet(doc, before, names, first, last, "v", text);
    return 0;
}
