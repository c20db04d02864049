#pragma once
// The error message box that ends every fatal failure. The text always goes to standard
// error first, so it is kept even where no box can be shown.

#include <cstddef>
#include <string>

namespace zor {

// Whether a box may be shown: only with a display (X11 or Wayland) and while the
// environment variable ZOR_NO_MESSAGEBOX (set by tests and scripts) is unset or empty.
bool messageBoxWanted();

// Writes the text to standard error, then shows a modal error box with the caption and
// the text, wrapped, when messageBoxWanted() and no quit signal is pending. Returns once
// the user has closed the box.
void showErrorMessageBox(const std::string& caption, const std::string& text);

// The text with every line longer than `width` bytes broken at its last blanks before the
// width, or within a word that is longer than a line (never inside a UTF-8 character).
std::string wrapLines(const std::string& text, std::size_t width);

} // namespace zor
