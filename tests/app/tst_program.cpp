// The program used as a user uses it: the main window's press and the captions made from its
// result, the searches with their trade and hand-over, the forecast, dice typed at the table,
// the record, the team, and windows that go away while a dialog of theirs is open. The rules
// have their own tests; these check the wiring.

#include "Driver.h"
#include "ScriptedDice.h"
#include "odds/Forecast.h"
#include "windows/Form1.h"
#include "windows/NotfallVersorgung.h"
#include "windows/ProgramLook.h"
#include "windows/Runde.h"
#include "windows/Verlauf.h"

#include <QtSql>
#include <QtTest>
#include <QtWidgets>
#include <sys/mount.h>

class tst_Program : public QObject {
    Q_OBJECT

    std::unique_ptr<Driver> d;

    void start(QList<int> faces = {}) { d = std::make_unique<Driver>(scriptedDice(faces)); }
    // Clicks each control, types "text" into "name=text", or checks what a control shows with
    // "?name=text" ("?messages=": the messages since the last, "?windows=": the open windows).
    void act(const QStringList& steps) {
        for (const QString& s : steps) {
            const QString name = s.section('=', 0, 0), text = s.mid(name.size() + 1);
            if (name == "?messages")
                QCOMPARE(d->messages().join('|'), text);
            else if (name == "?windows")
                QCOMPARE(Driver::windows().join(' '), text);
            else if (s.startsWith('?'))
                QCOMPARE(name + ": " + d->text(name.mid(1)), name + ": " + text);
            else
                s.contains('=') ? d->type(name, text) : d->click(s);
        }
    }
  private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
    void team();
    void saveFailure();
    void cleanup() {
        if (d)
            QCOMPARE(d->messages(), QStringList());
        d.reset();
        QCOMPARE(Driver::windows(), QStringList());
    }

    // Above the limit: the message, then a selected "1"; the limit and half-typed text pass.
    void attributeLimits() {
        start();
        d->click("Krankenhaus");
        for (const auto& [field, limit, message] :
             {std::tuple{"txtKonstitution", 30, "Was bist du für ein Tier?"},
              {"Willenskraft", 20, "Ja, klar! Stahlwille!"}}) {
            act({field + QString("=%1").arg(limit + 1), QString("?messages=") + message});
            QCOMPARE(d->find(field)->property("selectedText").toString(), "1");
            act({field + QString("=%1").arg(limit), field + QString("=-")});
        }
    }

    // Every input reaches the press, and the window makes every caption of the result.
    void presses() {
        start({6, 6, 1, 3, 2, 6, 4, 2, 1, 2, 2, 2, 2, 2, 2, 2, 2});
        act({"Schaden=4", "cmdHeilen",
             "?Meldungen=Grundmindestwurf: 4|Verletzungsmod.: 2|Lebensstil schlechter als "
             "benötigt: +6",
             "?niveaulabel=Schadensniveau ist Mittel", "?Modifk=12",
             "?Stillabel=Benötigter Lebensstil Mittelschicht", "?lstErgebnis=13|3|2",
             "?lblGrundzeitraum=288 hrs = 12 Tage", "?lblErfolge=1", "?Schaden=3",
             "?lblHeilungsdauer=288 hrs = 12 Tage", "?lblGesamtzeit=288 hrs = 12 Tage",
             "?lblKosten=",
             // Ten boxes at "Luxus" force hospital care; then every box and field counts.
             "Luxus", "Schaden=10", "cmdHeilen", "?lblKosten=18400 Nuyen",
             "?lblGesamtzeit=720 hrs = 30 Tage",
             // The floor of 2 shows the value before it; the last box heals.
             "daheim", "Oberschicht", "Schaden=1", "txtKonstitution=2", "cmdHeilen",
             "?Modifk=2  (0)", "?messages=Sie sind geheilt!", "Schaden=3"});
        d->key("Schaden", Qt::Key_Enter); // Enter in a field heals, once
        act({"?lstErgebnis=2|2", "?Schaden=2"});
        // Reset only blanks the running totals.
        auto before = d->snapshot();
        d->click("cmdReset");
        auto after = d->snapshot();
        for (const char* total : {"Gesamtzeit", "Kosten", "lblGesamtzeit", "lblKosten"})
            QVERIFY2(after.take(QString("Form1.") + total) !=
                         before.take(QString("Form1.") + total),
                     total);
        QCOMPARE(after, before);
        // Hospital with a target number far below 2: "2 hrs = 0,08333334 Tage", and eight
        // successes make "0,25 hrs = 0,01041667 Tage", both too wide for their labels.
        start(QList<int>{1, 1, 2, 2, 2, 2, 2, 2, 2, 2} + QList<int>(10, 3));
        act({"Krankenhaus", "magischeBetreuung", "Schaden=2", "txtKonstitution=10",
             "Willenskraft=12", "txtBioTech=10", "cmdHeilen"});
        // A screen reader hears a result's frame caption and its value (one that fits: a cut one
        // is also its tooltip, which a screen reader would read instead).
        const auto* heard = QAccessible::queryAccessibleInterface(d->find("lblErfolge"));
        QCOMPARE(heard->text(QAccessible::Name) + '|' + heard->text(QAccessible::Description),
                 "Erfolge beim Würfeln|8");
    }

