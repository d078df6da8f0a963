// The care rules: the modifier tables of both doctor searches, the base period, the doctor
// table they share, the searches with scripted dice, and the trade of spare successes.

#include "../numbers/TableRows.h"
#include "LocaleGuard.h"
#include "ScriptedDice.h"
#include "care/EmergencySearch.h"
#include "care/NormalSearch.h"
#include "care/Trade.h"

#include <cmath>

using namespace care;

namespace {

// Provider option, connection option, surgery, category, legality, etiquette text.
NormalSearchInput normalInput(const QStringList& c) {
    NormalSearchInput in{.art = c[2], .kategorie = c[3], .legalitaet = c[4], .gebraeuche = c[5]};
    if (!c[0].isEmpty())
        in.anbieter = Anbieter(QStringList{"optKonzern", "optPrivat", "optIllegal",
                                           "optoeffentlich", "optKlinik", "optKrankenhaus"}
                                   .indexOf(c[0]));
    if (!c[1].isEmpty())
        in.connection = Connection(QStringList{"optSchieber", "optStrassendoc"}.indexOf(c[1]));
    return in;
}

QString ints(std::initializer_list<int> values) {
    QStringList texts;
    for (int v : values)
        texts << QString::number(v);
    return texts.join(u' ');
}

} // namespace

class tst_Care : public QObject {
    Q_OBJECT

  private slots:
    void normalModifiers_data() { tsvRows("normal_modifiers.tsv", 5); }
    void normalModifiers() {
        QFETCH(QStringList, t);
        QStringList c{"", "", "", "", "", "0"}; // no dice: the search ends at the first refusal
        const auto group = QStringList{"anbieter", "connection", "art", "kategorie", "legalitaet"};
        QVERIFY(group.contains(t[0]));
        c[group.indexOf(t[0])] = t[1];
        const auto out = runNormalSearch(normalInput(c), {}, *scriptedDice({})).outcome;
        QCOMPARE(out.meldungen, t[2].isEmpty() ? QStringList() : QStringList{t[2]});
        QCOMPARE(ints({out.Modif, out.FertMod, out.MW, out.state.Modif, out.state.FertMod}),
                 ints({t[3].toInt(), t[4].toInt(), t[3].toInt() + 4, t[3].toInt(), t[4].toInt()}));
    }

    void emergencyModifiers_data() { tsvRows("emergency_modifiers.tsv", 4); }
    void emergencyModifiers() {
        QFETCH(QStringList, t);
        EmergencySearchInput in{.kontrakt = "Basis"}; // adds nothing, listed as "Basis: +0"
        if (t[0] == u"dienstleister")
            in.dienstleister = Dienstleister(
                QStringList{"optSanivex", "optRapidmed", "optPrivat", "optIllegal"}.indexOf(t[1]));
        else if (t[0] == u"rettungsteam")
            in.rettungsteam = Rettungsteam(QStringList{"optHTR", "optKriseneinsatz"}.indexOf(t[1]));
        else if (t[0] == u"kontrakt")
            in.kontrakt = t[1];
        else if (t[0] == u"gegend")
            in.gegend = t[1];
        else
            (t[1] == u"chkSIN" ? in.sinlos : in.arrest) = true;
        const auto result = runEmergencySearch(in, {5, 9}, *scriptedDice({3, 4}));
        QVERIFY2(result.meldungen.contains(t[2]), qPrintable(result.meldungen.join(u"; ")));
        QCOMPARE(result.meldungen.size(), t[0] == u"kontrakt" ? 1 : 2);
        QCOMPARE(ints({result.Modif, result.state.Modif, result.arztwurf.S}),
                 ints({t[3].toInt(), t[3].toInt(), t[3].toInt() + 7}));
    }

    void emergencySearch() {
        // The start state: the contract defaults to "Keiner", which the window then selects.
        auto r = runEmergencySearch({Dienstleister::Illegal}, {}, *scriptedDice({1, 1}));
        QCOMPARE(r.meldungen, QStringList({"Öffentlich/Illegal: -1", "Keiner: -1"}));
        QVERIFY(r.kontraktAufDefault && r.arztwurf.arzt.verweigert);
        r = runEmergencySearch({Dienstleister::Sanivex, Rettungsteam::Kriseneinsatz, "Super-Platin",
                                "AAA oder AA", true, true},
                               {}, *scriptedDice({2, 6}));
        QCOMPARE(r.meldungen,
                 QStringList({"Sanivex: +2", "Std/Kriseinsatz: +0", "Super-Platin: +3",
                              "Gegend AAA oder AA: +1", "SINlos: -1", "Unter Arrest: -2"}));
        QVERIFY(!r.kontraktAufDefault);
        QCOMPARE(ints({r.arztwurf.W1, r.arztwurf.W2, r.arztwurf.S, r.state.Fertigkeit}),
                 "2 6 11 7");
        QCOMPARE(contractEntries(),
                 QStringList({"Keiner", "Super-Platin", "Platin", "Gold", "Basis"}));
        QCOMPARE(areaEntries(), QStringList({"AAA oder AA", "A oder B", "C oder D", "E oder Z"}));
    }

