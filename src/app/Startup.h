#pragma once
// What happens around the first window: the command line is answered before Qt looks for a
// display, a missing display is explained instead of ending in Qt's abort, and the running
// program introduces itself to the desktop (name, window class, menu entry, icon) and speaks
// the user's language in Qt's own texts too.

#include <memory>
#include <optional>

class QApplication;

namespace app {

// Answers --help and --version and refuses arguments it does not know, in German. Qt's own
// options (-platform, -display, ...) pass through to QApplication; -style does not, since the
// windows are laid out for the program's own style. Returns the exit code when the program is
// to end here (1 when the answer could not be written), nothing when it is to start.
std::optional<int> answerCommandLine(int argc, char* argv[]);

// The application on its display. Without one (no DISPLAY or WAYLAND_DISPLAY, a display that
// does not answer, a platform that does not load) it says so in German, with Qt's reason
// below, and ends the program with status 3. Qt's other messages while it looks come out once
// the display is open, in their order.
std::unique_ptr<QApplication> openDisplay(int& argc, char* argv[]);

// Sets the window class and the menu entry that desktops match the windows to, the icon of
// every window (the icon theme's, else the built-in one) and loads Qt's own translation for
// the user's locale (context menus, file dialogs).
void introduceToDesktop(QApplication& application);

} // namespace app
