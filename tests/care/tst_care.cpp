// The care rules: the normal search with scripted dice (the etiquette test, the doctor roll,
// both refusals and the input it refuses), every row of every modifier table of both searches,
// the base period and the doctor table at every row edge, and the trade of spare successes at
// its limits.

#include "ScriptedDice.h"
#include "care/CareTexts.h"
#include "care/EmergencySearch.h"
#include "care/NormalSearch.h"
#include "numbers/Text.h"

#include <QTest>

using namespace care;
Q_DECLARE_METATYPE(care::NormalSearchInput)
Q_DECLARE_METATYPE(care::EmergencySearchInput)

class tst_Care : public QObject {
    Q_OBJECT

  private slots:
    void normal_data() {
        QTest::addColumn<NormalSearchInput>("in");
        QTest::addColumn<QList<int>>("faces");
        // Erfolge, then the doctor's skill and equipment (-1: no doctor roll, the first refusal),
        // or the refusal of the input.
        QTest::addColumn<QString>("outcome");
        using N = NormalSearchInput;
        using P = Provider;
        // clang-format off
        QTest::newRow("nothing chosen") << N{.gebraeuche = "1"} << QList{4, 3, 3} << "1 5 3";
        QTest::newRow("deltaware from the company") << N{P::Konzern, {}, "", "Deltaware", "", "3"}
            << QList{6, 6, 2, 1, 1, 1, 1} << "1 5 3";
        QTest::newRow("second refusal") << N{P::Illegal, {}, "", "", "", "2"} << QList{3, 1, 1, 1}
            << "1 0 0";
        QTest::newRow("every die succeeds") << N{P::Oeffentlich, Connection::Schieber, "Kosmetisch",
            "", "Legal", "3"} << QList{1, 1, 1, 6, 6} << "3 7 4";
        QTest::newRow("first refusal") << N{P::Privat, Connection::Strassendoc, "Nanochirugie",
            "Standardbioware", "Militärisch/Klasse C", "1"} << QList{5} << "0 -1 -1";
        QTest::newRow("etiquette no number") << N{.gebraeuche = "x"} << QList<int>{}
            << numbers::notAWholeNumber(texts::fieldGebraeuche);
        QTest::newRow("100 etiquette dice") << N{.gebraeuche = "100"} << QList<int>(100, 1)
            << "0 -1 -1";
        QTest::newRow("101 etiquette dice") << N{.gebraeuche = "101"} << QList<int>{}
            << texts::tooManyEtiquetteDice;
        QTest::newRow("etiquette beyond 16 bits") << N{.gebraeuche = "40000"} << QList<int>{}
            << texts::tooManyEtiquetteDice;
        QTest::newRow("endless sixes") << N{.gebraeuche = "1"} << QList<int>(6000, 6)
            << texts::runOfSixes;
        // clang-format on
    }

    void normal() {
        QFETCH(NormalSearchInput, in);
        QFETCH(QList<int>, faces);
        QFETCH(QString, outcome);
        const NormalVersorgungState before{.Fertigkeit = -1, .Equipment = -1, .EquipmentBasis = -1};
        const auto s = normalSearch(in, before, *scriptedDice(faces));
        if (s.refused()) {
            QCOMPARE(s.refusal(), outcome);
            return;
        }
        const NormalVersorgungState& v = s->state;
        QCOMPARE(QString("%1 %2 %3").arg(v.Erfolge).arg(v.Fertigkeit).arg(v.Equipment), outcome);
        QCOMPARE(s->firstRefusal(), v.Erfolge < 1);
        QCOMPARE(s->tradeOpens(), v.Erfolge > 1);
        QCOMPARE(v.EquipmentBasis, v.Equipment);
    }