    // At the edge: a value one pixel wider than its label is cut, one exactly as wide fits.
    void resultFits() {
        QLabel label;
        const QString value = "288 hrs = 12 Tage";
        for (int wider : {1, 0}) {
            label.setFixedWidth(label.fontMetrics().horizontalAdvance(value) - wider);
            windows::showResult(&label, value);
            QCOMPARE(label.toolTip(), wider ? value : "");
        }
    }

    void emergencySearch() {
        start({3, 4});
        act({"Krankenhaus", "Form1.cmdSuchDoc", "cmdNotfall", "NotfallVersorgung.cmdSuchDoc",
             "?lstModifMeld=Öffentlich/Illegal: -1|Keiner: -1", "?cmbKontrakt=Keiner",
             "?lblModif=-2", "?lblWurf1=3", "?lblWurf2=4", "?lblSumme=5", "?lblFertigkeit=4",
             "?lblEquipment=2"});
        act({"NotfallVersorgung.cmdUebernehmen", "?txtBioTech=4", "?windows=Form1"});
    }

    // The etiquette dice reach the main window's list; the trade opens with two successes and
    // stays open after the second refusal; the first refusal closes the window.
    void normalSearch() {
        start({4, 6, 2, 6, 1, 3, 2, 4, 1, 1, 3});
        act({"Krankenhaus", "Form1.cmdSuchDoc", "cmdNormalfall", "optKonzern", "optSchieber",
             "cmbArt=Implantat", "cmbKategorie=Alphaware", "cmbLegalität=Legal", "txtGebräuche=3",
             "NormalVersorgung.cmdSuchDoc"});
        act({"?lstModifMeld=Konzerneigen: +2|Schieber: -1|Implantat: +1|Alphaware: +2|Legal: -1",
             "?lblModif=3", "?lblFertMod=1", "?lblMindestwurf=7", "?lblZeitraum=14 Tage",
             "?NormalVersorgung.lblErfolge=2", "?lstErgebnis=4|8|7", "?lblSumme=6",
             "?lblFertigkeit=5", "?lblEquipment=3"});
        act({"cmdImproveTime", "cmdDiminQual", "?lblZeitraum=7 Tage", "?lblEquipment=2",
             "?NormalVersorgung.lblErfolge=2"});
        act({"optIllegal", "cmbKategorie=Standardcyberware", "txtGebräuche=1",
             "NormalVersorgung.cmdSuchDoc", // 4 against 2, then 1 + 1 - 2
             "?messages=Keiner will dir helfen! Sorry, Kollego!", "?lblFertigkeit=0"});
        QVERIFY(d->find("cmdImproveQual")->isEnabled()); // the trade stays open
        // The first refusal closes the window, keeps the dice and the skill found before.
        act({"optKonzern", "NormalVersorgung.cmdSuchDoc", // 3 against 5
             "?messages=Sorry, Kollego, keiner will dich behandeln!", "?windows=Form1",
             "Form1.cmdSuchDoc", "cmdNormalfall"});
        QVERIFY(!d->find("cmdImproveQual")->isEnabled()); // a reopened window starts afresh
        act({"NormalVersorgung.cmdUebernehmen", "?lstErgebnis=3", "?txtBioTech=0"});
    }

