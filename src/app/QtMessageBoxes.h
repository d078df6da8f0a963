#pragma once
// The program's message boxes: modal, OK only, no title of their own (the application title).

#include "windows/MessageBoxes.h"

namespace app {

inline constexpr char16_t applicationTitle[] = u"Sanivex_Genesor";

class QtMessageBoxes final : public MessageBoxes {
  public:
    bool inform(QWidget* window, const QString& text) override;
    bool ask(QWidget* window, const QString& text) override;
};

} // namespace app
