#include "platform/ini/IniFile.h"

#include "platform/core/Errors.h"
#include "platform/ini/FileBytes.h"
#include "platform/ini/IniDocument.h"

namespace fat::ini {

IniFile::IniFile(std::string path) : path_(std::move(path)) {}

IniDocument IniFile::load() const {
    auto bytes = ReadFileBytes(path_);
    return IniDocument(bytes ? *bytes : std::string());
}

std::string IniFile::readString(const std::string& section, const std::string& key,
                                const std::string& defaultValue) const {
    return load().value(section, key).value_or(defaultValue);
}

bool IniFile::sectionExists(const std::string& section) const { return load().hasSection(section); }

bool IniFile::valueExists(const std::string& section, const std::string& key) const {
    return load().value(section, key).has_value();
}

void IniFile::writeString(const std::string& section, const std::string& key, const std::string& value) {
    IniDocument document = load();
    try {
        document.setValue(section, key, value);
    } catch (const Error& e) {
        throw Error("Cannot write the file '" + path_ + "': " + e.what());
    }
    ReplaceFileBytes(path_, document.text());
}

} // namespace fat::ini