    // The forecast shows a refusal in place of its numbers without a box, and draws no dice.
    // (What it shows is checked in tst_windows.)
    void forecast() {
        start({2, 2, 2});
        d->key("Schaden", Qt::Key_F2);
        d->type("Schaden", "x");
        QCoreApplication::processEvents();
        const QString refusal = "Bitte im Feld „Schadenskästchen“ eine ganze Zahl eingeben.";
        act({"?lblNaechsterWurf=" + refusal, "?lblBisZurHeilung=" + refusal});
        act({"Schaden=4", "cmdHeilen", "?lstErgebnis=2|2|2"});
    }

    // The forecast and the record land wholly on the main window's screen: beside it where
    // there is room (right, else left), otherwise over it, and no larger than the screen.
    // Each row: the main window, the size wanted, where the window goes (the frame is 2 pixels
    // and a title of 20; the screen 1366 x 728).
    void placement() {
        using Row = std::tuple<QRect, QSize, QRect>;
        for (const auto& [main, wanted, placed] :
             {Row{{10, 20, 500, 400}, {540, 700}, {520, 26, 540, 700}},     // right
              Row{{800, 20, 500, 400}, {540, 700}, {250, 26, 540, 700}},    // left
              Row{{400, 300, 500, 400}, {540, 700}, {402, 26, 540, 700}},   // over
              Row{{10, 20, 500, 400}, {540, 900}, {520, 22, 540, 704}},     // too tall
              Row{{552, 20, 500, 400}, {540, 700}, {2, 26, 540, 700}},      // just fits left
              Row{{0, 0, 814, 100}, {540, 100}, {824, 22, 540, 100}},       // just fits right
              Row{{400, 20, 500, 400}, {1000, 300}, {364, 42, 1000, 300}}}) // too wide
            QCOMPARE(app::Programm::placeBeside(main, wanted, {2, 22, 2, 2}, {0, 0, 1366, 728}),
                     placed);
    }

    // Dice typed in count as rolled: the dialog says what to roll, a six asks for the next
    // face and adds it, and the record marks them; searches ask the same way.
    void ownDice() {
        start();
        d->diceAnswers = {
            {"6", "2", "3", "1"}, {"5", "4", "6", "6", "1"}, {"3", "5"}, {"4", "4"}, {"1", "1"}};
        act({"chkEigeneWuerfel", "Schaden=4", "cmdHeilen", "cmdHeilen", "?lstErgebnis=5|4|13",
             "?lblErfolge=1", "?Schaden=2", "?lblGesamtzeit=840 hrs = 35 Tage", "Krankenhaus",
             "Form1.cmdSuchDoc", "cmdNotfall", "NotfallVersorgung.cmdSuchDoc", "?lblWurf1=3",
             "?lblWurf2=5", "?lblFertigkeit=5", "Form1.cmdSuchDoc", "cmdNormalfall",
             "txtGebräuche=2", "NormalVersorgung.cmdSuchDoc"});
        QCOMPARE(d->diceAsked,
                 QStringList({"3 offene W6 gegen Mindestwurf 12 — Heilung",
                              "3 offene W6 gegen Mindestwurf 11 — Heilung", "2W6 — Arztsuche",
                              "2 offene W6 gegen Mindestwurf 4 — Gebräuche", "2W6 — Arztsuche"}));
        for (const RecordEntry& e : d->program().record.entries()) // 2 presses, 2 searches
            QVERIFY(e.byHand && e.line().contains("(von Hand) → "));
        QCOMPARE(d->program().record.entries().size(), 4);
    }

