#pragma once
// How the windows look. The given positions were laid out for classic Windows controls with a
// narrow 8-point sans serif: frames with their caption on the border line, small drop-down
// arrows. Liberation Sans at 10 pixels in Qt's "Windows" style fits every caption into its
// given width, and a slimmer drop-down arrow leaves the narrow lists room for their entries.

#include <QFont>

namespace windows {

QFont programFont();

// Installs the program's style for the whole application; call once before any window exists.
void useProgramStyle();

} // namespace windows
