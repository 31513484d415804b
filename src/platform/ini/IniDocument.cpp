#include "platform/ini/IniDocument.h"

#include "platform/core/Errors.h"

namespace fat::ini {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

std::string TrimBlanks(const std::string& s) {
    std::size_t b = 0, e = s.size();
    while (b < e && IsBlank(s[b])) ++b;
    while (e > b && IsBlank(s[e - 1])) --e;
    return s.substr(b, e - b);
}

// Upper-case form of a WIN1252 letter: ASCII, the Latin-1 range and the few letters that
// WIN1252 places in 0x80-0x9F.
unsigned char FoldByte(unsigned char c) {
    if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 32);
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<unsigned char>(c - 32);
    switch (c) {
    case 0x9A: return 0x8A; // š
    case 0x9C: return 0x8C; // œ
    case 0x9E: return 0x8E; // ž
    case 0xFF: return 0x9F; // ÿ
    default: return c;
    }
}

bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (FoldByte(static_cast<unsigned char>(a[i])) != FoldByte(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::string Unquoted(const std::string& v) {
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        return v.substr(1, v.size() - 2);
    return v;
}

// The value as it goes into the file: one that reading would change (blanks around it, or one
// pair of matching quotes around it) is put in double quotes, which reading takes off again.
std::string Written(const std::string& v) {
    if (TrimBlanks(v) != v || Unquoted(v) != v) return '"' + v + '"';
    return v;
}

bool HasLineBreak(const std::string& s) { return s.find_first_of("\r\n") != std::string::npos; }

} // namespace

IniDocument::IniDocument(const std::string& text) {
    bool endingSeen = false;
    int section = -1;
    std::size_t pos = 0;
    // A byte-order mark is no part of the first line (which may be a section header).
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        bom_ = text.substr(0, 3);
        pos = 3;
    }
    while (pos < text.size()) {
        std::size_t lf = text.find('\n', pos);
        std::string content, ending;
        if (lf == std::string::npos) {
            content = text.substr(pos);
            pos = text.size();
        } else {
            std::size_t end = lf;
            if (end > pos && text[end - 1] == '\r') --end;
            content = text.substr(pos, end - pos);
            ending = text.substr(end, lf + 1 - end);
            pos = lf + 1;
            if (!endingSeen) {
                newline_ = ending;
                endingSeen = true;
            }
        }
        Line line = classify(std::move(content), std::move(ending), section);
        if (line.kind == Kind::Section) section = static_cast<int>(lines_.size());
        lines_.push_back(std::move(line));
    }
}

IniDocument::Line IniDocument::classify(std::string content, std::string ending, int section) {
    Line line;
    line.content = std::move(content);
    line.ending = std::move(ending);
    line.section = section;
    const std::string trimmed = TrimBlanks(line.content);
    if (trimmed.empty()) {
        line.kind = Kind::Blank;
    } else if (trimmed.front() == ';') {
        line.kind = Kind::Comment;
    } else if (trimmed.front() == '[') {
        std::size_t close = trimmed.rfind(']');
        if (close != std::string::npos) {
            line.kind = Kind::Section;
            line.name = TrimBlanks(trimmed.substr(1, close - 1));
        }
    } else if (std::size_t eq = trimmed.find('='); eq != std::string::npos && eq > 0) {
        line.kind = Kind::Key;
        line.name = TrimBlanks(trimmed.substr(0, eq));
        line.value = TrimBlanks(trimmed.substr(eq + 1));
    }
    return line;
}

int IniDocument::findKey(const std::string& section, const std::string& key) const {
    const std::string s = TrimBlanks(section), k = TrimBlanks(key);
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const Line& line = lines_[i];
        if (line.kind == Kind::Key && line.section >= 0 && SameName(line.name, k) &&
            SameName(lines_[static_cast<std::size_t>(line.section)].name, s))
            return static_cast<int>(i);
    }
    return -1;
}

int IniDocument::findSection(const std::string& section) const {
    const std::string s = TrimBlanks(section);
    for (std::size_t i = 0; i < lines_.size(); ++i)
        if (lines_[i].kind == Kind::Section && SameName(lines_[i].name, s)) return static_cast<int>(i);
    return -1;
}

std::optional<std::string> IniDocument::value(const std::string& section, const std::string& key) const {
    int i = findKey(section, key);
    if (i < 0) return std::nullopt;
    return Unquoted(lines_[static_cast<std::size_t>(i)].value);
}

bool IniDocument::hasSection(const std::string& section) const { return findSection(section) >= 0; }

void IniDocument::setValue(const std::string& section, const std::string& key, const std::string& value) {
    const std::string s = TrimBlanks(section), k = TrimBlanks(key);
    if (s.empty() || HasLineBreak(s) || s.find(']') != std::string::npos)
        throw Error("invalid section name \"" + section + "\"");
    if (k.empty() || HasLineBreak(k) || k.find('=') != std::string::npos || k.front() == ';' ||
        k.front() == '[')
        throw Error("invalid key name \"" + key + "\"");
    if (HasLineBreak(value)) throw Error("the value of key \"" + k + "\" contains a line break");

    const std::string written = Written(value);
    if (int i = findKey(s, k); i >= 0) {
        Line& line = lines_[static_cast<std::size_t>(i)];
        std::size_t eq = line.content.find('=');
        line.content = line.content.substr(0, eq + 1) + written;
        line.value = written;
        return;
    }
    const std::string content = k + "=" + written;
    if (int header = findSection(s); header >= 0) {
        std::size_t after = static_cast<std::size_t>(header);
        for (std::size_t i = after + 1; i < lines_.size() && lines_[i].kind != Kind::Section; ++i)
            if (lines_[i].kind == Kind::Key) after = i;
        insertLine(after + 1, classify(content, newline_, header));
        return;
    }
    insertLine(lines_.size(), classify("[" + s + "]", newline_, -1));
    insertLine(lines_.size(), classify(content, newline_, static_cast<int>(lines_.size()) - 1));
}

void IniDocument::insertLine(std::size_t at, Line line) {
    if (at > 0 && lines_[at - 1].ending.empty()) lines_[at - 1].ending = newline_;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
    // Section indexes of the lines after the insertion point move by one.
    for (std::size_t i = at + 1; i < lines_.size(); ++i)
        if (lines_[i].section >= static_cast<int>(at)) ++lines_[i].section;
}

std::string IniDocument::text() const {
    std::string out = bom_;
    for (const Line& line : lines_) out += line.content + line.ending;
    return out;
}

} // namespace fat::ini