    // Whatever changed a field (keys, or a screen reader's new text for the first field before
    // or after the keys), one reading checks it and gives its die: a finished die is confirmed
    // as typed, a chain typed face by face shown as rolled; anything else keeps Enter from
    // confirming, says why and changes nothing. F2 and F3 open nothing behind the dialog.
    void ownDiceTyped_data() {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<QString>("after");
        QTest::addColumn<QString>("shown"); // the record's dice, or the start of the hint
        const auto row = [](const char* tag, QString before, QStringList typed, QString after,
                            QString shown) {
            QTest::newRow(tag) << before << typed << after << shown;
        };
        row("zero", "", {"0"}, "", "Würfel 1: „0“ ist keine Augenzahl.");
        row("unfinished six", "", {"6"}, "", "Würfel 1 steht bei 6");
        row("unfinished 12", "", {"1", "66"}, "", "Würfel 2 steht bei 12");
        row("too few", "", {"1", "2"}, "", "Würfel 3 fehlt noch.");
        row("beyond 16 bits", "40001", {}, "", "Würfel 1: mehr als 32767 Augen zählt kein Wurf.");
        row("chain beyond", "32766", {"6"}, "", "Würfel 1: mehr als");
        row("chain to top", "32766", {"1", "1", "2"}, "", "32766+1 = 32767, 1, 2");
        row("chain", "", {"661", "3", "2"}, "", "6+6+1 = 13, 3, 2");
        row("thin space", "", {"\u20093", "2", "1"}, "", "3 2 1");
        row("changed to x", "", {"3", "2", "1"}, "x", "Würfel 1: „x“ ist keine Augenzahl.");
    }
    void ownDiceTyped() {
        QFETCH(QString, before);
        QFETCH(QStringList, typed);
        QFETCH(QString, after);
        QFETCH(QString, shown);
        start();
        act({"chkEigeneWuerfel", "Schaden=4"});
        const auto start = d->snapshot();
        const auto screenReader = [](const QString& text) { // the dice dialog is modal
            if (!text.isEmpty())
                QAccessible::queryAccessibleInterface(
                    QApplication::activeModalWidget()->findChild<QWidget*>("txtWuerfel1"))
                    ->setText(QAccessible::Value, text);
        };
        QTimer::singleShot(0, [&] { screenReader(before); }); // before the keys
        d->diceAnswers = {typed};
        d->beforeConfirm = [&](QWidget* dialog) {
            QTest::keyClick(dialog->focusWidget(), Qt::Key_F2);
            QTest::keyClick(dialog->focusWidget(), Qt::Key_F3);
            screenReader(after);
        };
        d->click("cmdHeilen");
        const QList<RecordEntry>& entries = d->program().record.entries();
        if (d->diceRefused.isEmpty()) {
            QCOMPARE(entries.value(0).dice, shown);
        } else {
            QCOMPARE(d->diceRefused.first().left(shown.size()), shown);
            QCOMPARE(d->snapshot(), start);
            QVERIFY(entries.isEmpty());
        }
        QCOMPARE(Driver::windows(), QStringList{"Form1"});
    }

    // A press that only its finish would refuse asks for no dice: the refusal comes first, and
    // it is the one the forecast shows.
    void refusedBeforeDice() {
        start();
        act({"chkEigeneWuerfel", "Krankenhaus", "undokBio", "BioIndex=32767", "Schaden=-32768"});
        const QString forecast = odds::nextPress(static_cast<Form1*>(d->find("Form1."))->input(),
                                                 d->program().form1.state)
                                     .refusal();
        d->click("cmdHeilen");
        QCOMPARE(d->diceAsked, QStringList());
        QCOMPARE(d->messages(), QStringList{forecast});
        QCOMPARE(forecast, "Die Zahl der Schadenskästchen passt nicht in den Zahlenbereich. Bitte "
                           "im Feld „Schadenskästchen“ eine Zahl näher an 0 eingeben.");
        // No dice at all (a negative count): no dialog either, and the press is carried out with
        // no success.
        act({"daheim", "txtKonstitution=-1", "Schaden=2", "cmdHeilen", "?lblErfolge=0",
             "?Schaden=1"});
        QCOMPARE(d->diceAsked, QStringList());
    }