    // Every row of every care table as the rules state it, one row each: the input, then Modif,
    // FertMod and Zeitraum of the normal search, Modif of the emergency search (with the contract
    // it assumes), or the doctor's skill and equipment level for a 2W6 result; then the lines.
    void tables_data() {
        QTest::addColumn<QVariant>("in");
        QTest::addColumn<QString>("out");
        const auto row = [](auto in, const char* out) {
            const QVariant v = QVariant::fromValue(in);
            QTest::addRow("%s",
                          qPrintable(v.typeId() == QMetaType::Int ? "S " + v.toString() : out))
                << v << QString::fromUtf8(out);
        };
        using N = NormalSearchInput;
        using E = EmergencySearchInput;
        using P = Provider;
        // clang-format off
        row(N{P::Konzern}, "2 0 7 Konzerneigen: +2"); row(N{P::Privat}, "1 -1 2 Privat: +1");
        row(N{P::Illegal}, "-1 -2 1 Illegal: -1"); row(N{P::Oeffentlich}, "-2 -1 2 Öffentlich: -2");
        row(N{P::Klinik}, "0 0 7 Klinik: +0"); row(N{P::Krankenhaus}, "2 0 7 Krankenhaus: +2");
        row(N{.connection = Connection::Schieber}, "-1 0 7 Schieber: -1");
        row(N{.connection = Connection::Strassendoc}, "-2 0 7 Strassendoc: -2");
        row(N{.art = "Kosmetisch"}, "-1 0 7 Kosmetisch: -1"); row(N{.art = "Implantat"}, "1 0 7 Implantat: +1");
        row(N{.art = "Therapeutisch"}, "0 0 7 Therapeutisch: +0");
        row(N{.art = "Transimplantat"}, "1 0 7 Transimplantat: +1");
        row(N{.art = "Trauma"}, "0 0 7 Trauma: +0"); row(N{.art = "Nanochirugie"}, "2 0 7 Nanochirugie: +2");
        row(N{.art = "kosmetisch"}, "0 0 7"); // exact and case-sensitive
        row(N{.kategorie = "Standardcyberware"}, "0 0 7 Standardcyberware: +0");
        row(N{.kategorie = "Alphaware"}, "2 1 14 Alphaware: +2");
        row(N{.kategorie = "Betaware"}, "4 2 30 Betaware: +4");
        row(N{.kategorie = "Deltaware"}, "8 4 180 Deltaware: +8");
        row(N{P::Privat, {}, "", "Deltaware"}, "9 3 60 Privat: +1|Deltaware: +8");
        row(N{P::Privat, Connection::Strassendoc, "Nanochirugie", "Standardbioware",
            "Militärisch/Klasse C"}, "5 0 7 Privat: +1|Strassendoc: -2|Nanochirugie: +2|"
            "Standardbioware: +2|Militärisch/Klasse C: +2"); // all five groups in order
        row(N{.kategorie = "Standardbioware"}, "2 1 14 Standardbioware: +2");
        row(N{.kategorie = "Kosmetische Bioware"}, "2 0 7 Kosmetische Bioware: +2");
        row(N{.kategorie = "Kultivierte Bioware"}, "4 2 30 Kultivierte Bioware: +4");
        row(N{.kategorie = "Nanoware"}, "4 2 30 Nanoware: +4");
        row(N{.legalitaet = "Legal"}, "-1 0 7 Legal: -1");
        row(N{.legalitaet = "Paralegal/Klasse A"}, "0 0 7 Paralegal/Klasse A: +0");
        row(N{.legalitaet = "Sicherheit/Klasse B"}, "1 0 7 Sicherheit/Klasse B: +1");
        row(N{.legalitaet = "Militärisch/Klasse C"}, "2 0 7 Militärisch/Klasse C: +2");
        // Without a contract chosen, the emergency search assumes "Keiner".
        row(E{RescueService::Sanivex}, "1 Sanivex: +2|Keiner: -1");
        row(E{RescueService::Rapidmed}, "0 Rapidmed o.ä.: +1|Keiner: -1");
        row(E{RescueService::Privat}, "-1 Privat: +0|Keiner: -1");
        row(E{RescueService::Illegal}, "-2 Öffentlich/Illegal: -1|Keiner: -1");
        row(E{.team = RescueTeam::HTR}, "-2 High Threat Reaction: -1|Keiner: -1");
        row(E{.team = RescueTeam::Kriseneinsatz}, "-1 Std/Kriseinsatz: +0|Keiner: -1");
        row(E{.kontrakt = "Super-Platin"}, "3 Super-Platin: +3"); row(E{.kontrakt = "Platin"}, "2 Platin: +2");
        row(E{.kontrakt = "Gold"}, "1 Gold: +1"); row(E{.kontrakt = "Basis"}, "0 Basis: +0");
        row(E{.kontrakt = "Keiner"}, "-1 Keiner: -1");
        row(E{.gegend = "AAA oder AA"}, "0 Keiner: -1|Gegend AAA oder AA: +1");
        row(E{.gegend = "A oder B"}, "-1 Keiner: -1|Gegend A oder B: +0");
        row(E{.gegend = "C oder D"}, "-2 Keiner: -1|Gegend C oder D: -1");
        row(E{.gegend = "E oder Z"}, "-3 Keiner: -1|Gegend E oder Z: -2");
        row(E{.sinlos = true}, "-2 Keiner: -1|SINlos: -1"); row(E{.arrest = true}, "-3 Keiner: -1|Unter Arrest: -2");
        row(E{RescueService::Rapidmed, RescueTeam::HTR, "Gold", "C oder D", true, true}, "-3 Rapidmed "
            "o.ä.: +1|High Threat Reaction: -1|Gold: +1|Gegend C oder D: -1|SINlos: -1|Unter Arrest: -2");
        row(0, "0 0 refused"); row(1, "2 1"); row(2, "3 1"); row(3, "3 2");
        row(4, "4 2"); row(5, "4 2"); row(6, "5 3"); row(8, "5 3"); row(9, "6 4"); row(10, "6 4");
        row(11, "7 4"); row(12, "7 5"); row(13, "8 5"); row(14, "9 6"); row(15, "10 6"); row(18, "10 6");
        // clang-format on
    }

