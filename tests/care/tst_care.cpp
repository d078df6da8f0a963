// The care rules: both doctor searches with scripted dice (their modifier tables, the
// etiquette test, the doctor roll and both refusals), the base period, the doctor table at
// every row edge, and the trade of spare successes at its limits.

#include "ScriptedDice.h"
#include "care/CareTexts.h"
#include "care/EmergencySearch.h"
#include "care/NormalSearch.h"
#include "numbers/Text.h"

#include <QTest>
#include <limits>

using namespace care;
Q_DECLARE_METATYPE(care::NormalSearchInput)
Q_DECLARE_METATYPE(care::EmergencySearchInput)

class tst_Care : public QObject {
    Q_OBJECT

  private slots:
    void normal_data();
    void normal();
    void emergency_data();
    void emergency();
    void tables_data();
    void tables();
    void trade();
};

void tst_Care::normal_data() {
    QTest::addColumn<NormalSearchInput>("in");
    QTest::addColumn<QList<int>>("faces");
    QTest::addColumn<QString>("lines"); // lstModifMeld, "|" between the lines
    // Modif, FertMod, Zeitraum, Erfolge, then the doctor's skill and equipment (-1: no doctor
    // roll, the first refusal), or the refusal of the input.
    QTest::addColumn<QString>("outcome");
    using P = Provider;
    const QString whole = numbers::notAWholeNumber(texts::fieldGebraeuche);
    // clang-format off
    QTest::newRow("nothing chosen") << NormalSearchInput{.gebraeuche = "1"} << QList{4, 3, 3}
        << "" << "0 0 7 1 5 3";
    QTest::newRow("deltaware from the company") << NormalSearchInput{P::Konzern, {}, "",
        "Deltaware", "", "3"} << QList{6, 6, 2, 1, 1, 1, 1} << "Konzerneigen: +2|Deltaware: +8"
        << "10 4 180 1 5 3";
    QTest::newRow("second refusal") << NormalSearchInput{P::Illegal, {}, "", "", "", "2"}
        << QList{3, 1, 1, 1} << "Illegal: -1" << "-1 -2 1 1 0 0";
    QTest::newRow("every die succeeds") << NormalSearchInput{P::Oeffentlich,
        Connection::Schieber, "Kosmetisch", "", "Legal", "3"} << QList{1, 1, 1, 6, 6}
        << "Öffentlich: -2|Schieber: -1|Kosmetisch: -1|Legal: -1" << "-5 -1 2 3 7 4";
    QTest::newRow("all five groups in order") << NormalSearchInput{P::Privat,
        Connection::Strassendoc, "Nanochirugie", "Standardbioware", "Militärisch/Klasse C", "1"}
        << QList{5} << "Privat: +1|Strassendoc: -2|Nanochirugie: +2|Standardbioware: +2|"
                       "Militärisch/Klasse C: +2" << "5 0 7 0 -1 -1";
    QTest::newRow("etiquette no number") << NormalSearchInput{.gebraeuche = "x"} << QList<int>{}
        << "" << whole;
    QTest::newRow("100 etiquette dice") << NormalSearchInput{.gebraeuche = "100"}
        << QList<int>(100, 1) << "" << "0 0 7 0 -1 -1";
    QTest::newRow("101 etiquette dice") << NormalSearchInput{.gebraeuche = "101"} << QList<int>{}
        << "" << texts::tooManyEtiquetteDice;
    QTest::newRow("etiquette beyond 16 bits") << NormalSearchInput{.gebraeuche = "40000"}
        << QList<int>{} << "" << texts::tooManyEtiquetteDice;
    QTest::newRow("endless sixes") << NormalSearchInput{.gebraeuche = "1"} << QList<int>(6000, 6)
        << "" << texts::runOfSixes;
    // clang-format on
}