    // One line per press, search, trade step and reset, refusals too, each new one added to
    // the open window; "Leeren" only after a "Ja", "Kopieren" of nothing changes nothing.
    void record() {
        start({6, 6, 1, 3, 2, 4, 4, 1, 1});
        d->key("Schaden", Qt::Key_F3);
        act({"Schaden=4", "Krankenhaus", "daheim", "cmdHeilen", "Schaden=x;\"", "cmdHeilen",
             "Krankenhaus", "Form1.cmdSuchDoc", "cmdNormalfall", "txtGebräuche=2",
             "NormalVersorgung.cmdSuchDoc", "cmdDiminTime", "cmdImproveTime", "cmdImproveTime",
             "cmdImproveTime", "cmdReset"}); // the last trade at its limit: nothing
        QCOMPARE(d->messages().size(), 1);
        QStringList lines = d->text("lstVerlauf").split('|');
        for (QString& line : lines)
            line.remove(0, 10);                  // the time
        QCOMPARE(lines.mid(0, 3) + lines.mid(5), // of the three trade steps, the last
                 QStringList({"HEILEN!: Kästchen 4 → 3, zu Hause, Mindestwurf 12, Würfel 13 "
                              "3 2 → 1 Erfolg, Heilungsdauer 288 hrs = 12 Tage, Gesamtzeit "
                              "288 hrs = 12 Tage",
                              "HEILEN!: Kästchen x;\" → Bitte im Feld „Schadenskästchen“ "
                              "eine ganze Zahl eingeben.",
                              "Normale Suche: Modifikator 0, Fertigk.Mod. 0, MW 4, 2 Würfel, "
                              "Würfel Gebräuche 4 4; 2W6 1 1 → 2 Erfolge, Ergebnis 2, "
                              "Fertigkeitsstufe 3, Ausrüstungsstufe 1, Zeitraum 7 Tage",
                              "Handel: Zeitraum halbieren, kostet einen Erfolg → "
                              "Ausrüstungsstufe 1, Zeitraum 3,5 Tage, 1 Erfolg",
                              "Reset: Gesamtzeit 288 hrs und Kosten 0 Nuyen auf 0"}));
        d->click("cmdKopieren");
        QCOMPARE(QApplication::clipboard()->text(), d->program().record.plainText());
        static_cast<Verlauf*>(d->find("Verlauf."))->saveTo("/nowhere/v.csv");
        QCOMPARE(d->messages(), QStringList("Der Verlauf konnte nicht in „/nowhere/v.csv“ "
                                            "gespeichert werden: Den Ordner gibt es nicht."));
        d->click("cmdLeeren");
        QCOMPARE(d->messages().size(), 1);
        QCOMPARE(d->text("lstVerlauf").count('|'), 6);
        d->yes = true;
        d->click("cmdLeeren");
        QCOMPARE(d->messages().size(), 1);
        QCOMPARE(d->text("lstVerlauf"), "");
    }

    // A window that goes away while its dice dialog is open (no window active, or another):
    // the dialog goes with it, the roll is abandoned and nothing is recorded.
    void diceForAGoneWindow() {
        for (const QString window : {"Form1", "NotfallVersorgung"}) {
            start();
            act({"chkEigeneWuerfel", "Schaden=4", "Krankenhaus", "Form1.cmdSuchDoc", "cmdNotfall"});
            d->diceAnswers = {{"4", "4", "4"}};
            const QPointer<QWidget> gone = d->find(window + '.');
            d->beforeConfirm = [&](QWidget*) { gone->close(); };
            QApplication::setActiveWindow(window == "Form1" ? nullptr : d->find("Form1."));
            d->click(window + (window == "Form1" ? ".cmdHeilen" : ".cmdSuchDoc"));
            QVERIFY(d->program().record.entries().isEmpty());
            QCOMPARE(Driver::windows().join(' '), window == "Form1" ? "" : "Form1");
        }
    }

    // A window that goes away with the main window while its own message box is open: the box
    // ends with it and nothing touches the window afterwards.
    void boxOutlivesNothing() {
        QApplication::setQuitOnLastWindowClosed(false);
        app::Programm program(scriptedDice({1, 1})); // the real, modal message boxes
        QWidget* main = program.start();
        const QPointer<QWidget> window = program.openNotfallVersorgung();
        QTimer::singleShot(0, window, [&] {
            QVERIFY(QApplication::activeModalWidget());
            main->close();
        });
        QTimer guard; // a box still open after its window is gone must not hang the test
        connect(&guard, &QTimer::timeout, this, [] {
            if (QWidget* box = QApplication::activeModalWidget())
                box->close();
        });
        guard.start(2000);
        window->findChild<QAbstractButton*>("cmdSuchDoc")->click();
        QTRY_VERIFY(window.isNull());
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        QApplication::setQuitOnLastWindowClosed(true);
    }
};

