#include "platform/ini/IniFile.h"

#include "platform/core/Errors.h"
#include "platform/core/Win1252.h"
#include "platform/ini/FileBytes.h"
#include "platform/ini/IniDocument.h"

namespace fat::ini {

IniFile::IniFile(std::string path) : path_(std::move(path)) {}

IniDocument IniFile::load() const {
    auto bytes = ReadFileBytes(path_);
    // UTF-16 text would read as no section at all; say so rather than fall back to defaults.
    if (bytes && bytes->size() >= 2 && (bytes->compare(0, 2, "\xFF\xFE") == 0 || bytes->compare(0, 2, "\xFE\xFF") == 0))
        throw Error("Cannot read the file '" + path_ + "': it is UTF-16 text; save it as ANSI or UTF-8");
    return IniDocument(bytes ? *bytes : std::string());
}

std::string IniFile::readString(const std::string& section, const std::string& key,
                                const std::string& defaultValue) const {
    const IniDocument document = load();
    const auto value = document.value(section, key);
    if (!value) return defaultValue;
    return document.utf8() ? Utf8ToWin1252(*value) : *value;
}

bool IniFile::sectionExists(const std::string& section) const { return load().hasSection(section); }

bool IniFile::valueExists(const std::string& section, const std::string& key) const {
    return load().value(section, key).has_value();
}

void IniFile::writeString(const std::string& section, const std::string& key, const std::string& value) {
    IniDocument document = load();
    try {
        document.setValue(section, key, document.utf8() ? Win1252ToUtf8(value) : value);
    } catch (const Error& e) {
        throw Error("Cannot write the file '" + path_ + "': " + e.what());
    }
    ReplaceFileBytes(path_, document.text());
}

} // namespace fat::ini