void tst_Care::normal() {
    QFETCH(NormalSearchInput, in);
    QFETCH(QList<int>, faces);
    QFETCH(QString, lines);
    QFETCH(QString, outcome);
    const NormalVersorgungState before{.Fertigkeit = -1, .Equipment = -1, .EquipmentBasis = -1};
    const auto s = normalSearch(in, before, *scriptedDice(faces));
    if (s.refused()) {
        QCOMPARE(s.refusal(), outcome);
        return;
    }
    QCOMPARE(s->meldungen.join('|'), lines);
    const NormalVersorgungState& v = s->state;
    QCOMPARE(QStringList({QString::number(v.Modif), QString::number(v.FertMod),
                          QString::number(v.Zeitraum), QString::number(v.Erfolge),
                          QString::number(v.Fertigkeit), QString::number(v.Equipment)})
                 .join(' '),
             outcome);
    QCOMPARE(s->MW, v.Modif + 4);
    QCOMPARE(s->etiquette.successes, v.Erfolge);
    QCOMPARE(s->firstRefusal(), v.Erfolge < 1);
    QCOMPARE(s->tradeOpens(), v.Erfolge > 1);
    QCOMPARE(v.EquipmentBasis, v.Equipment);
    if (s->doctor)
        QCOMPARE(s->doctor->doctor.refused, v.Fertigkeit == 0);
}

void tst_Care::emergency_data() {
    QTest::addColumn<EmergencySearchInput>("in");
    QTest::addColumn<QList<int>>("faces");
    QTest::addColumn<QString>("lines");
    QTest::addColumn<int>("modif");
    QTest::addColumn<int>("skill");
    // clang-format off
    QTest::newRow("start state: default contract, refusal") << EmergencySearchInput{
        RescueService::Illegal} << QList{1, 1} << "Öffentlich/Illegal: -1|Keiner: -1" << -2 << 0;
    QTest::newRow("every group, both boxes") << EmergencySearchInput{RescueService::Rapidmed,
        RescueTeam::HTR, "Gold", "C oder D", true, true} << QList{4, 4}
        << "Rapidmed o.ä.: +1|High Threat Reaction: -1|Gold: +1|Gegend C oder D: -1|SINlos: -1|"
           "Unter Arrest: -2" << -3 << 4;
    // clang-format on
}

void tst_Care::emergency() {
    QFETCH(EmergencySearchInput, in);
    QFETCH(QList<int>, faces);
    QFETCH(QString, lines);
    QFETCH(int, modif);
    QFETCH(int, skill);
    const auto s = emergencySearch(in, {}, *scriptedDice(faces));
    QCOMPARE(s->meldungen.join('|'), lines);
    QCOMPARE(s->selectDefaultContract, in.kontrakt.isEmpty());
    QCOMPARE(s->state.Modif, modif);
    QCOMPARE(s->doctor.S, modif + faces[0] + faces[1]);
    QCOMPARE(s->state.Fertigkeit, skill);
    QCOMPARE(s->doctor.doctor.refused, s->doctor.S < 1);
}

