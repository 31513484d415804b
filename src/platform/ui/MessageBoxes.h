#pragma once

namespace fat::ui {

// Shows the program's message boxes as Qt message boxes (icon, caption, text, OK button).
// Installed once at start-up; tests keep their recorder instead.
void InstallQtMessageBoxes();

} // namespace fat::ui
