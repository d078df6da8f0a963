#include "NormalVersorgung.h"

#include "ProgramLook.h"
#include "StraightLines.h"

#include <QKeyEvent>

namespace {

// The entries of the three lists in the order they are shown.
const QStringList artEntries = {
    QStringLiteral("Kosmetisch"),     QStringLiteral("Implantat"), QStringLiteral("Therapeutisch"),
    QStringLiteral("Transimplantat"), QStringLiteral("Trauma"),    QStringLiteral("Nanochirugie"),
};
const QStringList kategorieEntries = {
    QStringLiteral("Standardcyberware"),
    QStringLiteral("Alphaware"),
    QStringLiteral("Betaware"),
    QStringLiteral("Deltaware"),
    QStringLiteral("Standardbioware"),
    QStringLiteral("Kosmetische Bioware"),
    QStringLiteral("Kultivierte Bioware"),
    QStringLiteral("Nanoware"),
};
const QStringList legalitaetEntries = {
    QStringLiteral("Legal"),
    QStringLiteral("Paralegal/Klasse A"),
    QStringLiteral("Sicherheit/Klasse B"),
    QStringLiteral("Militärisch/Klasse C"),
};

// A list that accepts only its entries starts with none of them chosen (an empty text).
void fillList(QComboBox* list, const QStringList& entries) {
    list->clear();
    list->addItems(entries);
    list->setCurrentIndex(-1);
}

} // namespace

NormalVersorgung::NormalVersorgung(care::NormalVersorgungState& state, dice::Wuerfelomat& dice,
                                   dice::DiceSink& mainDice, MessageBoxes& boxes, QWidget* parent)
    : QWidget(parent), m_state(state), m_dice(dice), m_mainDice(mainDice), m_boxes(boxes) {
    setFont(windows::programFont());
    ui.setupUi(this);

    // Designer stores whole point sizes only; these two sizes have a fraction.
    QFont plus = ui.lblPlus->font();
    plus.setPointSizeF(13.5);
    ui.lblPlus->setFont(plus);
    QFont skill = ui.lblFertigkeit->font();
    skill.setPointSizeF(9.75);
    ui.lblFertigkeit->setFont(skill);

    // The double arrow from the 2W6 to the result.
    const QList<QLine> arrow = {QLine(4320, 3600, 4680, 3600), QLine(4320, 3720, 4680, 3720),
                                QLine(4560, 3480, 4920, 3600), QLine(4560, 3840, 4920, 3720)};
    for (qsizetype i = 0; i < arrow.size(); ++i) {
        auto* line = new windows::StraightLines(this, {arrow.at(i)});
        line->setObjectName(QStringLiteral("Line%1").arg(i + 1));
    }

    connect(ui.cmdUebernehmen, &QPushButton::clicked, this,
            &NormalVersorgung::cmdUebernehmen_Click);
    connect(ui.cmdCancel, &QPushButton::clicked, this, &NormalVersorgung::cmdCancel_Click);

    // The first control in focus order; focusing an option does not select it.
    ui.optKonzern->setFocus();
}

void NormalVersorgung::Form_Load() {
    fillList(ui.cmbArt, artEntries);
    fillList(ui.cmbKategorie, kategorieEntries);
    fillList(ui.cmbLegalität, legalitaetEntries);
}

// The field is written first, the window closed second.
void NormalVersorgung::cmdUebernehmen_Click() {
    emit skillHandedOver(m_state.Fertigkeit);
    close();
}

void NormalVersorgung::cmdCancel_Click() {
    close();
}

void NormalVersorgung::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier)
        cmdCancel_Click();
    else
        QWidget::keyPressEvent(event);
}
