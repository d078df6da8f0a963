#include "Form1.h"

#include "MessageBoxes.h"
#include "ProgramLook.h"
#include "StraightLines.h"
#include "TableDice.h"
#include "healing/HealingTables.h"
#include "healing/HealingTexts.h"
#include "numbers/Text.h"
#include "ui_Form1.h"

#include <QKeyEvent>
#include <QLine>

namespace {

// Radio buttons report both the old and the new selection; a click handler acts on the new one.
template <class Handler> void onSelected(QRadioButton* option, Form1* window, Handler handler) {
    QObject::connect(option, &QRadioButton::toggled, window, [window, handler](bool selected) {
        if (selected)
            (window->*handler)();
    });
}

} // namespace

Form1::Form1(healing::Form1State& state, TableDice& dice, MessageBoxes& boxes, QWidget* parent)
    : QWidget(parent), ui(std::make_unique<Ui::Form1>()), m_state(state), m_dice(dice),
      m_boxes(boxes) {
    // The font comes before the controls: set afterwards, it would make every control lay
    // out its text a second time at start.
    setFont(windows::programFont());
    ui->setupUi(this);
    // A focused button answers Enter itself; everywhere else Enter reaches keyPressEvent.
    for (QPushButton* button : {ui->cmdHeilen, ui->cmdReset, ui->cmdSuchDoc, ui->cmdSanivexInfo})
        button->setAutoDefault(true);
    windows::finishWindow(this);
    // Captions that stand beside the control rather than around it.
    ui->Meldungen->setAccessibleName(QStringLiteral("Modifikatoren"));
    ui->Modifk->setAccessibleName(ui->Label1->text());

    // Only the frame's title is red; the duration inside keeps the window's text colour. A
    // style sheet would do it in one line but stops the program font reaching the label.
    QPalette title = ui->Frame1->palette();
    title.setColor(QPalette::WindowText, QColor(255, 0, 0));
    ui->Frame1->setPalette(title);
    QPalette inside = ui->lblHeilungsdauer->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        inside.setColor(group, QPalette::WindowText, palette().color(group, QPalette::WindowText));
    ui->lblHeilungsdauer->setPalette(inside);

    // The connectors from base period and successes to the healing duration, and on to the
    // total time and the hospital cost.
    new windows::StraightLines(this,
                               {QLine(5280, 6600, 5880, 6600), QLine(5880, 7560, 5280, 7560),
                                QLine(5880, 6600, 5880, 7560), QLine(5880, 7080, 6120, 7080),
                                QLine(8040, 7080, 7680, 7080), QLine(8880, 7440, 8880, 8040)});

    connect(ui->cmdHeilen, &QPushButton::clicked, this, &Form1::cmdHeilen_Click);
    connect(ui->cmdReset, &QPushButton::clicked, this, &Form1::cmdReset_Click);
    connect(ui->cmdSuchDoc, &QPushButton::clicked, this, &Form1::suchDocRequested);
    connect(ui->cmdSanivexInfo, &QPushButton::clicked, this, &Form1::sanivexInfoRequested);
    connect(ui->cmdPrognose, &QPushButton::clicked, this, &Form1::prognoseRequested);
    connect(ui->cmdVerlauf, &QPushButton::clicked, this, &Form1::verlaufRequested);
    connect(ui->chkEigeneWuerfel, &QCheckBox::toggled, this, &Form1::ownDiceChanged);

    using healing::Lifestyle;
    const std::pair<QRadioButton*, Lifestyle> lebensstile[] = {
        {ui->Strasse, Lifestyle::Strasse},           {ui->Squatter, Lifestyle::Squatter},
        {ui->Unterschicht, Lifestyle::Unterschicht}, {ui->Mittelschicht, Lifestyle::Mittelschicht},
        {ui->Oberschicht, Lifestyle::Oberschicht},   {ui->Luxus, Lifestyle::Luxus}};
    for (const auto& [option, stil] : lebensstile) {
        connect(option, &QRadioButton::toggled, this, [this, stil](bool selected) {
            if (selected)
                m_state.Lebensstilstufe = healing::lifestyleLevel(stil);
        });
    }

    onSelected(ui->Krankenhaus, this, &Form1::Krankenhaus_Click);
    onSelected(ui->daheim, this, &Form1::daheim_Click);
    onSelected(ui->schlechteUmst, this, &Form1::schlechteUmst_Click);
    onSelected(ui->furchtbareUmst, this, &Form1::furchtbareUmst_Click);

    connect(ui->dokBio, &QCheckBox::toggled, this, &Form1::dokBio_Click);
    connect(ui->undokBio, &QCheckBox::toggled, this, &Form1::undokBio_Click);
    connect(ui->dokCyb, &QCheckBox::toggled, this, &Form1::dokCyb_Click);
    connect(ui->undokCyb, &QCheckBox::toggled, this, &Form1::undokCyb_Click);

    connect(ui->txtKonstitution, &QLineEdit::textChanged, this, &Form1::txtKonstitution_Change);
    connect(ui->Willenskraft, &QLineEdit::textChanged, this, &Form1::Willenskraft_Change);
    windows::onEveryInput(this, [this] { emit changed(); });
}

