#pragma once
// Every message the windows show goes through this one interface: the program shows a modal
// box with OK only and the application title, the tests record the texts instead.

#include <QString>

class QWidget;

class MessageBoxes {
  public:
    virtual ~MessageBoxes() = default;
    // Returns once the user has closed the box.
    virtual void inform(QWidget* parent, const QString& text) = 0;
};
