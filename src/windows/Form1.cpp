#include "Form1.h"

#include "AccessibleNames.h"
#include "MessageBoxes.h"
#include "ProgramLook.h"
#include "StraightLines.h"
#include "healing/Eingaben.h"
#include "healing/Heilen.h"
#include "numbers/Text.h"

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

Form1::Form1(healing::Form1State& state, dice::Wuerfelomat& dice, MessageBoxes& boxes,
             QWidget* parent)
    : QWidget(parent), m_state(state), m_dice(dice), m_boxes(boxes) {
    // The font comes before the controls: set afterwards, it would make every control lay
    // out its text a second time at start.
    setFont(windows::programFont());
    ui.setupUi(this);
    windows::nameAfterFrames(this);
    // Captions that stand beside the control rather than around it.
    ui.Meldungen->setAccessibleName(QStringLiteral("Modifikatoren"));
    ui.Modifk->setAccessibleName(ui.Label1->text());

    // Only the frame's title is red; the duration inside keeps the window's text colour. A
    // style sheet would do it in one line but stops the program font reaching the label.
    QPalette title = ui.Frame1->palette();
    title.setColor(QPalette::WindowText, QColor(255, 0, 0));
    ui.Frame1->setPalette(title);
    QPalette inside = ui.lblHeilungsdauer->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        inside.setColor(group, QPalette::WindowText, palette().color(group, QPalette::WindowText));
    ui.lblHeilungsdauer->setPalette(inside);

    // The connectors from base period and successes to the healing duration, and on to the
    // total time and the hospital cost.
    new windows::StraightLines(this,
                               {QLine(5280, 6600, 5880, 6600), QLine(5880, 7560, 5280, 7560),
                                QLine(5880, 6600, 5880, 7560), QLine(5880, 7080, 6120, 7080),
                                QLine(8040, 7080, 7680, 7080), QLine(8880, 7440, 8880, 8040)});

    connect(ui.cmdHeilen, &QPushButton::clicked, this, &Form1::cmdHeilen_Click);
    connect(ui.cmdReset, &QPushButton::clicked, this, &Form1::cmdReset_Click);
    connect(ui.cmdSuchDoc, &QPushButton::clicked, this, &Form1::suchDocRequested);
    connect(ui.cmdSanivexInfo, &QPushButton::clicked, this, &Form1::sanivexInfoRequested);
    // A focused button answers Enter itself; everywhere else Enter reaches keyPressEvent.
    for (QPushButton* button : {ui.cmdHeilen, ui.cmdReset, ui.cmdSuchDoc, ui.cmdSanivexInfo})
        button->setAutoDefault(true);

    using healing::Lebensstil;
    const std::pair<QRadioButton*, Lebensstil> lebensstile[] = {
        {ui.Strasse, Lebensstil::Strasse},           {ui.Squatter, Lebensstil::Squatter},
        {ui.Unterschicht, Lebensstil::Unterschicht}, {ui.Mittelschicht, Lebensstil::Mittelschicht},
        {ui.Oberschicht, Lebensstil::Oberschicht},   {ui.Luxus, Lebensstil::Luxus}};
    for (const auto& [option, stil] : lebensstile) {
        connect(option, &QRadioButton::toggled, this, [this, stil](bool selected) {
            if (selected)
                m_state.Lebensstilstufe = healing::Lebensstilstufe(stil);
        });
    }

    onSelected(ui.Krankenhaus, this, &Form1::Krankenhaus_Click);
    onSelected(ui.daheim, this, &Form1::daheim_Click);
    onSelected(ui.schlechteUmst, this, &Form1::schlechteUmst_Click);
    onSelected(ui.furchtbareUmst, this, &Form1::furchtbareUmst_Click);

    connect(ui.dokBio, &QCheckBox::toggled, this, &Form1::dokBio_Click);
    connect(ui.undokBio, &QCheckBox::toggled, this, &Form1::undokBio_Click);
    connect(ui.dokCyb, &QCheckBox::toggled, this, &Form1::dokCyb_Click);
    connect(ui.undokCyb, &QCheckBox::toggled, this, &Form1::undokCyb_Click);

    connect(ui.txtKonstitution, &QLineEdit::textChanged, this, &Form1::txtKonstitution_Change);
    connect(ui.Willenskraft, &QLineEdit::textChanged, this, &Form1::Willenskraft_Change);
}

