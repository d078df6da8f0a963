#pragma once
// Every message the windows show goes through this one interface: the program shows a modal
// box with OK only and the application title, the tests record the texts instead.

#include <QString>

class QWidget;

class MessageBoxes {
  public:
    virtual ~MessageBoxes() = default;
    // Returns once the box is closed: true while `window` still exists, false when it went away
    // while the box was open (closed by a screen reader, or with the main window), so the
    // caller must not touch it any more.
    [[nodiscard]] virtual bool inform(QWidget* window, const QString& text) = 0;
    // A yes-or-no question whose default answer is no; true only for a clear yes.
    [[nodiscard]] virtual bool ask(QWidget* window, const QString& text) = 0;
};
