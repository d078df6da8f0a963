#include "SearchWindow.h"

#include "MessageBoxes.h"
#include "StraightLines.h"
#include "care/CareTexts.h"
#include "numbers/Text.h"

#include <QKeyEvent>
#include <QLabel>

void SearchWindow::setUpDoctorRow(const DoctorRow& row) {
    QFont plus = row.lblPlus->font();
    plus.setPointSizeF(13.5);
    row.lblPlus->setFont(plus);
    QFont skill = row.lblFertigkeit->font();
    skill.setPointSizeF(9.75);
    row.lblFertigkeit->setFont(skill);

    const QList<QLine> arrow = {QLine(4320, 3600, 4680, 3600), QLine(4320, 3720, 4680, 3720),
                                QLine(4560, 3480, 4920, 3600), QLine(4560, 3840, 4920, 3720)};
    for (qsizetype i = 0; i < arrow.size(); ++i) {
        auto* line = new windows::StraightLines(this, {arrow.at(i)});
        line->setObjectName(QStringLiteral("Line%1").arg(i + 1));
    }
}

void SearchWindow::showDoctorRoll(const DoctorRow& row, const care::Arztwurf& wurf,
                                  MessageBoxes& boxes) {
    row.lblWurf1->setText(numbers::intText(wurf.W1));
    row.lblWurf2->setText(numbers::intText(wurf.W2));
    row.lblSumme->setText(numbers::intText(wurf.S));
    if (wurf.arzt.verweigert)
        boxes.inform(this, care::texts::zweiteAblehnung);
    row.lblFertigkeit->setText(numbers::intText(wurf.arzt.Fertigkeit));
    row.lblEquipment->setText(numbers::intText(wurf.arzt.Equipment));
}

void SearchWindow::handOver(numbers::Int16 fertigkeit) {
    emit skillHandedOver(fertigkeit);
    close();
}

void SearchWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier)
        close();
    else
        QWidget::keyPressEvent(event);
}
