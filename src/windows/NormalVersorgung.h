#pragma once
// The normal care search window: the situation of a planned treatment (provider, contact,
// kind of surgery, implant category, legality, etiquette skill), the search result and the
// trade of spare successes. Its variables live in a NormalVersorgungState owned by the window
// slot, so the found skill survives the closing of the window.

#include "SearchWindow.h"
#include "care/SearchState.h"
#include "numbers/Checked.h"

#include "ui_NormalVersorgung.h"

#include <QWidget>

namespace dice {
class DiceSink;
class Wuerfelomat;
} // namespace dice
class MessageBoxes;

class NormalVersorgung : public SearchWindow {
    Q_OBJECT

  public:
    // `mainDice` is the main window's result list, where the etiquette test lists its dice.
    NormalVersorgung(care::NormalVersorgungState& state, dice::Wuerfelomat& dice,
                     dice::DiceSink& mainDice, MessageBoxes& boxes, QWidget* parent = nullptr);

    // Runs on every opening, after the controls have their start state: fills the three lists.
    void Form_Load();

  private:
    void cmdSuchDoc_Click();
    void cmdUebernehmen_Click();
    void cmdCancel_Click();
    DoctorRow doctorRow() const;
    // Opens the trade of spare successes against time and equipment.
    void KurzoderGut();
    void cmdImproveQual_Click();
    void cmdDiminQual_Click();
    void cmdImproveTime_Click();
    void cmdDiminTime_Click();
    void zeigeAusruestung();
    void zeigeZeitraum();

    Ui::NormalVersorgung ui;
    care::NormalVersorgungState& m_state;
    // The search and the trade roll with these and report through them.
    dice::Wuerfelomat& m_dice;
    dice::DiceSink& m_mainDice;
    MessageBoxes& m_boxes;
};
