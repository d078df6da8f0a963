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

#include <QAccessible>
#include <QtTest>
#include <QtWidgets>

class tst_Program : public QObject {
    Q_OBJECT

    const LocaleGuard german{QLocale(QLocale::German, QLocale::Germany)}; // "3,5 Tage"
    std::unique_ptr<Driver> d;

    Driver& start(QList<int> faces = {}) {
        d = std::make_unique<Driver>(scriptedDice(std::move(faces)));
        return *d;
    }
    bool on(const QString& name) const {
        return static_cast<QAbstractButton*>(d->find(name))->isChecked();
    }
    bool usable(const QString& name) const { return d->find(name)->isEnabled(); }
    // The keys of the snapshot entries that differ.
    static QStringList changed(const QMap<QString, QString>& a, const QMap<QString, QString>& b) {
        QStringList keys;
        for (auto it = a.begin(); it != a.end(); ++it)
            if (b.value(it.key()) != it.value())
                keys << it.key().section('.', -1);
        return keys;
    }
    void openSearch(const QString& button) {
        d->click("Krankenhaus");
        d->click("Form1.cmdSuchDoc");
        d->click(button);
    }

  private slots:
    void cleanup() {
        if (d)
            QCOMPARE(d->messages(), QStringList());
        d.reset();
        QCOMPARE(Driver::windows(), QStringList());
    }

    // Leaving hospital care resets what belongs to it, keeps the marks of magical care and of
    // the awakened patient, and leaves the bio-index to "zu Hause".
    void careModes() {
        start();
        d->click("Krankenhaus");
        for (const char* c : {"magischeBetreuung", "Erwachter", "undokBio", "undokCyb",
                              "Kommunikation", "Willenskraft", "txtBioTech", "cmdSuchDoc"})
            QVERIFY2(usable(c), c);
        QVERIFY(!usable("Luxus") && !usable("EssenzDok") && !usable("BioIndex"));
        for (const char* box :
             {"magischeBetreuung", "Erwachter", "undokBio", "undokCyb", "Kommunikation"})
            d->click(box);
        d->type("Willenskraft", "7");
        d->type("txtBioTech", "5");
        QVERIFY(usable("EssenzDok") && usable("BioIndex"));
        d->click("schlechteUmst");
        QVERIFY(on("magischeBetreuung") && on("Erwachter"));
        for (const char* c : {"undokBio", "undokCyb", "Kommunikation"})
            QVERIFY2(!on(c) && !usable(c), c);
        QVERIFY(!usable("magischeBetreuung") && !usable("EssenzDok") && !usable("cmdSuchDoc"));
        QCOMPARE(d->text("Willenskraft") + d->text("txtBioTech"), "38");
        QVERIFY(usable("Luxus") && usable("BioIndex")); // only "zu Hause" takes it away
        d->click("daheim");
        QVERIFY(!usable("BioIndex"));
        d->click("dokBio");
        d->click("Krankenhaus");
        d->click("dokCyb");
        d->click("furchtbareUmst");
        QVERIFY(!on("dokCyb") && !usable("dokCyb") && usable("BioIndex"));
        d->click("daheim");
        QVERIFY(usable("BioIndex")); // documented bioware counts at home too
    }

    // Each pair of ware boxes: ticking one unticks the other and unlocks its field.
    void wares() {
        start();
        d->click("Krankenhaus");
        for (const auto& [first, second, field] : {std::tuple{"undokBio", "dokBio", "BioIndex"},
                                                   {"dokBio", "undokBio", "BioIndex"},
                                                   {"undokCyb", "dokCyb", "EssenzDok"},
                                                   {"dokCyb", "undokCyb", "EssenzDok"}}) {
            d->click(first);
            d->click(second);
            QVERIFY2(!on(first) && on(second) && usable(field), second);
            d->click(second);
            QVERIFY2(!on(second) && usable(field), "unticking locks nothing");
        }
    }

    // Above the limit: the message, then a selected "1"; the limit itself and half-typed text
    // pass silently.
    void attributeLimits() {
        start();
        d->click("Krankenhaus");
        for (const auto& [field, limit, message] :
             {std::tuple{"txtKonstitution", "30", healing::texts::constitutionAboveLimit},
              {"Willenskraft", "20", healing::texts::willpowerAboveLimit}}) {
            QString typed;
            d->onMessage = [&](const QString&) { typed = d->text(field); };
            d->type(field, QString::number(QString(limit).toInt() + 1));
            QCOMPARE(d->messages(), QStringList{message});
            QCOMPARE(typed, QString::number(QString(limit).toInt() + 1)); // while the box is up
            QCOMPARE(d->find(field)->property("selectedText").toString(), "1");
            d->type(field, limit);
            d->type(field, "-");
            QCOMPARE(d->messages(), QStringList());
        }
    }

