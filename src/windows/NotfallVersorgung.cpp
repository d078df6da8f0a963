#include "NotfallVersorgung.h"

#include "AccessibleNames.h"
#include "EntryList.h"
#include "MessageBoxes.h"
#include "ProgramLook.h"
#include "care/CareTexts.h"
#include "care/EmergencySearch.h"
#include "dice/wuerfelomat.h"
#include "numbers/Text.h"

NotfallVersorgung::NotfallVersorgung(care::NotfallVersorgungState& state, dice::Wuerfelomat& dice,
                                     MessageBoxes& boxes, QWidget* parent)
    : SearchWindow(parent), m_state(state), m_dice(dice), m_boxes(boxes) {
    setFont(windows::programFont());
    ui.setupUi(this);
    windows::nameAfterFrames(this);
    ui.lstModifMeld->setAccessibleName(QStringLiteral("Modifikatoren"));

    setUpDoctorRow(doctorRow());

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

void NotfallVersorgung::cmdUebernehmen_Click() {
    handOver(m_state.Fertigkeit);
}

void NotfallVersorgung::cmdCancel_Click() {
    close();
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
    showDoctorRoll(doctorRow(), wurf, m_boxes);
}

SearchWindow::DoctorRow NotfallVersorgung::doctorRow() const {
    return {ui.lblPlus, ui.lblWurf1, ui.lblWurf2, ui.lblSumme, ui.lblFertigkeit, ui.lblEquipment};
}