Form1::~Form1() = default;

void Form1::Form_Load() {
    // Schaden is first in the focus order, so the window opens with its "0" selected and the
    // first key typed replaces it.
    ui->Schaden->setSelection(0, 1);
}

void Form1::cmdReset_Click() {
    // Only the running totals start again; the last test's results stay on show.
    m_state.Gesamtzeit = 0.0f;
    m_state.Kosten = numbers::Amount{};
    ui->lblGesamtzeit->setText(QString());
    ui->lblKosten->setText(QString());
    emit changed();
}

void Form1::handOver(numbers::Int16 Fertigkeit) {
    ui->txtBioTech->setText(numbers::intText(Fertigkeit));
}

void Form1::showDice(const QList<numbers::Int16>& dice) {
    ui->lstErgebnis->clear();
    for (numbers::Int16 die : dice)
        ui->lstErgebnis->addItem(numbers::intText(die));
}

void Form1::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        ui->cmdHeilen->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

healing::HealingInput Form1::input() const {
    healing::HealingInput in;
    in.Schaden = ui->Schaden->text();
    in.txtKonstitution = ui->txtKonstitution->text();
    in.Willenskraft = ui->Willenskraft->text();
    in.BioIndex = ui->BioIndex->text();
    in.EssenzDok = ui->EssenzDok->text();
    in.txtBioTech = ui->txtBioTech->text();
    using healing::CareCondition;
    in.care = ui->Krankenhaus->isChecked()      ? CareCondition::Krankenhaus
              : ui->schlechteUmst->isChecked()  ? CareCondition::schlechteUmst
              : ui->furchtbareUmst->isChecked() ? CareCondition::furchtbareUmst
                                                : CareCondition::daheim;
    in.dokBio = ui->dokBio->isChecked();
    in.undokBio = ui->undokBio->isChecked();
    in.dokCyb = ui->dokCyb->isChecked();
    in.undokCyb = ui->undokCyb->isChecked();
    in.magischeBetreuung = ui->magischeBetreuung->isChecked();
    in.Erwachter = ui->Erwachter->isChecked();
    in.Kommunikation = ui->Kommunikation->isChecked();
    return in;
}

void Form1::cmdHeilen_Click() {
    const QString before = ui->Schaden->text();
    TableDice::Asked dice = m_dice.askedBy(this);
    const auto press = healing::heal(input(), m_state, dice);
    if (press.abandoned()) // as if never pressed; this window may be gone
        return;
    if (press.refused()) {
        emit recorded({QTime::currentTime(),
                       QStringLiteral("HEILEN!"),
                       QStringLiteral("Kästchen ") + before,
                       {},
                       false,
                       press.refusal()});
        (void)m_boxes.inform(this, press.refusal());
        return;
    }
    emit recorded(entryFor(*press, before, dice.text(press->roll.dice)));
    showPress(*press);
}

