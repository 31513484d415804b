#pragma once
#include <string>

namespace fat::ini {

class IniDocument;

// An INI file on disk, read and written the way the Windows profile functions do: every
// call reads the file anew; a missing file reads as empty; a write creates the file and the
// section when missing and changes nothing but the one line of its key. Texts are
// single-byte (WIN1252) bytes and pass unchanged; no escapes are interpreted, so a value
// such as C:\ERRO.BD is a path. Errors are fat::Error texts that name the file.
class IniFile {
public:
    explicit IniFile(std::string path);

    const std::string& path() const { return path_; }

    // The key's value, or `defaultValue` when the file, the section or the key is missing.
    // A key present with an empty value gives "".
    std::string readString(const std::string& section, const std::string& key,
                           const std::string& defaultValue) const;
    void writeString(const std::string& section, const std::string& key, const std::string& value);

    bool sectionExists(const std::string& section) const;
    bool valueExists(const std::string& section, const std::string& key) const;

private:
    std::string path_;

    IniDocument load() const;
};

} // namespace fat::ini