// Every row of every care table as the rules state it: the table, its input, and what the row
// yields. A modifier row gives Modif, FertMod and the lines the search lists.
void tst_Care::tables_data() {
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("in");
    QTest::addColumn<QString>("out");
    const auto row = [](const char* table, const char* in, const char* out) {
        QTest::addRow("%s %s", table, in)
            << table << QString::fromUtf8(in) << QString::fromUtf8(out);
    };
    // clang-format off
    row("Anbieter", "Konzerneigen", "2 0 Konzerneigen: +2");
    row("Anbieter", "Privat", "1 -1 Privat: +1"); row("Anbieter", "Illegal", "-1 -2 Illegal: -1");
    row("Anbieter", "Öffentlich", "-2 -1 Öffentlich: -2");
    row("Anbieter", "Klinik", "0 0 Klinik: +0"); row("Anbieter", "Krankenhaus", "2 0 Krankenhaus: +2");
    row("Connection", "Schieber", "-1 0 Schieber: -1");
    row("Connection", "Straßendoc", "-2 0 Strassendoc: -2");
    row("Art", "Kosmetisch", "-1 0 Kosmetisch: -1"); row("Art", "Implantat", "1 0 Implantat: +1");
    row("Art", "Therapeutisch", "0 0 Therapeutisch: +0");
    row("Art", "Transimplantat", "1 0 Transimplantat: +1");
    row("Art", "Trauma", "0 0 Trauma: +0"); row("Art", "Nanochirugie", "2 0 Nanochirugie: +2");
    row("Art", "kosmetisch", "0 0"); // exact and case-sensitive
    row("Kategorie", "Standardcyberware", "0 0 Standardcyberware: +0");
    row("Kategorie", "Alphaware", "2 1 Alphaware: +2");
    row("Kategorie", "Betaware", "4 2 Betaware: +4");
    row("Kategorie", "Deltaware", "8 4 Deltaware: +8");
    row("Kategorie", "Standardbioware", "2 1 Standardbioware: +2");
    row("Kategorie", "Kosmetische Bioware", "2 0 Kosmetische Bioware: +2");
    row("Kategorie", "Kultivierte Bioware", "4 2 Kultivierte Bioware: +4");
    row("Kategorie", "Nanoware", "4 2 Nanoware: +4");
    row("Legalität", "Legal", "-1 0 Legal: -1");
    row("Legalität", "Paralegal/Klasse A", "0 0 Paralegal/Klasse A: +0");
    row("Legalität", "Sicherheit/Klasse B", "1 0 Sicherheit/Klasse B: +1");
    row("Legalität", "Militärisch/Klasse C", "2 0 Militärisch/Klasse C: +2");
    // The emergency search always lists a contract; "Basis" stands in where the row is not
    // about the contract, and its line is left out.
    row("Dienstleister", "Sanivex", "2 Sanivex: +2");
    row("Dienstleister", "Rapidmed", "1 Rapidmed o.ä.: +1");
    row("Dienstleister", "Privat", "0 Privat: +0");
    row("Dienstleister", "Öffentlich/Illegal", "-1 Öffentlich/Illegal: -1");
    row("Rettungsteam", "High-Threat", "-1 High Threat Reaction: -1");
    row("Rettungsteam", "Standard/Kriseneinsatz", "0 Std/Kriseinsatz: +0");
    row("Kontrakt", "Super-Platin", "3 Super-Platin: +3"); row("Kontrakt", "Platin", "2 Platin: +2");
    row("Kontrakt", "Gold", "1 Gold: +1"); row("Kontrakt", "Basis", "0 Basis: +0");
    row("Kontrakt", "Keiner", "-1 Keiner: -1"); row("Kontrakt", "", "-1 Keiner: -1");
    row("Gegend", "AAA oder AA", "1 Gegend AAA oder AA: +1");
    row("Gegend", "A oder B", "0 Gegend A oder B: +0");
    row("Gegend", "C oder D", "-1 Gegend C oder D: -1");
    row("Gegend", "E oder Z", "-2 Gegend E oder Z: -2");
    row("Situation", "SINlos", "-1 SINlos: -1"); row("Situation", "Arrest", "-2 Unter Arrest: -2");
    // The doctor table: skill and equipment level for the 2W6 result with its modifier.
    row("Arzt", "-6", "0 0 refused"); row("Arzt", "0", "0 0 refused"); row("Arzt", "1", "2 1");
    row("Arzt", "2", "3 1"); row("Arzt", "3", "3 2"); row("Arzt", "4", "4 2"); row("Arzt", "5", "4 2");
    row("Arzt", "6", "5 3"); row("Arzt", "8", "5 3"); row("Arzt", "9", "6 4"); row("Arzt", "10", "6 4");
    row("Arzt", "11", "7 4"); row("Arzt", "12", "7 5"); row("Arzt", "13", "8 5"); row("Arzt", "14", "9 6");
    row("Arzt", "15", "10 6"); row("Arzt", "18", "10 6");
    // The base period in days for FertMod.
    row("Zeitraum", "-3", "1"); row("Zeitraum", "-2", "1"); row("Zeitraum", "-1", "2");
    row("Zeitraum", "0", "7"); row("Zeitraum", "1", "14"); row("Zeitraum", "2", "30");
    row("Zeitraum", "3", "60"); row("Zeitraum", "4", "180"); row("Zeitraum", "5", "180");
    // clang-format on
}