    void tables() {
        QFETCH(QVariant, in);
        QFETCH(QString, out);
        const auto n = [](auto v) { return QString::number(v); };
        QString got;
        if (in.typeId() == QMetaType::Int) {
            const Doctor d = BestimmeArzt(Int16(in.toInt()));
            got = n(d.Fertigkeit) + ' ' + n(d.Equipment) + (d.refused ? " refused" : "");
        } else if (in.metaType() == QMetaType::fromType<EmergencySearchInput>()) {
            const auto s = prepareEmergencySearch(in.value<EmergencySearchInput>(), {});
            got = n(s->state.Modif) + ' ' + s->meldungen.join('|');
        } else {
            auto i = in.value<NormalSearchInput>();
            i.gebraeuche = "1";
            const auto s = prepareNormalSearch(i, {});
            got = n(s->state.Modif) + ' ' + n(s->state.FertMod) + ' ' + n(s->state.Zeitraum) + ' ' +
                  s->meldungen.join('|');
        }
        QCOMPARE(got.trimmed(), out);
    }

    void trade() {
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
        QCOMPARE(run({.Zeitraum = 7, .Erfolge = 20, .Equipment = 3, .EquipmentBasis = 3},
                     improveQual, 10),
                 QList<float>({9, 14, 7})); // the level found plus 6
        QCOMPARE(run(found, improveTime, 3), QList<float>({3, 1, 1.75f}));
        QCOMPARE(run({.Zeitraum = 7, .Erfolge = 1}, diminTime, 1), QList<float>({0, 2, 14}));
        // Doubling stops where the period or the successes would leave their range.
        QVERIFY(diminTime({.Zeitraum = std::numeric_limits<float>::max(), .Erfolge = 1}).refused());
        QVERIFY(diminTime({.Zeitraum = 1, .Erfolge = 32767}).refused());
        QVERIFY(diminQual({.Erfolge = 32767, .Equipment = 3, .EquipmentBasis = 3}).refused());
    }
};

QTEST_GUILESS_MAIN(tst_Care)
#include "tst_care.moc"
