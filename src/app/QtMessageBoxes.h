#pragma once
// The program's message boxes: modal, no title of their own (the application title); a message
// has OK only, a question "Ja" and "Nein".

#include "windows/MessageBoxes.h"

namespace app {

inline constexpr char16_t applicationTitle[] = u"Sanivex_Genesor";

class QtMessageBoxes final : public MessageBoxes {
  public:
    bool inform(QWidget* window, const QString& text) override;
    bool ask(QWidget* window, const QString& question) override;
};

} // namespace app
