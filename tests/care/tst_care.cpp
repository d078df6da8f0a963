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
    QTest::newRow("cosmetic bioware keeps FertMod") << NormalSearchInput{P::Klinik, {}, "",
        "Kosmetische Bioware", "", "-3"} << QList<int>{} << "Klinik: +0|Kosmetische Bioware: +2"
        << "2 0 7 0 -1 -1";
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
    QTest::newRow("best of everything") << EmergencySearchInput{RescueService::Sanivex,
        RescueTeam::Kriseneinsatz, "Super-Platin", "AAA oder AA"} << QList{6, 6}
        << "Sanivex: +2|Std/Kriseinsatz: +0|Super-Platin: +3|Gegend AAA oder AA: +1" << 6 << 10;
    QTest::newRow("every group, both boxes") << EmergencySearchInput{RescueService::Rapidmed,
        RescueTeam::HTR, "Gold", "C oder D", true, true} << QList{4, 4}
        << "Rapidmed o.ä.: +1|High Threat Reaction: -1|Gold: +1|Gegend C oder D: -1|SINlos: -1|"
           "Unter Arrest: -2" << -3 << 4;
    QTest::newRow("zero contributions are listed") << EmergencySearchInput{RescueService::Privat,
        {}, "Basis", "E oder Z"} << QList{3, 1} << "Privat: +0|Basis: +0|Gegend E oder Z: -2"
        << -2 << 3;
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

void tst_Care::tables() {
    // clang-format off
    for (const auto& [S, skill, equipment] : {std::tuple{-6, 0, 0}, {0, 0, 0}, {1, 2, 1},
             {2, 3, 1}, {3, 3, 2}, {4, 4, 2}, {5, 4, 2}, {6, 5, 3}, {8, 5, 3}, {9, 6, 4},
             {10, 6, 4}, {11, 7, 4}, {12, 7, 5}, {13, 8, 5}, {14, 9, 6}, {15, 10, 6}, {18, 10, 6}}) {
        const Doctor d = BestimmeArzt(Int16(S));
        QCOMPARE(QList({int(d.Fertigkeit), int(d.Equipment), int(d.refused)}),
                 QList({skill, equipment, int(S < 1)}));
    }
    for (const auto& [fertMod, days] : {std::pair{-3, 1.0f}, {-2, 1.0f}, {-1, 2.0f}, {0, 7.0f},
             {1, 14.0f}, {2, 30.0f}, {3, 60.0f}, {4, 180.0f}, {5, 180.0f}})
        QCOMPARE(BerechneGrundzeitraum(Int16(fertMod)), days);
    // clang-format on
    QCOMPARE(contractEntries().join('|'), "Keiner|Super-Platin|Platin|Gold|Basis");
    QCOMPARE(entryTexts(areaRules()).join('|'), "AAA oder AA|A oder B|C oder D|E oder Z");
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
