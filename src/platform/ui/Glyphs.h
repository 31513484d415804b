#pragma once
#include <QIcon>

namespace fat::ui {

// A small document glyph with its normal and disabled images, drawn in code so that the
// program carries no image files for it.
QIcon DocumentGlyph();

} // namespace fat::ui
