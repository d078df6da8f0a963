#pragma once
// The main window: every input and output of the healing calculation, the buttons that lead
// to the doctor search and the contract table, and the list where the dice of a roll appear.
// Its variables live in a Form1State owned by the window slot, so closing the window loses
// none of them.

#include "healing/Healing.h"
#include "team/Record.h"
#include "team/Sheet.h"

#include <QWidget>
#include <memory>

class TableDice;
class MessageBoxes;
class QCheckBox;
namespace Ui {
class Form1;
}

class Form1 : public QWidget {
    Q_OBJECT

  public:
    Form1(healing::Form1State& state, TableDice& dice, MessageBoxes& boxes,
          QWidget* parent = nullptr);
    ~Form1() override;

    // Runs on every opening, after the controls have their start state.
    void Form_Load();

    // What "HEILEN!" would read now.
    healing::HealingInput input() const;

    // What a search window sends: "Übernehmen!" writes the found skill into the doctor's field,
    // whether or not its frame is usable right now; the etiquette test lists its dice here.
    void handOver(numbers::Int16 Fertigkeit);
    void showDice(const QList<numbers::Int16>& dice);

    // The patient's part of the window: every field, option, box, result label and list with
    // the variables. The program's own controls (own dice, the buttons to other windows, the
    // patient's name) are not part of it.
    team::Sheet capture() const;
    // Shows a sheet exactly, without running a single change handler on the way.
    void restore(const team::Sheet& sheet);
    void showPatient(const QString& name);
    void setUndoAvailable(bool available);

  signals:
    void suchDocRequested();
    void sanivexInfoRequested();
    void prognoseRequested();
    void verlaufRequested();
    // "Eigene Würfel" ticked or not: the dice are asked from the user or rolled.
    void ownDiceChanged(bool own);
    // A press was carried out or refused, for the record.
    void recorded(const RecordEntry& entry);
    // An input or the variables changed: what the next press would do may be different.
    void changed();
    // A carried-out "HEILEN!" or Reset, with the sheet as it was before it.
    void stepTaken(const QString& what, const team::Sheet& before);
    void undoRequested();
    void rundeRequested();

  protected:
    // Enter anywhere in the window heals, unless a focused button takes it for itself.
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void cmdHeilen_Click();
    void cmdReset_Click();

    // Care conditions: hospital mode unlocks the patient and doctor inputs.
    void Krankenhaus_Click();
    void daheim_Click();
    void schlechteUmst_Click();
    void furchtbareUmst_Click();
    void aktiviereKrankenhaus();
    void deaktiviereKrankenhaus();

    // The ware boxes keep each pair exclusive and unlock bio-index and essence.
    void wareTicked(QCheckBox* other, const QList<QWidget*>& unlocked);

    void txtKonstitution_Change();
    void Willenskraft_Change();

    void showPress(const healing::Press& press);
    // `rolled`: the dice of the press, which write themselves as rolled.
    RecordEntry entryFor(const healing::Press& press, const dice::Dice& rolled) const;
    QString targetText(const healing::Press& press) const;
    void applyChanges(const healing::ControlChanges& changes);
    void ZeigeGrundzeitraum();

    std::unique_ptr<Ui::Form1> ui;
    healing::Form1State& m_state;
    TableDice& m_dice;
    MessageBoxes& m_boxes;
};
