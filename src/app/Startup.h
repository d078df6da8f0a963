#pragma once
// What happens around the first window: the command line is answered before Qt looks for a
// display, and the running program introduces itself to the desktop (name, window class, menu
// entry, icon) and speaks the user's language in Qt's own texts too.

#include <optional>

class QApplication;

namespace app {

// Answers --help and --version and refuses arguments it does not know, in German. Qt's own
// options (-platform, -style, ...) pass through to QApplication. Returns the exit code when
// the program is to end here, nothing when it is to start.
std::optional<int> answerCommandLine(int argc, char* argv[]);

// Sets the window class and the menu entry that desktops match the windows to, the icon of
// every window (the icon theme's, else the built-in one) and loads Qt's own translation for
// the user's locale (context menus, file dialogs).
void introduceToDesktop(QApplication& application);

} // namespace app
