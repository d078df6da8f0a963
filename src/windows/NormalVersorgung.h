#pragma once
// The normal care search window: the situation of a planned treatment (provider, contact,
// kind of surgery, implant category, legality, etiquette skill), the search result and the
// trade of spare successes. Its variables live in a NormalVersorgungState owned by the window
// slot, so the found skill survives the closing of the window.

#include "SearchWindow.h"
#include "care/NormalSearch.h"

#include <memory>

class TableDice;
namespace Ui {
class NormalVersorgung;
}

class NormalVersorgung : public SearchWindow {
    Q_OBJECT

  public:
    NormalVersorgung(care::NormalVersorgungState& state, TableDice& dice, MessageBoxes& boxes,
                     QWidget* parent = nullptr);
    ~NormalVersorgung() override;

    // Runs on every opening, after the controls have their start state: fills the three lists.
    void Form_Load();

    // What "Suche einen Arzt!" would read now.
    care::NormalSearchInput input() const;

  private:
    numbers::Int16 foundSkill() const override { return m_state.Fertigkeit; }
    void cmdSuchDoc_Click();
    // Opens the trade of spare successes against time and equipment.
    void KurzoderGut();
    using TradeStep =
        numbers::Result<care::NormalVersorgungState> (*)(const care::NormalVersorgungState&);
    void trade(TradeStep step, QLabel* traded, const QString& what);

    std::unique_ptr<Ui::NormalVersorgung> ui;
    care::NormalVersorgungState& m_state;
    TableDice& m_dice;
};
