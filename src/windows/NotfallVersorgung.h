#pragma once
// The emergency care search window: the situation of an emergency (provider, rescue team,
// contract, area, no SIN, arrest) and the doctor found by the 2W6 roll. Its variables live in
// a NotfallVersorgungState owned by the window slot, so the found skill survives the closing
// of the window.

#include "SearchWindow.h"
#include "care/EmergencySearch.h"

#include <memory>

class TableDice;
namespace Ui {
class NotfallVersorgung;
}

class NotfallVersorgung : public SearchWindow {
    Q_OBJECT

  public:
    NotfallVersorgung(care::NotfallVersorgungState& state, TableDice& dice, MessageBoxes& boxes,
                      QWidget* parent = nullptr);
    ~NotfallVersorgung() override;

    // Runs on every opening, after the controls have their start state: fills the two lists.
    void Form_Load();

    // What "Suche einen Arzt!" would read now.
    care::EmergencySearchInput input() const;

  private:
    numbers::Int16 foundSkill() const override { return m_state.Fertigkeit; }
    void cmdSuchDoc_Click();

    std::unique_ptr<Ui::NotfallVersorgung> ui;
    care::NotfallVersorgungState& m_state;
    TableDice& m_dice;
};
