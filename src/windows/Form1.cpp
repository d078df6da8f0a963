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
#include <QSignalBlocker>

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
    connect(ui->cmdRunde, &QPushButton::clicked, this, &Form1::rundeRequested);
    connect(ui->cmdRueckgaengig, &QPushButton::clicked, this, &Form1::undoRequested);
    connect(ui->chkEigeneWuerfel, &QCheckBox::toggled, this, &Form1::ownDiceChanged);

    onSelected(ui->Krankenhaus, this, &Form1::Krankenhaus_Click);
    onSelected(ui->daheim, this, &Form1::daheim_Click);
    onSelected(ui->schlechteUmst, this, &Form1::schlechteUmst_Click);
    onSelected(ui->furchtbareUmst, this, &Form1::furchtbareUmst_Click);

    // Each ware box, once ticked, unticks its pair's other box and unlocks the pair's field.
    const auto ware = [this](QCheckBox* box, QCheckBox* other, QList<QWidget*> unlocked) {
        connect(box, &QCheckBox::toggled, this, [this, other, unlocked](bool ticked) {
            if (ticked)
                wareTicked(other, unlocked);
        });
    };
    ware(ui->dokBio, ui->undokBio, {ui->BioIndexFrame, ui->BioIndex});
    ware(ui->undokBio, ui->dokBio, {ui->BioIndexFrame, ui->BioIndex});
    ware(ui->dokCyb, ui->undokCyb, {ui->dokCybFrame});
    ware(ui->undokCyb, ui->dokCyb, {ui->dokCybFrame});

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
    const team::Sheet before = capture();
    // Only the running totals start again; the last test's results stay on show, and the
    // record keeps what the totals were.
    emit recorded(record::reset(m_state.Gesamtzeit, m_state.Kosten));
    m_state.Gesamtzeit = 0.0f;
    m_state.Kosten = numbers::Amount{};
    windows::showResult(ui->lblGesamtzeit, QString());
    windows::showResult(ui->lblKosten, QString());
    emit changed();
    emit stepTaken(QStringLiteral("Reset"), before);
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
    using healing::Lifestyle;
    const std::pair<QRadioButton*, Lifestyle> lebensstile[] = {
        {ui->Strasse, Lifestyle::Strasse},           {ui->Squatter, Lifestyle::Squatter},
        {ui->Unterschicht, Lifestyle::Unterschicht}, {ui->Mittelschicht, Lifestyle::Mittelschicht},
        {ui->Oberschicht, Lifestyle::Oberschicht},   {ui->Luxus, Lifestyle::Luxus}};
    for (const auto& [option, stil] : lebensstile)
        if (option->isChecked())
            in.lifestyle = stil;
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
    const team::Sheet sheet = capture();
    TableDice::Asked dice = m_dice.askedBy(this);
    const auto press = healing::heal(input(), m_state, dice);
    if (press.abandoned()) // as if never pressed; this window may be gone
        return;
    if (press.refused()) {
        emit recorded(record::refusal(QStringLiteral("HEILEN!"),
                                      QStringLiteral("Kästchen ") + before, press.refusal()));
        (void)m_boxes.inform(this, press.refusal());
        return;
    }
    emit recorded(entryFor(*press, dice));
    if (!press->notIll) // only asked whether the patient is ill at all: nothing to take back
        emit stepTaken(QStringLiteral("HEILEN!"), sheet);
    showPress(*press);
}

QString Form1::targetText(const healing::Press& press) const {
    const QString target = numbers::intText(press.state.Mindestwurf);
    return press.targetRaised() ? target + QStringLiteral("  (") +
                                      numbers::intText(press.unraisedTarget) + QStringLiteral(")")
                                : target;
}

RecordEntry Form1::entryFor(const healing::Press& press, const dice::Dice& rolled) const {
    QString care;
    for (const QRadioButton* option :
         {ui->daheim, ui->Krankenhaus, ui->schlechteUmst, ui->furchtbareUmst})
        if (option->isChecked())
            care = option->text();
    return record::press(press, care, m_state.Kosten, rolled);
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
    windows::showResult(ui->niveaulabel, QStringLiteral("Schadensniveau ist ") + s.Schadensniveau);
    windows::showResult(ui->Stillabel,
                        QStringLiteral("Benötigter Lebensstil ") + s.Mindestlebensstil);
    ui->Meldungen->addItems(press.Meldungen);
    applyChanges(press.changes);
    ui->Modifk->setText(targetText(press));
    ZeigeGrundzeitraum();
    showDice(press.roll.dice);
    windows::showResult(ui->lblErfolge, numbers::intText(press.roll.successes));
    windows::showResult(ui->lblHeilungsdauer, numbers::timeLine(s.Heilungsdauer));
    if (press.hospital) // checkarztkosten shows the running cost; at home the label keeps its text
        windows::showResult(ui->lblKosten, s.Kosten.text() + QStringLiteral(" Nuyen"));
    ui->Schaden->setText(numbers::intText(s.Schadenskaestchen));
    windows::showResult(ui->lblGesamtzeit, numbers::timeLine(s.Gesamtzeit));
    emit changed(); // before the message: the window may be gone once it is closed
    if (press.healed())
        (void)m_boxes.inform(this, healing::texts::healed);
}