void Form1::Form_Load() {
    // Schaden is first in the focus order, so the window opens with its "0" selected and the
    // first key typed replaces it.
    ui.Schaden->setSelection(0, 1);
}

void Form1::cmdReset_Click() {
    // Only the running totals start again; the last test's results stay on show.
    m_state.Gesamtzeit = 0.0f;
    m_state.Kosten = numbers::Amount{};
    ui.lblGesamtzeit->setText(QString());
    ui.lblKosten->setText(QString());
}

void Form1::clearDice() {
    ui.lstErgebnis->clear();
}

void Form1::appendDie(const QString& line) {
    ui.lstErgebnis->addItem(line);
}

void Form1::uebernehmeFertigkeit(numbers::Int16 fertigkeit) {
    ui.txtBioTech->setText(numbers::intText(fertigkeit));
}

void Form1::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        ui.cmdHeilen->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void Form1::cmdHeilen_Click() {
    healing::HeilenEingabe eingabe;
    eingabe.Schaden = ui.Schaden->text();
    eingabe.txtKonstitution = ui.txtKonstitution->text();
    eingabe.Willenskraft = ui.Willenskraft->text();
    eingabe.BioIndex = ui.BioIndex->text();
    eingabe.EssenzDok = ui.EssenzDok->text();
    eingabe.txtBioTech = ui.txtBioTech->text();
    eingabe.pflege = ui.Krankenhaus->isChecked()      ? healing::Pflege::Krankenhaus
                     : ui.schlechteUmst->isChecked()  ? healing::Pflege::schlechteUmst
                     : ui.furchtbareUmst->isChecked() ? healing::Pflege::furchtbareUmst
                                                      : healing::Pflege::daheim;
    eingabe.dokBio = ui.dokBio->isChecked();
    eingabe.undokBio = ui.undokBio->isChecked();
    eingabe.dokCyb = ui.dokCyb->isChecked();
    eingabe.undokCyb = ui.undokCyb->isChecked();
    eingabe.magischeBetreuung = ui.magischeBetreuung->isChecked();
    eingabe.Erwachter = ui.Erwachter->isChecked();
    eingabe.Kommunikation = ui.Kommunikation->isChecked();

    zeigeErgebnis(healing::heile(eingabe, m_state, m_dice));
}

void Form1::zeigeErgebnis(const healing::HeilenErgebnis& ergebnis) {
    using Art = healing::HeilenErgebnis::Art;
    if (ergebnis.art == Art::Verweigert) {
        m_boxes.inform(this, ergebnis.meldung);
        return;
    }
    m_state = ergebnis.zustand;
    ui.Meldungen->clear();
    if (ergebnis.art == Art::NichtKrank) {
        m_boxes.inform(this, ergebnis.meldung);
        ui.Schaden->setFocus();
        return;
    }
    ui.niveaulabel->setText(ergebnis.niveaulabel);
    ui.Stillabel->setText(ergebnis.Stillabel);
    ui.Meldungen->addItems(ergebnis.Meldungen);
    wendeAn(ergebnis.steuerung);
    ui.Modifk->setText(ergebnis.Modifk);
    ui.lblGrundzeitraum->setText(ergebnis.lblGrundzeitraum);
    clearDice();
    for (const QString& die : ergebnis.lstErgebnis)
        appendDie(die);
    ui.lblErfolge->setText(ergebnis.lblErfolge);
    ui.lblHeilungsdauer->setText(ergebnis.lblHeilungsdauer);
    if (ergebnis.lblKosten)
        ui.lblKosten->setText(*ergebnis.lblKosten);
    ui.Schaden->setText(ergebnis.Schaden);
    ui.lblGesamtzeit->setText(ergebnis.lblGesamtzeit);
    if (!ergebnis.meldung.isEmpty())
        m_boxes.inform(this, ergebnis.meldung);
}

