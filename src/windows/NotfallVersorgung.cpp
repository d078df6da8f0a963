#include "NotfallVersorgung.h"

#include "MessageBoxes.h"
#include "ProgramLook.h"
#include "TableDice.h"
#include "numbers/Text.h"
#include "ui_NotfallVersorgung.h"

NotfallVersorgung::NotfallVersorgung(care::NotfallVersorgungState& state, TableDice& dice,
                                     MessageBoxes& boxes, QWidget* parent)
    : SearchWindow(boxes, parent), ui(std::make_unique<Ui::NotfallVersorgung>()), m_state(state),
      m_dice(dice) {
    ui->setupUi(this);
    ui->lstModifMeld->setAccessibleName(QStringLiteral("Modifikatoren"));
    setUpShell({ui->cmdUebernehmen, ui->cmdCancel, ui->lblPlus, ui->lblWurf1, ui->lblWurf2,
                ui->lblSumme, ui->lblFertigkeit, ui->lblEquipment});
    connect(ui->cmdSuchDoc, &QPushButton::clicked, this, &NotfallVersorgung::cmdSuchDoc_Click);
    ui->chkSIN->setFocus();
}

NotfallVersorgung::~NotfallVersorgung() = default;

void NotfallVersorgung::Form_Load() {
    // Drop-down lists that accept only their entries start with none chosen: an empty text.
    for (const auto& [list, entries] :
         {std::pair{ui->cmbKontrakt, care::contractEntries()},
          std::pair{ui->cmbGegend, care::entryTexts(care::areaRules())}}) {
        list->clear();
        list->addItems(entries);
        list->setCurrentIndex(-1);
    }
}

care::EmergencySearchInput NotfallVersorgung::input() const {
    care::EmergencySearchInput in;
    using care::RescueService;
    const std::pair<QRadioButton*, RescueService> services[] = {
        {ui->optSanivex, RescueService::Sanivex},
        {ui->optRapidmed, RescueService::Rapidmed},
        {ui->optPrivat, RescueService::Privat},
        {ui->optIllegal, RescueService::Illegal}};
    for (const auto& [option, value] : services)
        if (option->isChecked())
            in.service = value;
    if (ui->optHTR->isChecked())
        in.team = care::RescueTeam::HTR;
    if (ui->optKriseneinsatz->isChecked())
        in.team = care::RescueTeam::Kriseneinsatz;
    in.kontrakt = ui->cmbKontrakt->currentText();
    in.gegend = ui->cmbGegend->currentText();
    in.sinlos = ui->chkSIN->isChecked();
    in.arrest = ui->chkArrest->isChecked();
    return in;
}

void NotfallVersorgung::cmdSuchDoc_Click() {
    TableDice::Asked dice = m_dice.askedBy(this);
    const auto search = care::emergencySearch(input(), m_state, dice);
    if (search.abandoned()) // as if never pressed; this window may be gone
        return;
    if (search.refused()) { // only a run of sixes can refuse an emergency search
        (void)m_boxes.inform(this, search.refusal());
        return;
    }
    emit recorded(record::emergencySearch(*search, dice));
    m_state = search->state;
    ui->lstModifMeld->clear();
    ui->lstModifMeld->addItems(search->meldungen);
    if (search->selectDefaultContract) // the list shows the default from now on
        ui->cmbKontrakt->setCurrentIndex(ui->cmbKontrakt->findText(care::defaultContract()));
    windows::showResult(ui->lblModif, numbers::intText(m_state.Modif));
    if (showDoctorRoll(search->doctor))
        emit changed();
}