void Form1::ZeigeGrundzeitraum() {
    windows::showResult(ui->lblGrundzeitraum, numbers::timeLine(m_state.Grundzeitraum));
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

void Form1::wareTicked(QCheckBox* other, const QList<QWidget*>& unlocked) {
    other->setChecked(false);
    for (QWidget* w : unlocked)
        w->setEnabled(true);
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

namespace {

// The controls that belong to the program, not to a patient.
bool programOwn(const QWidget* control) {
    static const QStringList names{"chkEigeneWuerfel", "cmdPrognose", "cmdVerlauf", "cmdRunde",
                                   "cmdRueckgaengig",  "lblPatient",  "Label1"};
    return control->objectName().isEmpty() || control->objectName().startsWith("qt_") ||
           names.contains(control->objectName());
}

} // namespace

team::Sheet Form1::capture() const {
    team::Sheet sheet;
    for (QWidget* w : findChildren<QWidget*>()) {
        if (programOwn(w))
            continue;
        const QString name = w->objectName();
        if (auto* field = qobject_cast<QLineEdit*>(w))
            sheet.texts.insert(name, field->text());
        else if (auto* label = qobject_cast<QLabel*>(w))
            sheet.texts.insert(name, label->text());
        else if (auto* list = qobject_cast<QListWidget*>(w)) {
            QStringList& lines = sheet.lists[name];
            for (int i = 0; i < list->count(); ++i)
                lines << list->item(i)->text();
        }
        if (auto* box = qobject_cast<QAbstractButton*>(w); box && box->isCheckable())
            sheet.checked.insert(name, box->isChecked());
        if (!qobject_cast<QLabel*>(w) && !qobject_cast<QListWidget*>(w))
            sheet.enabled.insert(name, w->isEnabledTo(w->parentWidget()));
    }
    sheet.state = m_state;
    return sheet;
}

void Form1::restore(const team::Sheet& sheet) {
    std::vector<std::unique_ptr<QSignalBlocker>> quiet;
    for (QWidget* w : findChildren<QWidget*>()) {
        if (programOwn(w))
            continue;
        quiet.push_back(std::make_unique<QSignalBlocker>(w));
        const QString name = w->objectName();
        if (auto* field = qobject_cast<QLineEdit*>(w); field && sheet.texts.contains(name))
            field->setText(sheet.texts[name]);
        else if (auto* label = qobject_cast<QLabel*>(w); label && sheet.texts.contains(name)) {
            // Only result labels differ between sheets; they keep telling a screen reader.
            if (label->text() != sheet.texts[name])
                windows::showResult(label, sheet.texts[name]);
        } else if (auto* list = qobject_cast<QListWidget*>(w); list && sheet.lists.contains(name)) {
            list->clear();
            list->addItems(sheet.lists[name]);
        }
        if (auto* box = qobject_cast<QAbstractButton*>(w); box && sheet.checked.contains(name)) {
            // An option of a group is unchecked only with the group's exclusion switched off.
            const bool exclusive = box->autoExclusive();
            box->setAutoExclusive(false);
            box->setChecked(sheet.checked[name]);
            box->setAutoExclusive(exclusive);
        }
        if (sheet.enabled.contains(name))
            w->setEnabled(sheet.enabled[name]);
    }
    m_state = sheet.state;
    quiet.clear();
    emit changed();
}

void Form1::showPatient(const QString& name) {
    // A long name is cut by the label but stays whole in its tooltip; a screen reader hears
    // "Patient" and then the name.
    windows::showResult(ui->lblPatient,
                        name.isEmpty() ? QString() : QStringLiteral("Patient: ") + name);
    ui->lblPatient->setAccessibleDescription(name);
}

void Form1::setUndoAvailable(bool available) {
    ui->cmdRueckgaengig->setEnabled(available);
}