    // Every input reaches the press, and the window makes every caption of the result.
    void presses() {
        start({6, 6, 1, 3, 2, 6, 4, 2, 1, 2, 2, 2, 2, 2, 2, 2, 2});
        d->type("Schaden", "4");
        d->click("cmdHeilen");
        QCOMPARE(d->text("Meldungen"),
                 "Grundmindestwurf: 4|Verletzungsmod.: 2|Lebensstil schlechter als benötigt: +6");
        for (const auto& [label, caption] : {std::pair{"niveaulabel", "Schadensniveau ist Mittel"},
                                             {"Stillabel", "Benötigter Lebensstil Mittelschicht"},
                                             {"Modifk", "12"},
                                             {"lblGrundzeitraum", "288 hrs = 12 Tage"},
                                             {"lstErgebnis", "13|3|2"},
                                             {"lblErfolge", "1"},
                                             {"lblHeilungsdauer", "288 hrs = 12 Tage"},
                                             {"Schaden", "3"},
                                             {"lblGesamtzeit", "288 hrs = 12 Tage"},
                                             {"lblKosten", ""}})
            QCOMPARE(d->text(label), QString::fromUtf8(caption));

        // Ten boxes at "Luxus" force hospital care; every box and field read there.
        d->click("Luxus");
        d->type("Schaden", "10");
        d->click("cmdHeilen");
        QVERIFY(on("Krankenhaus") && !usable("Luxus"));
        QCOMPARE(d->text("lblKosten"), "18400 Nuyen");
        QCOMPARE(d->text("lblGesamtzeit"), "720 hrs = 30 Tage");
        for (const char* box :
             {"magischeBetreuung", "Erwachter", "undokBio", "undokCyb", "Kommunikation"})
            d->click(box);
        for (const auto& [field, text] : {std::pair{"Schaden", "2"},
                                          {"BioIndex", "2,2"},
                                          {"EssenzDok", "0,5"},
                                          {"txtKonstitution", "4"},
                                          {"Willenskraft", "12"},
                                          {"txtBioTech", "0"}})
            d->type(field, text);
        d->click("cmdHeilen");
        QCOMPARE(d->text("Meldungen"),
                 "Grundmindestwurf: 2|Verletzungsmod.: 1|Sie sind im Krankenhaus!|"
                 "Langfristige magische Betreuung: -2|Patient ist Erwachter: +2|"
                 "Patient hat undokumentierte Bioware: +3|Essenzmodifikator: +3|"
                 "Patient/Arzt Kommunikation gestört: +2|Konstitutionsmodifikator: -1|"
                 "Willenskraftmodifikator: -3|Biotech Fertigkeit des Arztes: 4");
        QCOMPARE(d->text("EssenzDok"), ""); // undocumented cyberware empties it
        QCOMPARE(d->text("Modifk"), "11");

        // The floor of 2 shows the value before it; the last box heals.
        d->click("daheim");
        d->click("Oberschicht");
        d->type("Schaden", "1");
        d->type("txtKonstitution", "2");
        d->click("cmdHeilen");
        QCOMPARE(d->text("Modifk"), "2  (0)");
        QCOMPARE(d->messages(), QStringList{healing::texts::healed});
        d->key("cmdHeilen", Qt::Key_Space);
        QCOMPARE(d->messages(), QStringList{healing::texts::notIll});
        QCOMPARE(d->text("Meldungen"), "");
        QCOMPARE(QApplication::focusWidget()->objectName(), "Schaden");

        // Enter heals from a field; Reset only blanks the running totals.
        d->type("Schaden", "3");
        d->key("Schaden", Qt::Key_Return);
        QCOMPARE(d->text("Schaden"), "2");
        const auto before = d->snapshot();
        d->key("cmdReset", Qt::Key_Return);
        QCOMPARE(changed(before, d->snapshot()),
                 QStringList({"Gesamtzeit", "Kosten", "lblGesamtzeit", "lblKosten"}));
    }

