#include "platform/ui/QtText.h"

#include "platform/core/Win1252.h"

namespace fat::ui {

QString ToQString(const std::string& win1252) { return QString::fromStdString(Win1252ToUtf8(win1252)); }

std::string FromQString(const QString& text) { return Utf8ToWin1252(text.toStdString()); }

} // namespace fat::ui