QString Form1::targetText(const healing::Press& press) const {
    const QString target = numbers::intText(press.state.Mindestwurf);
    return press.targetRaised() ? target + QStringLiteral("  (") +
                                      numbers::intText(press.unraisedTarget) + QStringLiteral(")")
                                : target;
}

RecordEntry Form1::entryFor(const healing::Press& press, const QString& before,
                            const QString& dice) const {
    const healing::Form1State& s = press.state;
    RecordEntry entry{QTime::currentTime(),
                      QStringLiteral("HEILEN!"),
                      QStringLiteral("Kästchen ") + before,
                      {},
                      false,
                      healing::texts::notIll};
    if (press.notIll)
        return entry;
    QString care = QStringLiteral("Krankenhaus");
    for (const QRadioButton* option : {ui->daheim, ui->schlechteUmst, ui->furchtbareUmst})
        if (option->isChecked() && !press.hospital)
            care = option->text();
    entry.inputs = QStringLiteral("Kästchen %1 → %2, %3, Mindestwurf %4")
                       .arg(before, numbers::intText(s.Schadenskaestchen), care, targetText(press));
    entry.dice = dice;
    entry.outcome = QStringLiteral("%1 Erfolge, Heilungsdauer %2, Gesamtzeit %3")
                        .arg(numbers::intText(press.roll.successes),
                             numbers::timeLine(s.Heilungsdauer), numbers::timeLine(s.Gesamtzeit));
    if (press.hospital)
        entry.outcome += QStringLiteral(", Krankenhauskosten %1 Nuyen").arg(s.Kosten.text());
    if (press.healed())
        entry.outcome += QStringLiteral(", geheilt");
    return entry;
}

// The outputs in the order the user sees them change; every caption is made here.
void Form1::showPress(const healing::Press& press) {
    const healing::Form1State& s = press.state;
    m_state = s;
    ui->Meldungen->clear();
    if (press.notIll) {
        emit changed();
        if (m_boxes.inform(this, healing::texts::notIll))
            ui->Schaden->setFocus();
        return;
    }
    ui->niveaulabel->setText(QStringLiteral("Schadensniveau ist ") + s.Schadensniveau);
    ui->Stillabel->setText(QStringLiteral("Benötigter Lebensstil ") + s.Mindestlebensstil);
    ui->Meldungen->addItems(press.Meldungen);
    applyChanges(press.changes);
    ui->Modifk->setText(targetText(press));
    ZeigeGrundzeitraum();
    showDice(press.roll.dice);
    ui->lblErfolge->setText(numbers::intText(press.roll.successes));
    ui->lblHeilungsdauer->setText(numbers::timeLine(s.Heilungsdauer));
    if (press.hospital) // checkarztkosten shows the running cost; at home the label keeps its text
        ui->lblKosten->setText(s.Kosten.text() + QStringLiteral(" Nuyen"));
    ui->Schaden->setText(numbers::intText(s.Schadenskaestchen));
    ui->lblGesamtzeit->setText(numbers::timeLine(s.Gesamtzeit));
    emit changed(); // before the message: the window may be gone once it is closed
    if (press.healed())
        (void)m_boxes.inform(this, healing::texts::healed);
}

void Form1::ZeigeGrundzeitraum() {
    ui->lblGrundzeitraum->setText(numbers::timeLine(m_state.Grundzeitraum));
}

void Form1::applyChanges(const healing::ControlChanges& changes) {
    if (changes.selectKrankenhaus) {
        ui->Krankenhaus->setChecked(true); // runs Krankenhaus_Click when the selection changes
        aktiviereKrankenhaus();
    }
    if (changes.enableBioIndex) {
        ui->BioIndexFrame->setEnabled(true);
        ui->BioIndex->setEnabled(true);
    }
    if (changes.uncheckDokBio)
        ui->dokBio->setChecked(false);
    if (changes.uncheckUndokBio)
        ui->undokBio->setChecked(false);
    if (changes.uncheckDokCyb)
        ui->dokCyb->setChecked(false);
    if (changes.uncheckUndokCyb)
        ui->undokCyb->setChecked(false);
    if (changes.enableDokCybFrame)
        ui->dokCybFrame->setEnabled(true);
    if (changes.clearEssenzDok)
        ui->EssenzDok->setText(QString());
}