    // Unusable input or an endless run of sixes: one message, and nothing changes anywhere.
    void refusals() {
        start(QList{2, 2, 2} + QList<int>(12000, 6));
        d->type("Schaden", "4");
        d->click("cmdHeilen");
        const auto refused = [this](const QString& field, const QString& text,
                                    const QString& button) {
            d->type(field, text);
            const auto before = d->snapshot();
            d->click(button);
            QCOMPARE(d->messages().size(), 1);
            QCOMPARE(changed(before, d->snapshot()), QStringList());
        };
        refused("Schaden", "abc", "cmdHeilen");
        refused("Schaden", "40000", "cmdHeilen");
        d->type("Schaden", "4");
        refused("txtKonstitution", "x", "cmdHeilen");
        refused("txtKonstitution", "3", "cmdHeilen"); // sixes without end
        openSearch("cmdNormalfall");
        for (const char* text : {"abc", "101", "1"})
            refused("txtGebräuche", text, "NormalVersorgung.cmdSuchDoc");
    }

    void emergencySearch() {
        start({3, 4, 6, 6});
        openSearch("cmdNotfall");
        QCOMPARE(Driver::windows(), QStringList({"Form1", "NotfallVersorgung"}));
        d->click("NotfallVersorgung.cmdSuchDoc");
        QCOMPARE(d->text("lstModifMeld"), "Öffentlich/Illegal: -1|Keiner: -1");
        QCOMPARE(d->text("cmbKontrakt"), "Keiner");
        QCOMPARE(
            QStringList({d->text("lblModif"), d->text("lblWurf1"), d->text("lblWurf2"),
                         d->text("lblSumme"), d->text("lblFertigkeit"), d->text("lblEquipment")}),
            QStringList({"-2", "3", "4", "5", "4", "2"}));
        for (const char* input : {"chkArrest", "chkSIN", "optKriseneinsatz", "optSanivex"})
            d->click(input);
        d->type("cmbGegend", "C oder D");
        d->type("cmbKontrakt", "Gold");
        d->click("NotfallVersorgung.cmdSuchDoc");
        QCOMPARE(d->text("lstModifMeld"), "Sanivex: +2|Std/Kriseinsatz: +0|Gold: +1|"
                                          "Gegend C oder D: -1|SINlos: -1|Unter Arrest: -2");
        QCOMPARE(d->text("lblFertigkeit"), "7");
        d->click("NotfallVersorgung.cmdUebernehmen");
        QCOMPARE(d->text("txtBioTech"), "7");
        QCOMPARE(Driver::windows(), QStringList{"Form1"});
    }

    // The etiquette dice reach the main window's list; the trade opens with two successes;
    // the second refusal is announced while the old levels still show.
    void normalSearch() {
        start({4, 6, 2, 6, 1, 3, 2, 4, 1, 1, 3});
        openSearch("cmdNormalfall");
        for (const char* option : {"optKonzern", "optSchieber"})
            d->click(option);
        d->type("cmbArt", "Implantat");
        d->type("cmbKategorie", "Alphaware");
        d->type("cmbLegalität", "Legal");
        d->type("txtGebräuche", "3");
        d->click("NormalVersorgung.cmdSuchDoc");
        QCOMPARE(d->text("lstModifMeld"), "Konzerneigen: +2|Schieber: -1|Implantat: +1|"
                                          "Alphaware: +2|Legal: -1");
        QCOMPARE(QStringList({d->text("lblModif"), d->text("lblFertMod"), d->text("lblMindestwurf"),
                              d->text("lblZeitraum"), d->text("NormalVersorgung.lblErfolge"),
                              d->text("lstErgebnis"), d->text("lblSumme"), d->text("lblFertigkeit"),
                              d->text("lblEquipment")}),
                 QStringList({"3", "1", "7", "14 Tage", "2", "4|8|7", "6", "5", "3"}));
        d->click("cmdImproveTime");
        d->click("cmdDiminQual");
        QCOMPARE(d->text("lblZeitraum") + " " + d->text("lblEquipment") + " " +
                     d->text("NormalVersorgung.lblErfolge"),
                 "7 Tage 2 2");
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
        d->click("optKonzern");
        d->click("NormalVersorgung.cmdSuchDoc"); // 3 against 5
        QCOMPARE(d->messages(), QStringList{"Sorry, Kollego, keiner will dich behandeln!"});
        QCOMPARE(Driver::windows(), QStringList{"Form1"});
        QCOMPARE(d->text("lstErgebnis"), "3");
        d->click("Form1.cmdSuchDoc");
        d->click("cmdNormalfall");
        QVERIFY(!usable("cmdImproveQual")); // a reopened window starts afresh
        d->click("NormalVersorgung.cmdUebernehmen");
        QCOMPARE(d->text("txtBioTech"), "0");
    }

