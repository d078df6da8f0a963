#pragma once
// What the two doctor search windows share: the program font and window setup, "Übernehmen!"
// (the found skill goes to the main window before the window closes), "Cancel" and Escape,
// and the result row from the 2W6 to the found doctor's levels.

#include "care/CareTables.h"
#include "team/Record.h"

#include <QWidget>

class QLabel;
class QPushButton;
class MessageBoxes;

class SearchWindow : public QWidget {
    Q_OBJECT

  signals:
    // What a search sends to the main window: "Übernehmen!" the found skill for the doctor's
    // field, the normal search the dice of its etiquette test for the dice list.
    void handOver(numbers::Int16 Fertigkeit);
    void showDice(const QList<numbers::Int16>& dice);
    // An input or the variables changed: what the next search would do may be different.
    void changed();
    // A search or trade step was carried out or refused, for the record.
    void recorded(const RecordEntry& entry);

  protected:
    SearchWindow(MessageBoxes& boxes, QWidget* parent);

    struct Shell {
        QPushButton* cmdUebernehmen;
        QPushButton* cmdCancel;
        QLabel* lblPlus;
        QLabel* lblWurf1;
        QLabel* lblWurf2;
        QLabel* lblSumme;
        QLabel* lblFertigkeit;
        QLabel* lblEquipment;
    };
    // Once the controls exist: connects the shell, sizes what Designer cannot store and draws
    // the arrow from the 2W6 to the result.
    void setUpShell(const Shell& shell);

    // The skill of this window's last search that reached the doctor table.
    virtual numbers::Int16 foundSkill() const = 0;

    // Shows the dice and the sum; a refusal is announced while the levels still show the
    // previous search, then the levels follow. False when the window went away meanwhile.
    [[nodiscard]] bool showDoctorRoll(const care::DoctorRoll& roll);

    MessageBoxes& m_boxes;

    // A closing search leaves the forecast too.
    void closeEvent(QCloseEvent* event) override;

  private:
    void cmdUebernehmen_Click();
    Shell m_shell{};
};