void Form1::wendeAn(const healing::Steueraenderungen& aenderungen) {
    if (aenderungen.selectKrankenhaus) {
        ui.Krankenhaus->setChecked(true); // runs Krankenhaus_Click when the selection changes
        aktiviereKrankenhaus();
    }
    if (aenderungen.enableBioIndex) {
        ui.BioIndexFrame->setEnabled(true);
        ui.BioIndex->setEnabled(true);
    }
    if (aenderungen.uncheckDokBio)
        ui.dokBio->setChecked(false);
    if (aenderungen.uncheckUndokBio)
        ui.undokBio->setChecked(false);
    if (aenderungen.uncheckDokCyb)
        ui.dokCyb->setChecked(false);
    if (aenderungen.uncheckUndokCyb)
        ui.undokCyb->setChecked(false);
    if (aenderungen.enableDokCybFrame)
        ui.dokCybFrame->setEnabled(true);
    if (aenderungen.clearEssenzDok)
        ui.EssenzDok->setText(QString());
}

void Form1::Krankenhaus_Click() {
    aktiviereKrankenhaus();
}

void Form1::daheim_Click() {
    deaktiviereKrankenhaus();
    // Documented bioware counts at home too, so its bio-index stays usable.
    if (!ui.dokBio->isChecked()) {
        ui.BioIndexFrame->setEnabled(false);
        ui.BioIndex->setEnabled(false);
    }
}

void Form1::schlechteUmst_Click() {
    deaktiviereKrankenhaus();
}

void Form1::furchtbareUmst_Click() {
    deaktiviereKrankenhaus();
}

void Form1::aktiviereKrankenhaus() {
    ui.magischeBetreuung->setEnabled(true);
    ui.Erwachter->setEnabled(true);
    ui.undokBio->setEnabled(true);
    ui.undokCyb->setEnabled(true);
    ui.dokCyb->setEnabled(true);
    ui.Kommunikation->setEnabled(true);
    ui.WillenFrame->setEnabled(true);
    ui.LebensstilFrame->setEnabled(false); // the lifestyle no longer matters in hospital
    ui.frmBioTech->setEnabled(true);
}

void Form1::deaktiviereKrankenhaus() {
    // The magical care and the awakened patient keep their marks for the next hospital stay.
    ui.magischeBetreuung->setEnabled(false);
    ui.Erwachter->setEnabled(false);
    ui.undokBio->setEnabled(false);
    ui.undokBio->setChecked(false);
    ui.undokCyb->setEnabled(false);
    ui.undokCyb->setChecked(false);
    ui.dokCyb->setEnabled(false);
    ui.dokCyb->setChecked(false);
    ui.Kommunikation->setEnabled(false);
    ui.Kommunikation->setChecked(false);
    ui.WillenFrame->setEnabled(false);
    ui.Willenskraft->setText(QStringLiteral("3"));
    ui.LebensstilFrame->setEnabled(true);
    ui.dokCybFrame->setEnabled(false);
    ui.frmBioTech->setEnabled(false);
    ui.txtBioTech->setText(QStringLiteral("8"));
}

void Form1::dokBio_Click() {
    if (!ui.dokBio->isChecked())
        return;
    ui.BioIndexFrame->setEnabled(true);
    ui.BioIndex->setEnabled(true);
    ui.undokBio->setChecked(false);
}

void Form1::undokBio_Click() {
    if (!ui.undokBio->isChecked())
        return;
    ui.BioIndexFrame->setEnabled(true);
    ui.BioIndex->setEnabled(true);
    ui.dokBio->setChecked(false);
}

void Form1::dokCyb_Click() {
    if (!ui.dokCyb->isChecked())
        return;
    ui.undokCyb->setChecked(false);
    ui.dokCybFrame->setEnabled(true);
}

void Form1::undokCyb_Click() {
    if (!ui.undokCyb->isChecked())
        return;
    ui.dokCyb->setChecked(false);
    ui.dokCybFrame->setEnabled(true);
}

namespace {

// An implausible attribute is refused and replaced by "1", selected so the next key replaces it.
void pruefeAttribut(QLineEdit* field, const healing::Attributgrenze& grenze, MessageBoxes& boxes,
                    QWidget* window) {
    if (const auto meldung = healing::ueberGrenze(field->text(), grenze)) {
        boxes.inform(window, *meldung);
        field->setText(QStringLiteral("1")); // runs this handler again, which finds 1 and stops
        field->setSelection(0, 1);
    }
}

} // namespace

void Form1::txtKonstitution_Change() {
    pruefeAttribut(ui.txtKonstitution, healing::konstitutionsgrenze, m_boxes, this);
}

void Form1::Willenskraft_Change() {
    pruefeAttribut(ui.Willenskraft, healing::willensgrenze, m_boxes, this);
}