void tst_Care::tables() {
    QFETCH(QString, table);
    QFETCH(QString, in);
    QFETCH(QString, out);
    const auto n = [](int v) { return QString::number(v); };
    // The options in the order the rules test them, by their captions.
    const QStringList providers{"Konzerneigen", "Privat", "Illegal",
                                "Öffentlich",   "Klinik", "Krankenhaus"};
    const QStringList services{"Sanivex", "Rapidmed", "Privat", "Öffentlich/Illegal"};
    const bool normal =
        QStringList{"Anbieter", "Connection", "Art", "Kategorie", "Legalität"}.contains(table);
    QString got;
    if (normal) {
        NormalSearchInput i{.gebraeuche = "1"};
        if (table == "Anbieter")
            i.provider = Provider(providers.indexOf(in));
        if (table == "Connection")
            i.connection = in == "Schieber" ? Connection::Schieber : Connection::Strassendoc;
        if (table == "Art")
            i.art = in;
        if (table == "Kategorie")
            i.kategorie = in;
        if (table == "Legalität")
            i.legalitaet = in;
        const auto s = prepareNormalSearch(i, {});
        got = QStringList{n(s->state.Modif), n(s->state.FertMod), s->meldungen.join('|')}
                  .join(' ')
                  .trimmed();
    } else if (table == "Arzt") {
        const Doctor d = BestimmeArzt(Int16(in.toInt()));
        got = n(d.Fertigkeit) + ' ' + n(d.Equipment) + (d.refused ? " refused" : "");
    } else if (table == "Zeitraum") {
        got = n(int(BerechneGrundzeitraum(Int16(in.toInt()))));
    } else {
        EmergencySearchInput i{.kontrakt = table == "Kontrakt" ? in : "Basis"};
        if (table == "Dienstleister")
            i.service = RescueService(services.indexOf(in));
        if (table == "Rettungsteam")
            i.team = in == "High-Threat" ? RescueTeam::HTR : RescueTeam::Kriseneinsatz;
        if (table == "Gegend")
            i.gegend = in;
        i.sinlos = in == "SINlos";
        i.arrest = in == "Arrest";
        const auto s = prepareEmergencySearch(i, {});
        QStringList lines = s->meldungen;
        if (table != "Kontrakt")
            lines.removeOne("Basis: +0");
        got = n(s->state.Modif) + ' ' + lines.join('|');
    }
    QCOMPARE(got, out);
}

void tst_Care::trade() {
    using S = NormalVersorgungState;
    const auto run = [](S s, auto step, int times) {
        for (int i = 0; i < times; ++i) {
            const auto r = step(s);
            if (r.refused())
                break;
            s = *r;
        }
        return QList<float>{float(s.Equipment), float(s.Erfolge), s.Zeitraum};
    };
    const S found{.Zeitraum = 7, .Erfolge = 3, .Equipment = 3, .EquipmentBasis = 3};
    QCOMPARE(run(found, improveQual, 3), QList<float>({5, 1, 7})); // never the last success
    QCOMPARE(run(found, diminQual, 2), QList<float>({2, 4, 7}));   // one below the level found
    QCOMPARE(
        run({.Zeitraum = 7, .Erfolge = 20, .Equipment = 3, .EquipmentBasis = 3}, improveQual, 10),
        QList<float>({9, 14, 7})); // the level found plus 6
    QCOMPARE(run(found, improveTime, 3), QList<float>({3, 1, 1.75f}));
    QCOMPARE(run({.Zeitraum = 7, .Erfolge = 1}, diminTime, 1), QList<float>({0, 2, 14}));
    // Doubling stops where the period or the successes would leave their range.
    const float top = std::numeric_limits<float>::max();
    QVERIFY(diminTime({.Zeitraum = top, .Erfolge = 1}).refused());
    QVERIFY(diminTime({.Zeitraum = 1, .Erfolge = 32767}).refused());
    QVERIFY(diminQual({.Erfolge = 32767, .Equipment = 3, .EquipmentBasis = 3}).refused());
}

QTEST_GUILESS_MAIN(tst_Care)
#include "tst_care.moc"