// Everything the main window shows and holds, and the record, for comparing two moments.
QString shown(Driver& d) {
    QStringList all{d.program().form1.window()->capture().json()};
    for (auto [name, text] : d.snapshot().asKeyValueRange())
        if (name.startsWith("Form1.") && name != "Form1.lblPatient")
            all << name + '=' + text;
    for (const RecordEntry& e : d.program().record.entries())
        all << e.line();
    return all.join('\n');
}

void tst_Program::team() {
    QTemporaryDir data; // a data directory of its own
    qputenv("XDG_DATA_HOME", data.path().toUtf8());
    QList<int> faces;
    for (int i = 0; i < 90; ++i)
        faces << 1 + i * 7 % 5;
    // Ended and started again on the same data directory.
    const auto restart = [&] {
        start(faces);
        d->program().loadTeam();
        return &d->program();
    };
    app::Programm* p = restart();
    act({"Schaden=5", "Krankenhaus", "cmdHeilen"});
    const QString beforeTeam = shown(*d);
    // Names are trimmed, not empty, unique and short; the first patient is the one on show.
    QCOMPARE(p->newPatient(" "), "Bitte im Feld „Name“ einen Namen eingeben.");
    QCOMPARE(p->newPatient(QString(65, 'x')).contains("höchstens 64"), true);
    QCOMPARE(p->newPatient(QString(64, 'x')), "");
    QCOMPARE(p->renamePatient(0, " Kira "), "");
    QCOMPARE(shown(*d), beforeTeam);
    QCOMPARE(d->text("lblPatient"), "Patient: Kira");
    QVERIFY(p->newPatient("kira").contains("schon"));
    QCOMPARE(p->newPatient("Jax 🦾"), "");
    QVERIFY(p->renamePatient(1, "KIRA").contains("schon"));
    QVERIFY(p->record.entries().isEmpty());
    act({"?Schaden=0", "Schaden=3", "cmdHeilen", "cmdHeilen"}); // a new patient starts afresh
    QStringList last{beforeTeam, shown(*d)};
    QString beforeReset;
    // Pressed in turn and switched back and forth, each shows exactly as left.
    for (int round = 0; round < 4; ++round) {
        p->activate(round % 2 ? 1 : 0);
        QCOMPARE(shown(*d), last[round % 2]);
        if (round == 1)
            beforeReset = shown(*d);
        if (round < 2)
            d->click(round ? "cmdReset" : "cmdHeilen");
        last[round % 2] = shown(*d);
    }
    // After a restart the same, undo steps included; the record follows.
    p = restart();
    QCOMPARE(shown(*d).section('\n', 0, 0), last[1].section('\n', 0, 0));
    QCOMPARE(p->patients().size(), 2);
    // Ctrl+Z takes back the Reset, then a press; the record says what went.
    d->key("Schaden", Qt::Key_Z); // a plain Z is typing, not undo
    QTest::keyClick(d->find("Schaden"), Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(p->record.entries().last().inputs.startsWith("Reset von "));
    // and two lines more in the record: the Reset and its taking back
    QCOMPARE(shown(*d).section('\n', 0, -3), beforeReset);
    act({"cmdRueckgaengig", "cmdRueckgaengig", "?Schaden=3"});
    QCOMPARE(p->record.entries().last().action, "Rückgängig");
    // Jax had two presses and a Reset: all taken back.
    QVERIFY(!d->find("cmdRueckgaengig")->isEnabled());
    QCOMPARE(p->form1.state.Gesamtzeit, 0.0f);
    p->activate(0); // read after the one shown first
    QCOMPARE(shown(*d), last[0]);
    p->activate(1);
    // A second copy says so, shows the team read-only and writes nothing.
    const QString kept = shown(*d);
    {
        app::Programm second(scriptedDice(faces), d.get());
        second.start();
        second.loadTeam();
        QVERIFY(second.readOnly());
        QVERIFY(d->messages().join("").contains("anderen Fenster"));
        second.form1.window()->findChild<QPushButton*>("cmdReset")->click();
        second.saveNow();
    }
    p = restart();
    QCOMPARE(shown(*d).section('\n', 0, 0), kept.section('\n', 0, 0));
    // Removing asks and keeps by default; a failed save of the team's record is told.
    Runde* runde = p->openRunde();
    auto* table = runde->findChild<QTableWidget*>();
    const auto row = [table](int r) {
        QStringList cells;
        for (int c = 0; c < 7; ++c)
            cells << (c == 3 ? "" : table->item(r, c)->text().section(' ', -1));
        return cells.join(' ');
    };
    QCOMPARE(row(0), "Kira 3 Krankenhaus  Nuyen Tage Tage");
    QCOMPARE(row(1), "🦾 3 Hause  Nuyen Tage Tage");
    for (int r : {0, 1}) { // Enter on a row makes its patient active.
        table->selectRow(r);
        QTest::keyClick(table, Qt::Key_Return);
        QCOMPARE(d->text("lblPatient"), r ? "Patient: Jax 🦾" : "Patient: Kira");
    }
    runde->saveTo(data.filePath("nowhere/runde.csv"));
    QVERIFY(d->messages().join("").startsWith("Der Verlauf der Runde konnte nicht in „"));
    d->click("cmdEntfernen");
    QCOMPARE(p->patients().size(), 2);
    d->yes = true;
    act({"cmdEntfernen", "?lblPatient=Patient: Kira"});
    QCOMPARE(d->messages().size(), 2);
    QCOMPARE(p->patients().size(), 1);
    // A record gone wrong of a patient not shown first: found before any write, and set aside.
    QCOMPARE(p->newPatient("Zed"), "");
    start(faces);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "edit");
        db.setDatabaseName(team::Store::defaultPath());
        QVERIFY(db.open());
        QVERIFY(QSqlQuery(db).exec("UPDATE line SET figures = 'x' WHERE patient = 1"));
    }
    QSqlDatabase::removeDatabase("edit");
    d->program().loadTeam();
    d->program().saveNow();
    QCOMPARE(d->program().patients().size(), 0);
    QVERIFY(d->messages().join("").contains("daneben"));
    QVERIFY(!QFile::exists(team::Store::defaultPath()));
    // A press that takes a patient's record past its 10,000 lines drops the oldest hundred, and
    // the record shown starts with the notice that says so.
    QList<team::Patient> full{{.name = "Kira"}};
    full[0].setSheet(d->program().form1.window()->capture());
    for (int n = 0; n < 9999; ++n)
        full[0].addLine({.time = QDateTime::currentDateTime()});
    QString error;
    QVERIFY2(team::Store(team::Store::defaultPath()).save(full, 0, &error), qPrintable(error));
    p = restart();
    p->saveNow(); // the whole record is in
    act({"Schaden=3", "cmdHeilen"});
    const QList<RecordEntry> lines = p->record.entries();
    QCOMPARE(lines.size(), 9901);
    QCOMPARE(lines.first().inputs, "100 ältere Zeilen");
    QCOMPARE(lines.last().action, "HEILEN!");
}

