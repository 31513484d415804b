#pragma once
#include <optional>
#include <string>
#include <vector>

namespace fat::ini {

// The text of an INI file as a list of classified lines. Section and key names are matched
// without regard to case and to the blanks around them; a value loses the blanks around it
// and one pair of matching quotes. Editing a value touches only that key's line (or adds
// one), so every other byte of the text, comments and blank lines included, is kept.
class IniDocument {
public:
    explicit IniDocument(const std::string& text = {});

    // The value of the first occurrence of the key in a section of that name.
    std::optional<std::string> value(const std::string& section, const std::string& key) const;
    bool hasSection(const std::string& section) const;

    // Rewrites the first occurrence of the key, or adds it at the end of the first section
    // of that name, or appends the section at the end of the text. Raises fat::Error for a
    // name or value that would change the structure of the file (line breaks, '=' in a key,
    // ']' in a section name, an empty name). A value that reading would change (blanks around
    // it, or a pair of matching quotes around it) is written in double quotes, so that it reads
    // back as it was set.
    void setValue(const std::string& section, const std::string& key, const std::string& value);

    // The whole text; new lines take the line ending the text already uses (CR LF when the
    // text has none).
    std::string text() const;
    // The text began with the UTF-8 byte-order mark: it is UTF-8, and text() keeps the mark.
    bool utf8() const { return !bom_.empty(); }

private:
    enum class Kind { Blank, Comment, Section, Key, Other };
    struct Line {
        std::string content; // without its line ending
        std::string ending;  // "\r\n", "\n" or "" for a last line without one
        Kind kind = Kind::Other;
        std::string name;    // section or key name, trimmed
        std::string value;   // key value, trimmed, quotes still on
        int section = -1;    // index of the section header line a key belongs to
    };

    std::vector<Line> lines_;
    std::string newline_ = "\r\n";
    std::string bom_;

    static Line classify(std::string content, std::string ending, int section);
    int findKey(const std::string& section, const std::string& key) const;
    int findSection(const std::string& section) const;
    void insertLine(std::size_t at, Line line);
};

} // namespace fat::ini