    void lifecycle() {
        start({6, 6});
        d->click("Krankenhaus");
        d->click("Form1.cmdSuchDoc");
        d->click("Form1.cmdSuchDoc");
        QCOMPARE(Driver::windows(), QStringList({"Auswahl", "Form1"}));
        d->click("cmdNotfall");
        d->click("NotfallVersorgung.cmdSuchDoc");
        d->click("Form1.cmdSuchDoc");
        d->click("cmdNotfall"); // the open window stays as it is
        QCOMPARE(d->text("lblFertigkeit"), "6");
        d->click("NotfallVersorgung.cmdCancel");
        QCOMPARE(d->text("txtBioTech"), "8");
        d->click("Form1.cmdSuchDoc");
        d->click("cmdNotfall");
        QCOMPARE(d->text("lblFertigkeit"), "");
        d->click("daheim"); // the field is written even while it cannot be used
        d->click("NotfallVersorgung.cmdUebernehmen");
        QCOMPARE(d->text("txtBioTech"), "6");
        d->click("cmdSanivexInfo");
        d->click("cmdSanivexInfo");
        d->click("Krankenhaus");
        d->click("Form1.cmdSuchDoc");
        d->click("cmdNormalfall");
        QCOMPARE(Driver::windows(), QStringList({"Form1", "NormalVersorgung", "SanivexInfo"}));
        d->find("Form1.")->close();
        QCOMPARE(Driver::windows(), QStringList());
    }

    // A window that goes away while its own message box is open, closed by a screen reader's
    // "press" on one of its buttons or with the main window: the box ends with it and nothing
    // touches the window afterwards.
    void boxesOutliveNothing_data() {
        QTest::addColumn<QString>("search");
        QTest::addColumn<QString>("pressed");
        QTest::addColumn<QList<int>>("faces"); // none: the search window refuses its input
        QTest::newRow("main window, refusal") << ""
                                              << "Form1." << QList<int>{};
        QTest::newRow("normal, first refusal") << "cmdNormalfall"
                                               << "cmdCancel" << QList{1};
        QTest::newRow("normal, second refusal") << "cmdNormalfall"
                                                << "cmdUebernehmen" << QList{4, 1, 1};
        QTest::newRow("normal, input") << "cmdNormalfall"
                                       << "Form1." << QList<int>{};
        QTest::newRow("emergency, refusal") << "cmdNotfall"
                                            << "cmdCancel" << QList{1, 1};
        QTest::newRow("emergency, main window") << "cmdNotfall"
                                                << "Form1." << QList{1, 1};
    }
    void boxesOutliveNothing() {
        QFETCH(QString, search);
        QFETCH(QString, pressed);
        QFETCH(QList<int>, faces);
        QApplication::setQuitOnLastWindowClosed(false);
        app::Programm program(scriptedDice(faces)); // the real, modal message boxes
        Form1* main = program.start();
        QWidget* window = main;
        if (!search.isEmpty()) {
            main->findChild<QRadioButton*>("Krankenhaus")->click();
            main->findChild<QPushButton*>("cmdSuchDoc")->click();
            program.auswahl.window()->findChild<QPushButton*>(search)->click();
            window = search == "cmdNotfall"
                         ? static_cast<QWidget*>(program.notfallVersorgung.window())
                         : program.normalVersorgung.window();
            if (faces.isEmpty())
                window->findChild<QLineEdit*>("txtGebräuche")->setText("x");
            if (faces.size() == 3) // an illegal provider: 1 + 1 - 2 is the second refusal
                window->findChild<QRadioButton*>("optIllegal")->click();
        } else {
            main->findChild<QLineEdit*>("Schaden")->setText("x");
        }
        const QPointer<QWidget> watched = window;
        QTimer::singleShot(0, window, [&] {
            QVERIFY(QApplication::activeModalWidget());
            if (pressed == "Form1.") {
                main->close();
            } else {
                auto* button = window->findChild<QPushButton*>(pressed);
                QAccessible::queryAccessibleInterface(button)->actionInterface()->doAction(
                    QAccessibleActionInterface::pressAction());
            }
        });
        // A box still open after the window is gone would hang the test: close it then.
        QTimer guard;
        connect(&guard, &QTimer::timeout, this, [] {
            if (QWidget* box = QApplication::activeModalWidget())
                box->close();
        });
        guard.start(2000);
        window->findChild<QPushButton*>(search.isEmpty() ? "cmdHeilen" : "cmdSuchDoc")->click();
        QTRY_VERIFY(watched.isNull());
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        QApplication::setQuitOnLastWindowClosed(true);
    }
};

SANIVEX_WINDOW_TEST_MAIN(tst_Program)
#include "tst_program.moc"