// A save that fails (a full disk) is told once, not at every save after it, and again once
// after a save has worked in between.
void tst_Program::saveFailure() {
    QTemporaryDir data;
    qputenv("XDG_DATA_HOME", data.path().toUtf8());
    if (mount("tmpfs", qPrintable(data.path()), "tmpfs", 0, "size=256k") != 0)
        QSKIP("no tmpfs can be mounted here");
    const auto unmount = qScopeGuard([&] { umount2(qPrintable(data.path()), MNT_DETACH); });
    start(QList<int>(200, 1));
    d->program().loadTeam();
    QCOMPARE(d->program().newPatient("Kira"), "");
    QFile filler(data.filePath("filler"));
    for (int round = 0; round < 2; ++round) {
        QVERIFY(filler.open(QIODevice::WriteOnly));
        while (filler.write(QByteArray(4096, 'x')) > 0 && filler.flush()) {
        }
        filler.close();
        act({"Schaden=3", "cmdHeilen"});
        d->program().saveNow();
        QCOMPARE(d->messages().size(), 1);
        act({"cmdHeilen"});
        d->program().saveNow();
        QCOMPARE(d->messages(), QStringList());
        filler.remove();
        d->program().saveNow();
    }
    d.reset();
}

SANIVEX_WINDOW_TEST_MAIN(tst_Program)
#include "tst_program.moc"
