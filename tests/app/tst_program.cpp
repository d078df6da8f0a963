// The program used as a user uses it: the main window's options, boxes and fields reaching
// "HEILEN!", the captions made from its result, the choice dialog and the search windows with
// their searches and trade, the hand-over and the dice that reach the main window, the
// windows' lifetime, and message boxes that survive their window closing under them. The rules
// have their own tests; these check the wiring.

#include "Driver.h"
#include "LocaleGuard.h"
#include "ScriptedDice.h"
#include "healing/HealingTexts.h"
#include "windows/Auswahl.h"
#include "windows/Form1.h"
#include "windows/NormalVersorgung.h"
#include "windows/NotfallVersorgung.h"
#include "windows/Verlauf.h"

#include <QAccessible>
#include <QtTest>
#include <QtWidgets>

using Shown = std::initializer_list<std::pair<const char*, const char*>>;

// The fields of one CSV line: ";" between them, quoted ones with doubled quotes inside.
QStringList csvFields(const QString& line) {
    QStringList fields{""};
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line[i] == '"' && quoted && line.mid(i + 1, 1) == "\"")
            fields.last() += line[++i];
        else if (line[i] == '"')
            quoted = !quoted;
        else if (line[i] == ';' && !quoted)
            fields << "";
        else
            fields.last() += line[i];
    }
    return fields;
}

class tst_Program : public QObject {
    Q_OBJECT

    const LocaleGuard german{QLocale(QLocale::German, QLocale::Germany)}; // "3,5 Tage"
    std::unique_ptr<Driver> d;

