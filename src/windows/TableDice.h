#pragma once
// Dice rolled at the table: while "Eigene Würfel" is ticked, every die the program would roll
// is asked from the user in a small modal dialog that says what to roll and what for, with one
// field per die; otherwise the generator rolls. The rules get the dice the same way either way.

#include "dice/wuerfelomat.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// The dialog: the focus starts in the first field, a complete value moves it on by itself,
// Enter confirms once every field holds a valid die, Escape abandons the roll. An open-ended
// die takes the total of its chain: after a six the next face typed is added to it.
class DiceEntry : public QDialog {
    Q_OBJECT

  public:
    // Open-ended dice against `target` when it is given, plain dice otherwise.
    DiceEntry(int count, std::optional<int> target, dice::Purpose purpose,
              QWidget* parent = nullptr);
    QList<numbers::Int16> values() const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Why a field's text is no die yet, or nothing when it is one.
    QString problem(qsizetype field) const;
    void check(qsizetype typedInto);

    bool m_openEnded;
    QList<QLineEdit*> m_fields;
    QLabel* m_hint;
    QPushButton* m_ok;
};

class TableDice final : public dice::Dice {
  public:
    explicit TableDice(dice::Wuerfelomat& generator) : m_generator(generator) {}
    void setOwn(bool own) { m_own = own; }
    bool own() const { return m_own; }
    bool byHand() const override { return m_own; }

    std::optional<QList<numbers::Int16>> openEnded(numbers::Int16 count, numbers::Int16 target,
                                                   dice::Purpose purpose) override;
    std::optional<QList<numbers::Int16>> plain(numbers::Int16 count,
                                               dice::Purpose purpose) override;

  private:
    dice::Wuerfelomat& m_generator;
    bool m_own = false;
};
