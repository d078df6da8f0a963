#include "NotfallVersorgung.h"

#include "ProgramLook.h"
#include "StraightLines.h"

#include <QKeyEvent>

namespace {

// The entries of the two lists in the order they are shown (not sorted).
const QStringList kontraktEntries = {
    QStringLiteral("Keiner"), QStringLiteral("Super-Platin"), QStringLiteral("Platin"),
    QStringLiteral("Gold"),   QStringLiteral("Basis"),
};
const QStringList gegendEntries = {
    QStringLiteral("AAA oder AA"),
    QStringLiteral("A oder B"),
    QStringLiteral("C oder D"),
    QStringLiteral("E oder Z"),
};

// A list that accepts only its entries starts with none of them chosen (an empty text).
void fillList(QComboBox* list, const QStringList& entries) {
    list->clear();
    list->addItems(entries);
    list->setCurrentIndex(-1);
}

} // namespace

NotfallVersorgung::NotfallVersorgung(care::NotfallVersorgungState& state, dice::Wuerfelomat& dice,
                                     MessageBoxes& boxes, QWidget* parent)
    : QWidget(parent), m_state(state), m_dice(dice), m_boxes(boxes) {
    setFont(windows::programFont());
    ui.setupUi(this);

    // Designer stores whole point sizes only; these two sizes have a fraction.
    QFont plus = ui.lblPlus->font();
    plus.setPointSizeF(13.5);
    ui.lblPlus->setFont(plus);
    QFont skill = ui.lblFertigkeit->font();
    skill.setPointSizeF(9.75);
    ui.lblFertigkeit->setFont(skill);

    // The arrow from the 2W6 to the result.
    const QList<QLine> arrow = {QLine(4320, 3600, 4680, 3600), QLine(4320, 3720, 4680, 3720),
                                QLine(4560, 3480, 4920, 3600), QLine(4560, 3840, 4920, 3720)};
    for (qsizetype i = 0; i < arrow.size(); ++i) {
        auto* line = new windows::StraightLines(this, {arrow.at(i)});
        line->setObjectName(QStringLiteral("Line%1").arg(i + 1));
    }

    connect(ui.cmdUebernehmen, &QPushButton::clicked, this,
            &NotfallVersorgung::cmdUebernehmen_Click);
    connect(ui.cmdCancel, &QPushButton::clicked, this, &NotfallVersorgung::cmdCancel_Click);

    ui.chkSIN->setFocus();
}

void NotfallVersorgung::Form_Load() {
    fillList(ui.cmbKontrakt, kontraktEntries);
    fillList(ui.cmbGegend, gegendEntries);
}

// The field is written first, the window closed second.
void NotfallVersorgung::cmdUebernehmen_Click() {
    emit skillHandedOver(m_state.Fertigkeit);
    close();
}

void NotfallVersorgung::cmdCancel_Click() {
    close();
}

void NotfallVersorgung::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier)
        cmdCancel_Click();
    else
        QWidget::keyPressEvent(event);
}
