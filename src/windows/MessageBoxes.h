#pragma once
// Every message the windows show goes through this one interface: the program shows a modal
// box with the application title, the tests record the texts (and answer the questions).

#include <QString>

class QWidget;

class MessageBoxes {
  public:
    virtual ~MessageBoxes() = default;
    // Returns once the box is closed: true while `window` still exists, false when it went away
    // while the box was open (closed by a screen reader, or with the main window), so the
    // caller must not touch it any more.
    [[nodiscard]] virtual bool inform(QWidget* window, const QString& text) = 0;
    // A question with "Ja" and "Nein", "Nein" the default so that one key too many loses
    // nothing. True only for "Ja" with `window` still there.
    [[nodiscard]] virtual bool ask(QWidget* window, const QString& question) = 0;
};
