#pragma once
// The error message box that ends every fatal failure. The text always goes to standard
// error first, so it is kept even where no box can be shown.

#include <string>

namespace zor {

// Whether a box may be shown: only with a display (X11 or Wayland) and while the
// environment variable ZOR_NO_MESSAGEBOX (set by tests and scripts) is unset or empty.
bool messageBoxWanted();

// Writes the text to standard error, then shows a modal error box with the caption and
// the text when messageBoxWanted(). Returns once the user has closed the box.
void showErrorMessageBox(const std::string& caption, const std::string& text);

} // namespace zor