void Form1::Krankenhaus_Click() {
    aktiviereKrankenhaus();
}

void Form1::daheim_Click() {
    deaktiviereKrankenhaus();
    // Documented bioware counts at home too, so its bio-index stays usable.
    if (!ui->dokBio->isChecked()) {
        ui->BioIndexFrame->setEnabled(false);
        ui->BioIndex->setEnabled(false);
    }
}

void Form1::schlechteUmst_Click() {
    deaktiviereKrankenhaus();
}

void Form1::furchtbareUmst_Click() {
    deaktiviereKrankenhaus();
}

void Form1::aktiviereKrankenhaus() {
    ui->magischeBetreuung->setEnabled(true);
    ui->Erwachter->setEnabled(true);
    ui->undokBio->setEnabled(true);
    ui->undokCyb->setEnabled(true);
    ui->dokCyb->setEnabled(true);
    ui->Kommunikation->setEnabled(true);
    ui->WillenFrame->setEnabled(true);
    ui->LebensstilFrame->setEnabled(false); // the lifestyle no longer matters in hospital
    ui->frmBioTech->setEnabled(true);
}

void Form1::deaktiviereKrankenhaus() {
    // The magical care and the awakened patient keep their marks for the next hospital stay.
    ui->magischeBetreuung->setEnabled(false);
    ui->Erwachter->setEnabled(false);
    ui->undokBio->setEnabled(false);
    ui->undokBio->setChecked(false);
    ui->undokCyb->setEnabled(false);
    ui->undokCyb->setChecked(false);
    ui->dokCyb->setEnabled(false);
    ui->dokCyb->setChecked(false);
    ui->Kommunikation->setEnabled(false);
    ui->Kommunikation->setChecked(false);
    ui->WillenFrame->setEnabled(false);
    ui->Willenskraft->setText(QStringLiteral("3"));
    ui->LebensstilFrame->setEnabled(true);
    ui->dokCybFrame->setEnabled(false);
    ui->frmBioTech->setEnabled(false);
    ui->txtBioTech->setText(QStringLiteral("8"));
}

void Form1::dokBio_Click() {
    if (!ui->dokBio->isChecked())
        return;
    ui->BioIndexFrame->setEnabled(true);
    ui->BioIndex->setEnabled(true);
    ui->undokBio->setChecked(false);
}

void Form1::undokBio_Click() {
    if (!ui->undokBio->isChecked())
        return;
    ui->BioIndexFrame->setEnabled(true);
    ui->BioIndex->setEnabled(true);
    ui->dokBio->setChecked(false);
}

void Form1::dokCyb_Click() {
    if (!ui->dokCyb->isChecked())
        return;
    ui->undokCyb->setChecked(false);
    ui->dokCybFrame->setEnabled(true);
}

void Form1::undokCyb_Click() {
    if (!ui->undokCyb->isChecked())
        return;
    ui->dokCyb->setChecked(false);
    ui->dokCybFrame->setEnabled(true);
}

namespace {

// An implausible attribute is refused and replaced by "1", selected so the next key replaces it.
void checkAttribute(QLineEdit* field, std::optional<QString> message, MessageBoxes& boxes,
                    QWidget* window) {
    if (message && boxes.inform(window, *message)) {
        field->setText(QStringLiteral("1")); // runs this handler again, which finds 1 and stops
        field->setSelection(0, 1);
    }
}

} // namespace

void Form1::txtKonstitution_Change() {
    checkAttribute(ui->txtKonstitution,
                   healing::constitutionAboveLimit(ui->txtKonstitution->text()), m_boxes, this);
}

void Form1::Willenskraft_Change() {
    checkAttribute(ui->Willenskraft, healing::willpowerAboveLimit(ui->Willenskraft->text()),
                   m_boxes, this);
}
