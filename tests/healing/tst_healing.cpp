// The healing rules: whole presses of "HEILEN!" with scripted dice, at the boundaries of the
// damage levels, lifestyles, care conditions and modifier tables, the hospital tariff, and the
// refusals that name the field.

#include "ScriptedDice.h"
#include "healing/HealingTables.h"
#include "healing/HealingTexts.h"
#include "numbers/Text.h"

#include <QTest>

using namespace healing;
using CC = CareCondition;
Q_DECLARE_METATYPE(healing::HealingInput)

using H = HealingInput;
using L = Lifestyle;

static Result<Press> press(const HealingInput& in, QList<int> faces, numbers::Amount kosten = {}) {
    return heal(in, {.Gesamtzeit = 10.0f, .Kosten = kosten}, *scriptedDice(std::move(faces)));
}

class tst_Healing : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    // A press's lines and numbers, or (with no numbers) its refusal, whatever dice were drawn.
    void presses_data() {
        QTest::addColumn<HealingInput>("in");
        QTest::addColumn<QList<int>>("faces");
        QTest::addColumn<QString>("lines");       // Meldungen, "|" between them, or the refusal
        QTest::addColumn<QList<float>>("result"); // target, base period, duration, running cost
        const QString home = "Grundmindestwurf: %1|Verletzungsmod.: %2|";
        const QString hospital = home + "Sie sind im Krankenhaus!|";
        const QString attributes = "Konstitutionsmodifikator: %1|Willenskraftmodifikator: %2|"
                                   "Biotech Fertigkeit des Arztes: %3";
        const auto refuse = [](const char* tag, const H& in, const QString& refusal) {
            QTest::newRow(tag) << in << QList<int>() << refusal << QList<float>();
        };
        using namespace texts;
        // clang-format off
        QTest::newRow("home, worse lifestyle, no success") << H{"4"} << QList{2, 2, 2}
            << home.arg(4).arg(2) + "Lebensstil schlechter als benötigt: +6"
            << QList<float>{12, 288, 576, 0};
        QTest::newRow("floor of 2, two hours") << H{.Schaden = "1", .lifestyle = L::Luxus}
            << QList{1, 1, 2} << home.arg(1).arg(1) + "Lebensstil besser als benötigt: -2"
            << QList<float>{2, 2, 2, 0};
        QTest::newRow("three boxes, bad circumstances") << H{.Schaden = "3",
            .care = CC::schlechteUmst, .lifestyle = L::Mittelschicht} << QList{6, 2, 6, 1, 1}
            << home.arg(3).arg(2) + "Lebensstil ausreichend|Schlechte Umstände: +1"
            << QList<float>{6, 144, 72, 0};
        QTest::newRow("nine boxes, terrible circumstances, bioware") << H{.Schaden = "9",
            .BioIndex = "3", .care = CC::furchtbareUmst, .lifestyle = L::Oberschicht, .dokBio = true}
            << QList{1, 6, 6, 1, 1}
            << home.arg(9).arg(3) + "Patient hat Bioware: +2|Lebensstil ausreichend|"
               "Furchtbare Umstände: +3" << QList<float>{17, 408, 816, 0};
        QTest::newRow("hospital, 500 a day") << H{.Schaden = "4", .txtBioTech = "1",
            .care = CC::Krankenhaus} << QList{6, 1, 1, 1}
            << hospital.arg(4).arg(2) + "Essenzmodifikator: +0|" + attributes.arg(0).arg(0).arg(0)
            << QList<float>{6, 288, 288, 6000};
        QTest::newRow("ten boxes force hospital, tariff with skill") << H{.Schaden = "10",
            .lifestyle = L::Oberschicht} << QList{3, 3, 3} << hospital.arg(10).arg(4) +
               "Essenzmodifikator: +0|" + attributes.arg(0).arg(0).arg(-5)
            << QList<float>{9, 432, 864, 36400};
        QTest::newRow("magical care, awakened, communication") << H{.Schaden = "4",
            .care = CC::Krankenhaus, .magischeBetreuung = true, .Erwachter = true,
            .Kommunikation = true} << QList{4, 1, 1}
            << hospital.arg(4).arg(2) + "Langfristige magische Betreuung: -2|"
               "Patient ist Erwachter: +2|Essenzmodifikator: +0|Patient/Arzt Kommunikation gestört: "
               "+2|" + attributes.arg(0).arg(0).arg(-5) << QList<float>{3, 144, 144, 6000};
        QTest::newRow("undocumented wares win, attributes count") << H{.Schaden = "5",
            .txtKonstitution = "4", .Willenskraft = "7", .BioIndex = "2.2", .EssenzDok = "3",
            .txtBioTech = "3", .care = CC::Krankenhaus, .dokBio = true, .undokBio = true,
            .dokCyb = true, .undokCyb = true} << QList{6, 6, 2, 1, 1, 2}
            << hospital.arg(5).arg(2) + "Patient hat undokumentierte Bioware: +3|"
               "Essenzmodifikator: +2|" + attributes.arg(-1).arg(-2).arg(-3)
            << QList<float>{6, 288, 288, 6000};
        refuse("101 dice", H{"4", "101"}, tooManyDice());
        refuse("bio-index read at home", H{.Schaden = "4", .BioIndex = "", .dokBio = true},
            numbers::notANumber(fieldBioIndex));
        refuse("essence read in hospital", H{.Schaden = "4", .EssenzDok = "-",
            .care = CC::Krankenhaus, .dokCyb = true}, numbers::notANumber(fieldEssenz));
        refuse("doctor's share beyond 16 bits", H{.Schaden = "10", .txtBioTech = "656"},
            fieldNearerZero("Der Kostenanteil der Biotech-Fertigkeit", fieldBioTech));
        refuse("bioware modifier beyond 16 bits", H{.Schaden = "4", .BioIndex = "1e6", .dokBio = true},
            fieldNearerZero("Der Bioware-Modifikator", fieldBioIndex));
        refuse("target beyond 16 bits", H{"32767"}, tooLarge("Der Mindestwurf"));
        refuse("base period beyond 16 bits", H{"700"}, tooLarge("Der Grundzeitraum"));
        QTest::newRow("endless sixes") << H{"4"} << QList<int>(6000, 6) << runOfSixes << QList<float>();
        // clang-format on
    }

    void presses() {
        QFETCH(HealingInput, in);
        QFETCH(QList<int>, faces);
        QFETCH(QString, lines);
        QFETCH(QList<float>, result);
        const auto p = press(in, faces);
        if (result.isEmpty()) {
            QCOMPARE(p.refusal(), lines);
            return;
        }
        QVERIFY2(!p.refused(), qPrintable(p.refusal()));
        QCOMPARE(p->Meldungen.join('|'), lines);
        const Form1State& s = p->state;
        QCOMPARE(QList<float>({float(s.Mindestwurf), s.Grundzeitraum, s.Heilungsdauer,
                               float(s.Kosten.ticks()) / 10000}),
                 result);
        QCOMPARE(s.Gesamtzeit, 10.0f + s.Heilungsdauer);
        QCOMPARE(p->hospital, result[3] > 0);
        QCOMPARE(s.Schadenskaestchen, in.Schaden.toInt() - 1);
        // Undocumented ware wins over documented: the window is told to untick the documented box.
        QCOMPARE(QList({p->changes.uncheckDokBio, p->changes.uncheckDokCyb}),
                 QList({in.undokBio, in.undokCyb}));
        // A running total beyond every amount refuses the hospital press that would add to it.
        const auto costly = press({.Schaden = "1", .care = CC::Krankenhaus}, {1, 1, 1},
                                  numbers::Amount::fromTicks(std::numeric_limits<qint64>::max()));
        QCOMPARE(costly.refusal(), texts::costTooLarge);
    }

    // Every row of every table of the healing test as the rules state it: the table, its input,
    // and what the row yields. Modifier rows give the number the target grows by, which must also
    // be the number their line shows.
    void tables_data() {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("in");
        QTest::addColumn<QString>("out");
        const auto row = [](const char* table, const char* in, const char* out) {
            QTest::addRow("%s %s", table, in) << table << in << QString::fromUtf8(out);
        };
        // clang-format off
        row("Schadniveau", "-5", "Leicht 1"); row("Schadniveau", "2", "Leicht 1");
        row("Schadniveau", "3", "Mittel 2"); row("Schadniveau", "5", "Mittel 2");
        row("Schadniveau", "6", "Schwer 3"); row("Schadniveau", "9", "Schwer 3");
        row("Schadniveau", "10", "Tödlich 4"); row("Schadniveau", "32767", "Tödlich 4");
        row("Mindstil", "Leicht", "Unterschicht 2"); row("Mindstil", "Mittel", "Mittelschicht 3");
        row("Mindstil", "Schwer", "Oberschicht 4"); row("Mindstil", "Tödlich", "Krankenhaus 5");
        row("Mindstil", "Todlich", "- -1"); // no level of that name: nothing written
        row("Lebensstil", "Strasse", "0"); row("Lebensstil", "Squatter", "1");
        row("Lebensstil", "Unterschicht", "2"); row("Lebensstil", "Mittelschicht", "3");
        row("Lebensstil", "Oberschicht", "4"); row("Lebensstil", "Luxus", "4");
        row("Konstitution", "3", "0"); row("Konstitution", "4", "-1"); row("Konstitution", "6", "-1");
        row("Konstitution", "7", "-2"); row("Konstitution", "9", "-2"); row("Konstitution", "10", "-3");
        row("Willenskraft", "3", "0"); row("Willenskraft", "7", "-2"); row("Willenskraft", "12", "-3");
        row("Arzt", "-1", "0"); row("Arzt", "0", "4"); row("Arzt", "1", "0"); row("Arzt", "2", "-2");
        row("Arzt", "3", "-3"); row("Arzt", "4", "-3"); row("Arzt", "5", "-4"); row("Arzt", "6", "-4");
        row("Arzt", "7", "-5"); row("Arzt", "12", "-5");
        // Essence: the undocumented, then the documented column.
        row("Essenz", "6", "0 0"); row("Essenz", "5.01", "0 0"); row("Essenz", "5", "1 0");
        row("Essenz", "3.01", "1 0"); row("Essenz", "3", "2 1"); row("Essenz", "1.01", "2 1");
        row("Essenz", "1", "3 2"); row("Essenz", "0.01", "3 2"); row("Essenz", "0.005", "0 0");
        row("Essenz", "0", "3 2"); row("Essenz", "-0.5", "4 2"); row("Essenz", "-1.5", "4 4");
        // Bioware: half the index rounded up when documented, all of it when not.
        row("dokBio", "3", "2"); row("dokBio", "5", "3"); row("dokBio", "4", "2");
        row("dokBio", "0.5", "1"); row("dokBio", "-3", "-1"); row("dokBio", "0", "0");
        row("undokBio", "4", "4"); row("undokBio", "2.2", "3"); row("undokBio", "-2.5", "-2");
        // The change handlers' limits: a number beyond every range, a fraction above the limit.
        row("KonstGrenze", "1e309", "Was bist du für ein Tier?");
        row("WilleGrenze", "20.5", "Ja, klar! Stahlwille!");
        // The tariff for 16 hours: boxes before the press, doctor's skill, K hospital, M magic.
        row("Kosten", "9 8 K", "333.33"); row("Kosten", "10 8 K", "1066.67");
        row("Kosten", "10 -3 K", "516.67"); row("Kosten", "4 8 KM", "666.67");
        row("Kosten", "10 0 KM", "1000"); row("Kosten", "10 8 M", "0");
        // clang-format on
    }

    void tables() {
        QFETCH(QString, table);
        QFETCH(QString, in);
        QFETCH(QString, out);
        Form1State s;
        const auto n = [](int v) { return QString::number(v); };
        // The target grows by what the line says after its prefix.
        const auto modifier = [&](const QString& prefix, const QString& line) {
            return line == prefix + n(s.Mindestwurf) ? n(s.Mindestwurf)
                                                     : line + " adds " + n(s.Mindestwurf);
        };
        const Int16 value = Int16(in.toInt());
        QString got;
        if (table == "Schadniveau") {
            Schadniveau(s, value);
            got = s.Schadensniveau + ' ' + n(s.Verletzungsmod);
        } else if (table == "Mindstil") {
            s.Mindestlebensstil = "-", s.MindeststilStufe = -1;
            Mindstil(s, in);
            got = s.Mindestlebensstil + ' ' + n(s.MindeststilStufe);
        } else if (table == "Lebensstil") { // the options from top to bottom
            const QStringList names{"Strasse",       "Squatter",    "Unterschicht",
                                    "Mittelschicht", "Oberschicht", "Luxus"};
            got = n(lifestyleLevel(Lifestyle(names.indexOf(in))));
        } else if (table == "Konstitution") {
            got = modifier("Konstitutionsmodifikator: ", checkkonst(s, value));
        } else if (table == "Willenskraft") {
            got = modifier("Willenskraftmodifikator: ", checkwille(s, value));
        } else if (table == "Arzt") {
            got = modifier("Biotech Fertigkeit des Arztes: ", checkarzt(s, value));
        } else if (table == "Essenz") {
            ControlChanges c;
            for (bool undok : {true, false}) {
                s.Mindestwurf = 0;
                got += modifier("Essenzmodifikator: +",
                                checkcyberware(s, undok, !undok, in.toFloat(), c));
                got += undok ? " " : "";
            }
        } else if (table.endsWith("Bio")) {
            uberprufeBioIndex(s, table == "undokBio", in.toFloat());
            got = s.BioMod == s.Mindestwurf ? n(s.BioMod) : "BioMod differs from the target";
        } else if (table.endsWith("Grenze")) {
            got = (table == "KonstGrenze" ? constitutionAboveLimit(in) : willpowerAboveLimit(in))
                      .value_or(QString());
        } else if (table == "Kosten") {
            const QStringList words = in.split(' ');
            s.Schadenskaestchen = Int16(words[0].toInt());
            s.Heilungsdauer = 16.0f;
            checkarztkosten(s, Int16(words[1].toInt()), words[2].contains('K'),
                            words[2].contains('M'));
            got = s.Kosten.text();
        }
        QCOMPARE(got, out);
    }
};

QTEST_GUILESS_MAIN(tst_Healing)
#include "tst_healing.moc"
