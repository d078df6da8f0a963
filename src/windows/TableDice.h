#pragma once
// Dice rolled at the table: while "Eigene Würfel" is ticked, every die the program would roll
// is asked from the user in a small modal dialog that says what to roll and what for, with one
// field per die; otherwise the generator rolls. The rules get the dice the same way either way.

#include "dice/wuerfelomat.h"

#include <QDialog>
#include <QPointer>

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
    // Once every field holds a finished die: their values, and each as the record shows it
    // ("6+6+1 = 13" where the chain was typed face by face, else the number).
    QList<numbers::Int16> values() const;
    QStringList shown() const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // A field's text read once for the check and the read-back alike: the die, or why it is
    // none yet.
    struct Reading {
        int value = 0;
        QString problem;
        bool unfinished = false; // a chain ending in a six, waiting for the next face
    };
    Reading read(qsizetype field) const;
    void check();
    // A finished die moves the focus on to the next field.
    void advanceFrom(qsizetype field);

    bool m_openEnded;
    QList<QLineEdit*> m_fields;
    QList<QList<int>> m_chains; // per field the parts added up by typing after a six
    QLabel* m_hint;
    QPushButton* m_ok;
};

class TableDice final {
  public:
    explicit TableDice(dice::Wuerfelomat& generator) : m_generator(generator) {}
    void setOwn(bool own) { m_own = own; }
    bool own() const { return m_own; }

    // The dice of one press or search of `window`. A dialog asking for them belongs to that
    // window: if the window goes while it is open, the roll is abandoned and the window is
    // never touched again.
    class Asked final : public dice::Dice {
      public:
        Asked(TableDice& table, QWidget* window) : m_table(table), m_window(window) {}
        std::optional<QList<numbers::Int16>> openEnded(numbers::Int16 count, numbers::Int16 target,
                                                       dice::Purpose purpose) override;
        std::optional<QList<numbers::Int16>> plain(numbers::Int16 count,
                                                   dice::Purpose purpose) override;
        // The dice of a roll for the record: "13 3 2", or "6+6+1 = 13, 3, 2" where a chain was
        // typed face by face.
        QString text(const QList<numbers::Int16>& dice) const override;
        bool byHand() const override { return m_table.own(); }

      private:
        std::optional<QList<numbers::Int16>> ask(int count, std::optional<int> target,
                                                 dice::Purpose purpose);
        TableDice& m_table;
        QPointer<QWidget> m_window;
        QList<std::pair<QList<numbers::Int16>, QStringList>> m_typed;
    };
    Asked askedBy(QWidget* window) { return Asked(*this, window); }

  private:
    dice::Wuerfelomat& m_generator;
    bool m_own = false;
};
