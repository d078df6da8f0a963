#include "NormalVersorgung.h"

#include "MessageBoxes.h"
#include "ProgramLook.h"
#include "TableDice.h"
#include "care/CareTexts.h"
#include "numbers/Text.h"
#include "ui_NormalVersorgung.h"

namespace {

// Drop-down lists that accept only their entries start with none chosen: an empty text.
void fillEntryList(QComboBox* list, const QStringList& entries) {
    list->clear();
    list->addItems(entries);
    list->setCurrentIndex(-1);
}

QString periodText(float days) {
    return numbers::singleText(days) + QStringLiteral(" Tage");
}

} // namespace

NormalVersorgung::NormalVersorgung(care::NormalVersorgungState& state, TableDice& dice,
                                   MessageBoxes& boxes, QWidget* parent)
    : SearchWindow(boxes, parent), ui(std::make_unique<Ui::NormalVersorgung>()), m_state(state),
      m_dice(dice) {
    ui->setupUi(this);
    ui->lstModifMeld->setAccessibleName(QStringLiteral("Modifikatoren"));
    setUpShell({ui->cmdUebernehmen, ui->cmdCancel, ui->lblPlus, ui->lblWurf1, ui->lblWurf2,
                ui->lblSumme, ui->lblFertigkeit, ui->lblEquipment});

    connect(ui->cmdSuchDoc, &QPushButton::clicked, this, &NormalVersorgung::cmdSuchDoc_Click);
    // The four buttons say only "+" and "-"; a screen reader says what they trade.
    const std::tuple<QPushButton*, TradeStep, QLabel*, QString> trades[] = {
        {ui->cmdImproveQual, care::improveQual, ui->lblEquipment,
         QStringLiteral("Ausrüstungsstufe erhöhen, kostet einen Erfolg")},
        {ui->cmdDiminQual, care::diminQual, ui->lblEquipment,
         QStringLiteral("Ausrüstungsstufe senken, bringt einen Erfolg")},
        {ui->cmdImproveTime, care::improveTime, ui->lblZeitraum,
         QStringLiteral("Zeitraum halbieren, kostet einen Erfolg")},
        {ui->cmdDiminTime, care::diminTime, ui->lblZeitraum,
         QStringLiteral("Zeitraum verdoppeln, bringt einen Erfolg")}};
    for (const auto& [button, step, traded, name] : trades) {
        button->setAccessibleName(name);
        connect(button, &QPushButton::clicked, this,
                [this, step, traded, name] { trade(step, traded, name); });
    }

    // The first control in focus order; focusing an option does not select it.
    ui->optKonzern->setFocus();
}

NormalVersorgung::~NormalVersorgung() = default;

void NormalVersorgung::Form_Load() {
    fillEntryList(ui->cmbArt, care::entryTexts(care::surgeryRules()));
    fillEntryList(ui->cmbKategorie, care::entryTexts(care::categoryRules()));
    fillEntryList(ui->cmbLegalität, care::entryTexts(care::legalityRules()));
}

care::NormalSearchInput NormalVersorgung::input() const {
    care::NormalSearchInput in;
    using care::Provider;
    const std::pair<QRadioButton*, Provider> providers[] = {
        {ui->optKonzern, Provider::Konzern}, {ui->optPrivat, Provider::Privat},
        {ui->optIllegal, Provider::Illegal}, {ui->optoeffentlich, Provider::Oeffentlich},
        {ui->optKlinik, Provider::Klinik},   {ui->optKrankenhaus, Provider::Krankenhaus}};
    for (const auto& [option, value] : providers)
        if (option->isChecked())
            in.provider = value;
    if (ui->optSchieber->isChecked())
        in.connection = care::Connection::Schieber;
    if (ui->optStrassendoc->isChecked())
        in.connection = care::Connection::Strassendoc;
    in.art = ui->cmbArt->currentText();
    in.kategorie = ui->cmbKategorie->currentText();
    in.legalitaet = ui->cmbLegalität->currentText();
    in.gebraeuche = ui->txtGebräuche->text();
    return in;
}

void NormalVersorgung::cmdSuchDoc_Click() {
    TableDice::Asked asked = m_dice.askedBy(this);
    const auto search = care::normalSearch(input(), m_state, asked);
    if (search.abandoned()) // as if never pressed; this window may be gone
        return;
    if (search.refused()) {
        emit recorded(record::refusal(
            QStringLiteral("Normale Suche"),
            QStringLiteral("Gebräuchefertigkeit ") + ui->txtGebräuche->text(), search.refusal()));
        (void)m_boxes.inform(this, search.refusal());
        return;
    }
    emit recorded(record::normalSearch(*search, asked));
    m_state = search->state;
    ui->lstModifMeld->clear();
    ui->lstModifMeld->addItems(search->meldungen);
    windows::showResult(ui->lblModif, numbers::intText(m_state.Modif));
    windows::showResult(ui->lblFertMod, numbers::intText(m_state.FertMod));
    windows::showResult(ui->lblMindestwurf, numbers::intText(search->MW));
    windows::showResult(ui->lblZeitraum, periodText(m_state.Zeitraum));
    emit showDice(search->etiquette.dice);
    windows::showResult(ui->lblErfolge, numbers::intText(m_state.Erfolge));

    if (search->firstRefusal()) {
        if (m_boxes.inform(this, care::texts::firstRefusal))
            close(); // as "Cancel" does
        return;
    }
    if (!showDoctorRoll(*search->doctor))
        return; // the window went away during the refusal
    if (search->tradeOpens())
        KurzoderGut();
    emit changed();
}

void NormalVersorgung::KurzoderGut() {
    // Once opened, the trade stays open for the rest of the window's life.
    ui->cmdImproveTime->setEnabled(true);
    ui->cmdImproveQual->setEnabled(true);
    ui->cmdDiminTime->setEnabled(true);
    ui->cmdDiminQual->setEnabled(true);
}

// A step at its limit changes nothing; otherwise the traded value shows first (equipment or
// period), the successes second.
void NormalVersorgung::trade(TradeStep step, QLabel* traded, const QString& what) {
    const auto result = step(m_state);
    if (result.atLimit())
        return;
    m_state = *result;
    emit recorded(record::trade(what, m_state));
    emit changed();
    windows::showResult(traded, traded == ui->lblEquipment ? numbers::intText(m_state.Equipment)
                                                           : periodText(m_state.Zeitraum));
    windows::showResult(ui->lblErfolge, numbers::intText(m_state.Erfolge));
}
