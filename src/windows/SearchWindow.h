#pragma once
// What the two doctor search windows share: the hand-over of the found skill, Escape as
// "Cancel", and the result row from the 2W6 to the found doctor's levels.

#include "care/BestimmeArzt.h"
#include "numbers/Checked.h"

#include <QWidget>

class QLabel;
class MessageBoxes;

class SearchWindow : public QWidget {
    Q_OBJECT

  public:
    using QWidget::QWidget;

  signals:
    // "Übernehmen!": the found skill goes to the main window before this window closes.
    void skillHandedOver(numbers::Int16 fertigkeit);

  protected:
    struct DoctorRow {
        QLabel* lblPlus;
        QLabel* lblWurf1;
        QLabel* lblWurf2;
        QLabel* lblSumme;
        QLabel* lblFertigkeit;
        QLabel* lblEquipment;
    };

    // Sizes that Designer cannot store, and the arrow from the 2W6 to the result.
    void setUpDoctorRow(const DoctorRow& row);
    // Shows the dice and the sum; a refusal is announced while the levels still show the
    // previous search, then the levels follow.
    void showDoctorRoll(const DoctorRow& row, const care::Arztwurf& wurf, MessageBoxes& boxes);
    // The field is written first, the window closed second.
    void handOver(numbers::Int16 fertigkeit);
    void keyPressEvent(QKeyEvent* event) override;
};
