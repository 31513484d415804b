#pragma once
#include <QString>

#include <string>

namespace fat::ui {

// The program's texts are WIN1252 bytes; Qt's are Unicode. These are the only conversions.
QString ToQString(const std::string& win1252);
std::string FromQString(const QString& text);

} // namespace fat::ui
