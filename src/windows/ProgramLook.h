#pragma once
// How the windows look. The given positions were laid out for classic Windows controls with a
// narrow 8-point sans serif: frames with their caption on the border line, small drop-down
// arrows. Liberation Sans at 10 pixels in Qt's "Windows" style fits every caption into its
// given width, and a slimmer drop-down arrow leaves the narrow lists room for their entries.

#include <QFont>
#include <functional>

class QLabel;
class QString;
class QWidget;

namespace windows {

QFont programFont();

// Installs the program's style for the whole application; call once before any window exists.
void useProgramStyle();

// What every window does once its controls exist: it keeps the size of its definition (the
// controls have fixed places, so a resized window would only cut them off or leave space),
// every button answers Return and Enter when it has the focus, and result labels, lists and
// fields inside a frame carry the frame's caption as their accessible name.
void finishWindow(QWidget* window);

// Shows a result in its label. A screen reader hears the label by its frame's caption, so the
// value goes into its description too; a value wider than the label is also its tooltip.
void showResult(QLabel* label, const QString& text);

// Every button of the window answers Return and Enter when it has the focus.
void answerEnter(QWidget* window);

// Escape closes the window as its close box does (every window but the main one).
void closeOnEscape(QWidget* window);

// Calls `changed` whenever the user or the program changes an input of the window: a text, a
// check mark, an option, a list entry.
void onEveryInput(QWidget* window, const std::function<void()>& changed);

} // namespace windows
