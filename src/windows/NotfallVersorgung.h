#pragma once
// The emergency care search window: the situation of an emergency (provider, rescue team,
// contract, area, no SIN, arrest) and the doctor found by the 2W6 roll. Its variables live in
// a NotfallVersorgungState owned by the window slot, so the found skill survives the closing
// of the window.

#include "SearchWindow.h"
#include "care/SearchState.h"
#include "numbers/Checked.h"

#include "ui_NotfallVersorgung.h"

#include <QWidget>

namespace dice {
class Wuerfelomat;
}
class MessageBoxes;

class NotfallVersorgung : public SearchWindow {
    Q_OBJECT

  public:
    NotfallVersorgung(care::NotfallVersorgungState& state, dice::Wuerfelomat& dice,
                      MessageBoxes& boxes, QWidget* parent = nullptr);

    // Runs on every opening, after the controls have their start state: fills the two lists.
    void Form_Load();

  private:
    void cmdSuchDoc_Click();
    void cmdUebernehmen_Click();
    void cmdCancel_Click();
    DoctorRow doctorRow() const;

    Ui::NotfallVersorgung ui;
    care::NotfallVersorgungState& m_state;
    // The search rolls with these and reports its refusal through them.
    dice::Wuerfelomat& m_dice;
    MessageBoxes& m_boxes;
};
