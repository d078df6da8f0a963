#include "NotfallVersorgung.h"

#include "EntryList.h"
#include "MessageBoxes.h"
#include "ProgramLook.h"
#include "StraightLines.h"
#include "care/CareTexts.h"
#include "care/EmergencySearch.h"
#include "dice/wuerfelomat.h"
#include "numbers/Text.h"

#include <QKeyEvent>


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
    connect(ui.cmdSuchDoc, &QPushButton::clicked, this, &NotfallVersorgung::cmdSuchDoc_Click);
    connect(ui.cmdCancel, &QPushButton::clicked, this, &NotfallVersorgung::cmdCancel_Click);

    ui.chkSIN->setFocus();
}

void NotfallVersorgung::Form_Load() {
    windows::fillEntryList(ui.cmbKontrakt, care::contractEntries());
    windows::fillEntryList(ui.cmbGegend, care::areaEntries());
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

void NotfallVersorgung::cmdSuchDoc_Click() {
    care::EmergencySearchInput input;
    using care::Dienstleister;
    const std::pair<QRadioButton*, Dienstleister> dienstleister[] = {
        {ui.optSanivex, Dienstleister::Sanivex},
        {ui.optRapidmed, Dienstleister::Rapidmed},
        {ui.optPrivat, Dienstleister::Privat},
        {ui.optIllegal, Dienstleister::Illegal}};
    for (const auto& [option, value] : dienstleister)
        if (option->isChecked())
            input.dienstleister = value;
    if (ui.optHTR->isChecked())
        input.rettungsteam = care::Rettungsteam::HTR;
    if (ui.optKriseneinsatz->isChecked())
        input.rettungsteam = care::Rettungsteam::Kriseneinsatz;
    input.kontrakt = ui.cmbKontrakt->currentText();
    input.gegend = ui.cmbGegend->currentText();
    input.sinlos = ui.chkSIN->isChecked();
    input.arrest = ui.chkArrest->isChecked();

    const care::EmergencySearchResult result = care::runEmergencySearch(input, m_state, m_dice);
    m_state = result.state;

    ui.lstModifMeld->clear();
    ui.lstModifMeld->addItems(result.meldungen);
    if (result.kontraktAufDefault) // the list shows the default from now on
        ui.cmbKontrakt->setCurrentIndex(ui.cmbKontrakt->findText(care::kontraktDefault()));
    ui.lblModif->setText(numbers::intText(result.Modif));
    const care::Arztwurf& wurf = result.arztwurf;
    ui.lblWurf1->setText(numbers::intText(wurf.W1));
    ui.lblWurf2->setText(numbers::intText(wurf.W2));
    ui.lblSumme->setText(numbers::intText(wurf.S));
    if (wurf.arzt.verweigert) // the levels still show the previous search while the box is open
        m_boxes.inform(this, care::texts::zweiteAblehnung);
    ui.lblFertigkeit->setText(numbers::intText(wurf.arzt.Fertigkeit));
    ui.lblEquipment->setText(numbers::intText(wurf.arzt.Equipment));
}
