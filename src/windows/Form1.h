#pragma once
// The main window: every input and output of the healing calculation, the buttons that lead
// to the doctor search and the contract table, and the list where the dice of a roll appear.
// Its variables live in a Form1State owned by the window slot, so closing the window loses
// none of them.

#include "dice/wuerfelomat.h"
#include "healing/Form1State.h"
#include "numbers/Checked.h"
#include "ui_Form1.h"

#include <QWidget>

class MessageBoxes;
namespace healing {
struct HeilenErgebnis;
struct Steueraenderungen;
} // namespace healing

class Form1 : public QWidget, public dice::DiceSink {
    Q_OBJECT

  public:
    Form1(healing::Form1State& state, dice::Wuerfelomat& dice, MessageBoxes& boxes,
          QWidget* parent = nullptr);

    // Runs on every opening, after the controls have their start state.
    void Form_Load();
    void cmdReset_Click();
    void cmdHeilen_Click();

    // The dice roller lists the dice of a success test here (lstErgebnis).
    void clearDice() override;
    void appendDie(const QString& line) override;

    // The doctor hand-over of the search windows: the found skill becomes the doctor's Biotech
    // skill, whether or not its frame is usable right now.
    void uebernehmeFertigkeit(numbers::Int16 fertigkeit);

  signals:
    void suchDocRequested();
    void sanivexInfoRequested();

  protected:
    // Enter anywhere in the window heals, unless a focused button takes it for itself.
    void keyPressEvent(QKeyEvent* event) override;

  private:
    // Care conditions: hospital mode unlocks the patient and doctor inputs.
    void Krankenhaus_Click();
    void daheim_Click();
    void schlechteUmst_Click();
    void furchtbareUmst_Click();
    void aktiviereKrankenhaus();
    void deaktiviereKrankenhaus();

    // The ware boxes keep each pair exclusive and unlock bio-index and essence.
    void dokBio_Click();
    void undokBio_Click();
    void dokCyb_Click();
    void undokCyb_Click();

    void txtKonstitution_Change();
    void Willenskraft_Change();

    void zeigeErgebnis(const healing::HeilenErgebnis& ergebnis);
    void wendeAn(const healing::Steueraenderungen& aenderungen);

    Ui::Form1 ui;
    healing::Form1State& m_state;
    dice::Wuerfelomat& m_dice;
    MessageBoxes& m_boxes;
};
