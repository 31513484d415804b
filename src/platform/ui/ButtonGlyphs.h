#pragma once
#include <QIcon>

namespace fat::ui {

// Glyphs of the action buttons, each with a normal and a grey disabled image, drawn in code.
QIcon OpenGlyph();   // an open folder
QIcon SaveGlyph();   // a disk
QIcon CancelGlyph(); // a red cross
QIcon CloseGlyph();  // a door with an arrow

} // namespace fat::ui