    void start(QList<int> faces = {}) { d = std::make_unique<Driver>(scriptedDice(faces)); }
    void click(QStringList names) {
        for (const QString& name : names)
            d->click(name);
    }
    // Every control shows its text; a failure names the first that does not.
    void shows(Shown expected) {
        for (const auto& [name, text] : expected)
            QCOMPARE(name + (": " + d->text(name)), name + (": " + QString::fromUtf8(text)));
    }
    bool on(const QString& name) {
        return static_cast<QAbstractButton*>(d->find(name))->isChecked();
    }
    bool usable(const QString& name) { return d->find(name)->isEnabled(); }
  private slots:
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
             {std::tuple{"txtKonstitution", 30, healing::texts::constitutionAboveLimit},
              {"Willenskraft", 20, healing::texts::willpowerAboveLimit}}) {
            QString typed;
            d->onMessage = [&, field = field](const QString&) { typed = d->text(field); };
            d->type(field, QString::number(limit + 1));
            QCOMPARE(d->messages(), QStringList{message});
            QCOMPARE(typed, QString::number(limit + 1)); // while the box is up
            QCOMPARE(d->find(field)->property("selectedText").toString(), "1");
            d->type(field, QString::number(limit));
            d->type(field, "-");
        }
    }

    // Every input reaches the press, and the window makes every caption of the result.
    void presses() {
        start({6, 6, 1, 3, 2, 6, 4, 2, 1, 2, 2, 2, 2, 2, 2, 2, 2});
        d->type("Schaden", "4");
        d->click("cmdHeilen");
        // clang-format off
        shows({{"Meldungen", "Grundmindestwurf: 4|Verletzungsmod.: 2|"
                             "Lebensstil schlechter als benötigt: +6"},
               {"niveaulabel", "Schadensniveau ist Mittel"}, {"Modifk", "12"},
               {"Stillabel", "Benötigter Lebensstil Mittelschicht"}, {"lstErgebnis", "13|3|2"},
               {"lblGrundzeitraum", "288 hrs = 12 Tage"}, {"lblErfolge", "1"}, {"Schaden", "3"},
               {"lblHeilungsdauer", "288 hrs = 12 Tage"}, {"lblGesamtzeit", "288 hrs = 12 Tage"},
               {"lblKosten", ""}});
        // clang-format on
        // Ten boxes at "Luxus" force hospital care; then every box and field counts.
        d->click("Luxus");
        d->type("Schaden", "10");
        d->click("cmdHeilen");
        QVERIFY(on("Krankenhaus") && !usable("Luxus"));
        shows({{"lblKosten", "18400 Nuyen"}, {"lblGesamtzeit", "720 hrs = 30 Tage"}});
        // The floor of 2 shows the value before it; the last box heals; then nobody is ill.
        click({"daheim", "Oberschicht"});
        d->type("Schaden", "1");
        d->type("txtKonstitution", "2");
        d->click("cmdHeilen");
        shows({{"Modifk", "2  (0)"}});
        QCOMPARE(d->messages(), QStringList{healing::texts::healed});
        d->key("cmdHeilen", Qt::Key_Space);
        QCOMPARE(d->messages(), QStringList{healing::texts::notIll});
        shows({{"Meldungen", ""}});
        QCOMPARE(QApplication::focusWidget()->objectName(), "Schaden");
        // Enter heals from a field; Reset only blanks the running totals.
        d->type("Schaden", "3");
        d->key("Schaden", Qt::Key_Return);
        const auto before = d->snapshot();
        d->key("cmdReset", Qt::Key_Return);
        QCOMPARE(d->changesSince(before), QStringList({"Form1.Gesamtzeit", "Form1.Kosten",
                                                       "Form1.lblGesamtzeit", "Form1.lblKosten"}));
        shows({{"lblGesamtzeit", ""}, {"lblKosten", ""}});
    }

    void emergencySearch() {
        start({3, 4, 6, 6});
        click({"Krankenhaus", "Form1.cmdSuchDoc", "cmdNotfall", "NotfallVersorgung.cmdSuchDoc"});
        // clang-format off
        shows({{"lstModifMeld", "Öffentlich/Illegal: -1|Keiner: -1"}, {"cmbKontrakt", "Keiner"},
               {"lblModif", "-2"}, {"lblWurf1", "3"}, {"lblWurf2", "4"}, {"lblSumme", "5"},
               {"lblFertigkeit", "4"}, {"lblEquipment", "2"}});
        // clang-format on
        click({"chkArrest", "chkSIN", "optKriseneinsatz", "optSanivex"});
        d->type("cmbGegend", "C oder D");
        d->type("cmbKontrakt", "Gold");
        click({"NotfallVersorgung.cmdSuchDoc", "NotfallVersorgung.cmdUebernehmen"});
        shows({{"txtBioTech", "7"}});
        QCOMPARE(Driver::windows(), QStringList{"Form1"});
    }

    // The etiquette dice reach the main window's list; the trade opens with two successes;
    // the second refusal is announced while the old levels still show.
    void normalSearch() {
        start({4, 6, 2, 6, 1, 3, 2, 4, 1, 1, 3});
        click({"Krankenhaus", "Form1.cmdSuchDoc", "cmdNormalfall", "optKonzern", "optSchieber"});
        d->type("cmbArt", "Implantat");
        d->type("cmbKategorie", "Alphaware");
        d->type("cmbLegalität", "Legal");
        d->type("txtGebräuche", "3");
        d->click("NormalVersorgung.cmdSuchDoc");
        // clang-format off
        shows({{"lstModifMeld", "Konzerneigen: +2|Schieber: -1|Implantat: +1|Alphaware: +2|"
                                "Legal: -1"},
               {"lblModif", "3"}, {"lblFertMod", "1"}, {"lblMindestwurf", "7"},
               {"lblZeitraum", "14 Tage"}, {"NormalVersorgung.lblErfolge", "2"},
               {"lstErgebnis", "4|8|7"}, {"lblSumme", "6"}, {"lblFertigkeit", "5"},
               {"lblEquipment", "3"}});
        click({"cmdImproveTime", "cmdDiminQual"});
        shows({{"lblZeitraum", "7 Tage"}, {"lblEquipment", "2"},
               {"NormalVersorgung.lblErfolge", "2"}});
        // clang-format on
        d->click("optIllegal");
        d->type("cmbKategorie", "Standardcyberware");
        d->type("txtGebräuche", "1");
        QString during;
        d->onMessage = [&](const QString&) { during = d->text("lblFertigkeit"); };
        d->click("NormalVersorgung.cmdSuchDoc"); // 4 against 2, then 1 + 1 - 2
        QCOMPARE(d->messages(), QStringList{"Keiner will dir helfen! Sorry, Kollego!"});
        QCOMPARE(during + d->text("lblFertigkeit"), "50");
        QVERIFY(usable("cmdImproveQual")); // the trade stays open
        // The first refusal closes the window, keeps the dice and the skill found before.
        click({"optKonzern", "NormalVersorgung.cmdSuchDoc"}); // 3 against 5
        QCOMPARE(d->messages(), QStringList{"Sorry, Kollego, keiner will dich behandeln!"});
        QCOMPARE(Driver::windows(), QStringList{"Form1"});
        click({"Form1.cmdSuchDoc", "cmdNormalfall"});
        QVERIFY(!usable("cmdImproveQual")); // a reopened window starts afresh
        d->click("NormalVersorgung.cmdUebernehmen");
        shows({{"lstErgebnis", "3"}, {"txtBioTech", "0"}});
    }

    // The forecast follows every input, shows a refusal in place of its numbers without a box,
    // draws no dice, and opens by F2 from any window.
    void forecast() {
        start({2, 2, 2});
        d->type("Schaden", "4");
        d->key("Schaden", Qt::Key_F2);
        QCOMPARE(Driver::windows(), QStringList({"Form1", "Prognose"}));
        QVERIFY(d->text("lblNaechsterWurf").startsWith("Mindestwurf 12 mit 3 offenen W6"));
        d->type("Schaden", "2");
        QCoreApplication::processEvents();
        QVERIFY(d->text("lblNaechsterWurf").startsWith("Mindestwurf 7 mit 3 offenen W6"));
        QVERIFY(d->text("lblBisZurHeilung").startsWith("2 Drücke bis zur Heilung"));
        d->type("Schaden", "x");
        QCoreApplication::processEvents();
        const QString refusal = "Bitte im Feld „Schadenskästchen“ eine ganze Zahl eingeben.";
        QCOMPARE(d->text("lblNaechsterWurf") + d->text("lblBisZurHeilung"), refusal + refusal);
        QCOMPARE(d->messages(), QStringList());
        d->type("Schaden", "4");
        d->click("cmdHeilen");
        shows({{"lstErgebnis", "2|2|2"}});
        const auto searching = [this] {
            QCoreApplication::processEvents();
            return d->find("frmNotfallSuche")->isVisibleTo(d->find("Prognose."));
        };
        QVERIFY(!searching());
        click({"Krankenhaus", "Form1.cmdSuchDoc", "cmdNotfall"});
        QVERIFY(searching());
        d->find("Prognose.")->close();
        d->key("chkSIN", Qt::Key_F2);
        QVERIFY(searching());
        d->click("NotfallVersorgung.cmdCancel");
        QVERIFY(!searching());
    }

    // A whole stay healed with dice typed in gives what the same dice rolled give; the dialog
    // says what to roll, a six asks for the next face and adds it.
    void ownDice() {
        const QList<int> faces{6, 2, 3, 1, 5, 4, 6, 6, 1, 2, 2, 3, 1, 6, 5, 4, 4};
        start(faces);
        d->type("Schaden", "4");
        QStringList rolled;
        for (int press = 0; press < 4; ++press) {
            d->click("cmdHeilen");
            rolled << d->text("Meldungen") + d->text("lstErgebnis") + d->text("lblGesamtzeit");
        }
        d->messages();
        start();
        d->click("chkEigeneWuerfel");
        d->type("Schaden", "4");
        d->diceAnswers = {
            {"6", "2", "3", "1"}, {"5", "4", "6", "6", "1"}, {"2", "2", "3"}, {"1", "6", "5", "4"}};
        for (int press = 0; press < 4; ++press) {
            d->click("cmdHeilen");
            QCOMPARE(d->text("Meldungen") + d->text("lstErgebnis") + d->text("lblGesamtzeit"),
                     rolled[press]);
        }
        QCOMPARE(d->diceAsked.first(), "3 offene W6 gegen Mindestwurf 12 — Heilung");
        QCOMPARE(d->messages(), QStringList{healing::texts::healed});
        // Searches ask for their dice the same way.
        click({"Krankenhaus", "Form1.cmdSuchDoc", "cmdNotfall"});
        d->diceAnswers = {{"3", "5"}};
        d->click("NotfallVersorgung.cmdSuchDoc");
        QCOMPARE(d->diceAsked.last(), "2W6 — Arztsuche");
        shows({{"lblWurf1", "3"}, {"lblWurf2", "5"}, {"lblFertigkeit", "5"}});
    }

    // An entry that is no finished die keeps Enter from confirming and says why; leaving the
    // dialog leaves everything as it was, the record included.
    void ownDiceRefused_data() {
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<QString>("why");
        QTest::newRow("zero") << QStringList{"0"} << "Würfel 1: „0“ ist keine Augenzahl.";
        QTest::newRow("unfinished six") << QStringList{"6"} << "Würfel 1 steht bei 6";
        QTest::newRow("unfinished twelve") << QStringList{"1", "66"} << "Würfel 2 steht bei 12";
        QTest::newRow("letters") << QStringList{"x"} << "Würfel 1: „x“ ist keine Augenzahl.";
        QTest::newRow("too few") << QStringList{"1", "2"} << "Würfel 3 fehlt noch.";
        QTest::newRow("abandoned") << QStringList{} << "";
    }
    void ownDiceRefused() {
        QFETCH(QStringList, typed);
        QFETCH(QString, why);
        start();
        click({"chkEigeneWuerfel", "cmdVerlauf"});
        d->type("Schaden", "4");
        const auto before = d->snapshot();
        d->diceAnswers = {typed};
        d->click("cmdHeilen");
        QCOMPARE(d->diceRefused.value(0).left(why.size()), why);
        QCOMPARE(d->changesSince(before), QStringList());
        QVERIFY(d->program().record.entries().isEmpty());
    }

    // One line per press, search and trade step, refusals too; the CSV reads back the same.
    void record() {
        start({6, 6, 1, 3, 2, 4, 4, 1, 1});
        d->type("Schaden", "4");
        d->click("cmdHeilen");
        d->type("Schaden", "x;\"");
        d->click("cmdHeilen");
        click({"Krankenhaus", "Form1.cmdSuchDoc", "cmdNormalfall"});
        d->type("txtGebräuche", "2");
        click({"NormalVersorgung.cmdSuchDoc", "cmdDiminTime", "cmdImproveTime", "cmdImproveTime"});
        d->key("Schaden", Qt::Key_F3);
        QCOMPARE(d->messages().size(), 1);
        const QList<RecordEntry>& entries = d->program().record.entries();
        QCOMPARE(d->text("lstVerlauf").split('|').size(), 6);
        QCOMPARE(entries[0].inputs, "Kästchen 4 → 3, zu Hause, Mindestwurf 12");
        QCOMPARE(entries[0].dice, "13 3 2");
        QCOMPARE(entries[0].outcome, "1 Erfolge, Heilungsdauer 288 hrs = 12 Tage, "
                                     "Gesamtzeit 288 hrs = 12 Tage");
        QCOMPARE(entries[1].outcome, "Bitte im Feld „Schadenskästchen“ eine ganze Zahl eingeben.");
        QCOMPARE(entries[1].inputs, "Kästchen x;\"");
        QCOMPARE(entries[2].dice, "Gebräuche 4 4; 2W6 1 1");
        QCOMPARE(entries[3].outcome, "Ausrüstungsstufe 1, Zeitraum 14 Tage, 3 Erfolge");
        QCOMPARE(entries[5].outcome, "Ausrüstungsstufe 1, Zeitraum 3,5 Tage, 1 Erfolge");
        d->click("cmdKopieren");
        QCOMPARE(QApplication::clipboard()->text(), d->program().record.plainText());
        QTemporaryDir dir;
        static_cast<Verlauf*>(d->find("Verlauf."))->saveTo(dir.filePath("v.csv"));
        QFile file(dir.filePath("v.csv"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(file.readAll()).split("\r\n");
        QCOMPARE(lines[0], "Uhrzeit;Aktion;Eingaben;Würfel;Von Hand;Ergebnis");
        for (qsizetype i = 0; i < entries.size(); ++i) {
            const RecordEntry& e = entries[i];
            QCOMPARE(csvFields(lines[i + 1]), QStringList({e.time.toString("HH:mm:ss"), e.action,
                                                           e.inputs, e.dice, "nein", e.outcome}));
        }
        static_cast<Verlauf*>(d->find("Verlauf."))->saveTo(dir.filePath("nowhere/v.csv"));
        QCOMPARE(d->messages().size(), 1);
        d->click("cmdLeeren");
        QCOMPARE(d->text("lstVerlauf"), "");
    }

    // A window that goes away while its own message box is open, closed by a screen reader's
    // "press" on one of its buttons or with the main window: the box ends with it and nothing
    // touches the window afterwards.
    void boxesOutliveNothing_data() {
        QTest::addColumn<QString>("search");
        QTest::addColumn<QString>("pressed"); // "": the main window is closed
        QTest::addColumn<QList<int>>("faces");
        QTest::newRow("main window, refusal") << ""
                                              << "" << QList<int>{};
        QTest::newRow("normal, second refusal") << "cmdNormalfall"
                                                << "cmdUebernehmen" << QList{4, 1, 1};
        QTest::newRow("emergency, main window") << "cmdNotfall"
                                                << "" << QList{1, 1};
    }
    void boxesOutliveNothing() {
        QFETCH(QString, search);
        QFETCH(QString, pressed);
        QFETCH(QList<int>, faces);
        QApplication::setQuitOnLastWindowClosed(false);
        app::Programm program(scriptedDice(faces)); // the real, modal message boxes
        QWidget* main = program.start();
        QWidget* window = main;
        const auto child = [](QWidget* w, const QString& name) {
            return w->findChild<QAbstractButton*>(name);
        };
        if (search.isEmpty()) {
            main->findChild<QLineEdit*>("Schaden")->setText("x");
        } else {
            child(main, "Krankenhaus")->click();
            child(main, "cmdSuchDoc")->click();
            child(program.auswahl.window(), search)->click();
            for (QWidget* top : QApplication::topLevelWidgets())
                if (top->isVisible() && top != main)
                    window = top;
            if (faces.size() == 3) // an illegal provider: 1 + 1 - 2 is the second refusal
                child(window, "optIllegal")->click();
        }
        const QPointer<QWidget> watched = window;
        QTimer::singleShot(0, window, [&] {
            QVERIFY(QApplication::activeModalWidget());
            if (pressed.isEmpty())
                main->close();
            else
                QAccessible::queryAccessibleInterface(child(window, pressed))
                    ->actionInterface()
                    ->doAction(QAccessibleActionInterface::pressAction());
        });
        QTimer guard; // a box still open after its window is gone must not hang the test
        connect(&guard, &QTimer::timeout, this, [] {
            if (QWidget* box = QApplication::activeModalWidget())
                box->close();
        });
        guard.start(2000);
        child(window, search.isEmpty() ? "cmdHeilen" : "cmdSuchDoc")->click();
        QTRY_VERIFY(watched.isNull());
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        QApplication::setQuitOnLastWindowClosed(true);
    }
};

SANIVEX_WINDOW_TEST_MAIN(tst_Program)
#include "tst_program.moc"