    void doctorTable_data() { tsvRows("doctor.tsv", 4); }
    void doctorTable() {
        QFETCH(QStringList, t);
        for (int s = t[0].toInt(); s <= t[1].toInt(); ++s) {
            const Arzt arzt = BestimmeArzt(Int16(s));
            QCOMPARE(ints({arzt.Fertigkeit, arzt.Equipment, arzt.verweigert}),
                     ints({t[2].toInt(), t[3].toInt(), s < 1}));
        }
    }

    void period_data() { tsvRows("period.tsv", 2); }
    void period() {
        QFETCH(QStringList, t);
        NormalVersorgungState state{.FertMod = Int16(t[0].toInt())};
        BerechneGrundzeitraum(state);
        QCOMPARE(state.Zeitraum, t[1].toFloat());
    }

    void normalSearch_data() { tsvRows("normal_searches.tsv", 11); }
    void normalSearch() {
        QFETCH(QStringList, t);
        const LocaleGuard guard{QLocale(QLocale::German, QLocale::Germany)};
        // Dice that were not scripted throw: nothing is rolled after a refusal.
        const auto result = runNormalSearch(normalInput(t.mid(1, 6)), {0, 7, 0, 3.5f, 4, 6, 5},
                                            *scriptedDice(faces(t[7])));
        QCOMPARE(result.eingabeFehler.value_or(""), t[8]);
        const auto& o = result.outcome;
        const auto& s = o.state;
        QCOMPARE(o.meldungen.join(u"; "), t[9]);
        if (result.eingabeFehler)
            return;
        const auto& w = o.arztwurf;
        QStringList outputs{ints({o.MW}), o.zeitraumText, ints({int(o.etiketteWuerfel.size())})};
        outputs << ints({s.Erfolge}) << (w ? ints({w->W1, w->W2, w->S}) : "-")
                << ints({s.Fertigkeit, s.Equipment, s.EquipmentBasis}) << ints({o.kurzoderGut});
        QCOMPARE(outputs.join(u" | "), t[10]);
    }

    // Equipment basis, successes, period; the clicks (Q/q = "+"/"-" at the equipment, T/t =
    // "+"/"-" at the period) and which of them acted; equipment, successes, period afterwards.
    void trade_data() {
        rows({"3|3|7|QQQ|110|5 1 7", "3|3|7|qqQ|101|3 3 7", "3|20|7|QQQQQQQ|1111110|9 14 7",
              "0|20|7|qqQQQQQQQQ|1011111110|6 14 7", // after the second refusal
              "3|3|7|TTT|110|3 1 1.75", "3|1|7|QtQ|011|4 1 14", "3|32767|7|tqQT|0011|4 32765 3.5"});
    }
    void trade() {
        QFETCH(QStringList, t);
        const Int16 basis = Int16(t[0].toInt());
        NormalVersorgungState state{0, 5, 0, t[2].toFloat(), Int16(t[1].toInt()), basis, basis};
        QString acted;
        for (const QChar click : t[3]) {
            const auto rule = click == u'Q'   ? cmdImproveQual
                              : click == u'q' ? cmdDiminQual
                              : click == u'T' ? cmdImproveTime
                                              : cmdDiminTime;
            acted += rule(state) ? u'1' : u'0';
        }
        QCOMPARE(acted, t[4]);
        QCOMPARE(ints({state.Equipment, state.Erfolge}) + ' ' + QString::number(state.Zeitraum),
                 t[5]);
        QCOMPARE(ints({state.EquipmentBasis, state.Fertigkeit}), t[0] + " 5"); // never traded
    }

    void doublingStopsBeforeInfinity() {
        NormalVersorgungState state{.Zeitraum = 180.0f, .Erfolge = 1};
        int doublings = 0;
        while (doublings < 1000 && cmdDiminTime(state))
            ++doublings;
        QCOMPARE(doublings, 120); // the 121st doubling of 180 days passes the largest float
        QVERIFY(std::isfinite(state.Zeitraum));
        QCOMPARE(state.Erfolge, 121);
    }
};

QTEST_GUILESS_MAIN(tst_Care)
#include "tst_care.moc"
