#include "NormalVersorgung.h"

#include "AccessibleNames.h"
#include "EntryList.h"
#include "MessageBoxes.h"
#include "ProgramLook.h"
#include "care/CareTexts.h"
#include "care/NormalSearch.h"
#include "care/Trade.h"
#include "dice/wuerfelomat.h"
#include "numbers/Text.h"

NormalVersorgung::NormalVersorgung(care::NormalVersorgungState& state, dice::Wuerfelomat& dice,
                                   dice::DiceSink& mainDice, MessageBoxes& boxes, QWidget* parent)
    : SearchWindow(parent), m_state(state), m_dice(dice), m_mainDice(mainDice), m_boxes(boxes) {
    setFont(windows::programFont());
    ui.setupUi(this);
    windows::nameAfterFrames(this);
    ui.lstModifMeld->setAccessibleName(QStringLiteral("Modifikatoren"));

    setUpDoctorRow(doctorRow());

    connect(ui.cmdUebernehmen, &QPushButton::clicked, this,
            &NormalVersorgung::cmdUebernehmen_Click);
    connect(ui.cmdCancel, &QPushButton::clicked, this, &NormalVersorgung::cmdCancel_Click);
    connect(ui.cmdSuchDoc, &QPushButton::clicked, this, &NormalVersorgung::cmdSuchDoc_Click);
    connect(ui.cmdImproveQual, &QPushButton::clicked, this,
            &NormalVersorgung::cmdImproveQual_Click);
    connect(ui.cmdDiminQual, &QPushButton::clicked, this, &NormalVersorgung::cmdDiminQual_Click);
    connect(ui.cmdImproveTime, &QPushButton::clicked, this,
            &NormalVersorgung::cmdImproveTime_Click);
    connect(ui.cmdDiminTime, &QPushButton::clicked, this, &NormalVersorgung::cmdDiminTime_Click);

    // The first control in focus order; focusing an option does not select it.
    ui.optKonzern->setFocus();
}

void NormalVersorgung::Form_Load() {
    windows::fillEntryList(ui.cmbArt, care::surgeryEntries());
    windows::fillEntryList(ui.cmbKategorie, care::categoryEntries());
    windows::fillEntryList(ui.cmbLegalität, care::legalityEntries());
}

void NormalVersorgung::cmdUebernehmen_Click() {
    handOver(m_state.Fertigkeit);
}

void NormalVersorgung::cmdCancel_Click() {
    close();
}

void NormalVersorgung::cmdSuchDoc_Click() {
    care::NormalSearchInput input;
    using care::Anbieter;
    const std::pair<QRadioButton*, Anbieter> anbieter[] = {
        {ui.optKonzern, Anbieter::Konzern}, {ui.optPrivat, Anbieter::Privat},
        {ui.optIllegal, Anbieter::Illegal}, {ui.optoeffentlich, Anbieter::Oeffentlich},
        {ui.optKlinik, Anbieter::Klinik},   {ui.optKrankenhaus, Anbieter::Krankenhaus}};
    for (const auto& [option, value] : anbieter)
        if (option->isChecked())
            input.anbieter = value;
    if (ui.optSchieber->isChecked())
        input.connection = care::Connection::Schieber;
    if (ui.optStrassendoc->isChecked())
        input.connection = care::Connection::Strassendoc;
    input.art = ui.cmbArt->currentText();
    input.kategorie = ui.cmbKategorie->currentText();
    input.legalitaet = ui.cmbLegalität->currentText();
    input.gebraeuche = ui.txtGebräuche->text();

    const care::NormalSearchResult result = care::runNormalSearch(input, m_state, m_dice);
    if (result.eingabeFehler) {
        m_boxes.inform(this, *result.eingabeFehler);
        return;
    }
    const care::NormalSearchOutcome& out = result.outcome;
    m_state = out.state;

    ui.lstModifMeld->clear();
    ui.lstModifMeld->addItems(out.meldungen);
    ui.lblModif->setText(numbers::intText(out.Modif));
    ui.lblFertMod->setText(numbers::intText(out.FertMod));
    ui.lblMindestwurf->setText(numbers::intText(out.MW));
    ui.lblZeitraum->setText(out.zeitraumText);
    m_mainDice.clearDice();
    for (const QString& die : out.etiketteWuerfel)
        m_mainDice.appendDie(die);
    ui.lblErfolge->setText(numbers::intText(out.Erfolge));

    if (out.ersteAblehnung()) {
        m_boxes.inform(this, care::texts::ersteAblehnung);
        cmdCancel_Click();
        return;
    }
    const care::Arztwurf& wurf = *out.arztwurf;
    showDoctorRoll(doctorRow(), wurf, m_boxes);
    if (out.kurzoderGut)
        KurzoderGut();
}

void NormalVersorgung::KurzoderGut() {
    // Once opened, the trade stays open for the rest of the window's life.
    ui.cmdImproveTime->setEnabled(true);
    ui.cmdImproveQual->setEnabled(true);
    ui.cmdDiminTime->setEnabled(true);
    ui.cmdDiminQual->setEnabled(true);
}

void NormalVersorgung::cmdImproveQual_Click() {
    if (care::cmdImproveQual(m_state))
        zeigeAusruestung();
}

void NormalVersorgung::cmdDiminQual_Click() {
    if (care::cmdDiminQual(m_state))
        zeigeAusruestung();
}

void NormalVersorgung::cmdImproveTime_Click() {
    if (care::cmdImproveTime(m_state))
        zeigeZeitraum();
}

void NormalVersorgung::cmdDiminTime_Click() {
    if (care::cmdDiminTime(m_state))
        zeigeZeitraum();
}

void NormalVersorgung::zeigeAusruestung() {
    ui.lblEquipment->setText(numbers::intText(m_state.Equipment));
    ui.lblErfolge->setText(numbers::intText(m_state.Erfolge));
}

void NormalVersorgung::zeigeZeitraum() {
    ui.lblZeitraum->setText(care::zeitraumText(m_state.Zeitraum));
    ui.lblErfolge->setText(numbers::intText(m_state.Erfolge));
}

SearchWindow::DoctorRow NormalVersorgung::doctorRow() const {
    return {ui.lblPlus, ui.lblWurf1, ui.lblWurf2, ui.lblSumme, ui.lblFertigkeit, ui.lblEquipment};
}
