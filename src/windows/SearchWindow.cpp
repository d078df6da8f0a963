#include "SearchWindow.h"

#include "MessageBoxes.h"
#include "ProgramLook.h"
#include "StraightLines.h"
#include "care/CareTexts.h"
#include "numbers/Text.h"

#include <QLabel>
#include <QPushButton>

SearchWindow::SearchWindow(MessageBoxes& boxes, QWidget* parent) : QWidget(parent), m_boxes(boxes) {
    // The font comes before the controls, so they lay out their text only once.
    setFont(windows::programFont());
}

void SearchWindow::setUpShell(const Shell& shell) {
    m_shell = shell;
    windows::finishWindow(this);
    windows::closeOnEscape(this);
    connect(shell.cmdUebernehmen, &QPushButton::clicked, this, &SearchWindow::cmdUebernehmen_Click);
    connect(shell.cmdCancel, &QPushButton::clicked, this, &QWidget::close);
    windows::onEveryInput(this, [this] { emit changed(); });

    QFont plus = shell.lblPlus->font();
    plus.setPointSizeF(13.5);
    shell.lblPlus->setFont(plus);
    QFont skill = shell.lblFertigkeit->font();
    skill.setPointSizeF(9.75);
    shell.lblFertigkeit->setFont(skill);

    const QList<QLine> arrow = {QLine(4320, 3600, 4680, 3600), QLine(4320, 3720, 4680, 3720),
                                QLine(4560, 3480, 4920, 3600), QLine(4560, 3840, 4920, 3720)};
    for (qsizetype i = 0; i < arrow.size(); ++i) {
        auto* line = new windows::StraightLines(this, {arrow.at(i)});
        line->setObjectName(QStringLiteral("Line%1").arg(i + 1));
    }
}

// The field is written first, the window closed second.
void SearchWindow::cmdUebernehmen_Click() {
    emit handOver(foundSkill());
    close();
}

bool SearchWindow::showDoctorRoll(const care::DoctorRoll& roll) {
    windows::showResult(m_shell.lblWurf1, numbers::intText(roll.W1));
    windows::showResult(m_shell.lblWurf2, numbers::intText(roll.W2));
    windows::showResult(m_shell.lblSumme, numbers::intText(roll.S));
    if (roll.doctor.refused && !m_boxes.inform(this, care::texts::secondRefusal))
        return false;
    windows::showResult(m_shell.lblFertigkeit, numbers::intText(roll.doctor.Fertigkeit));
    windows::showResult(m_shell.lblEquipment, numbers::intText(roll.doctor.Equipment));
    return true;
}

void SearchWindow::closeEvent(QCloseEvent* event) {
    emit changed();
    QWidget::closeEvent(event);
}
