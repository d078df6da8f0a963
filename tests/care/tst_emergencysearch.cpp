// The emergency care search and the doctor table both searches share.

#include "ScriptedDice.h"
#include "care/BestimmeArzt.h"
#include "care/EmergencySearch.h"

#include <QTest>
#include <tuple>

using namespace care;
using In = EmergencySearchInput;
Q_DECLARE_METATYPE(care::EmergencySearchInput)

class tst_EmergencySearch : public QObject {
    Q_OBJECT

  private slots:
    void doctorTable_data();
    void doctorTable();
    void modifiers_data();
    void modifiers();
    void contractList();
};

void tst_EmergencySearch::doctorTable_data() {
    QTest::addColumn<int>("S");
    QTest::addColumn<int>("skill");
    QTest::addColumn<int>("equipment");
    // S from -6 to 18, the reach of both searches.
    const int skill[] = {0, 0, 0, 0, 0, 0, 0, 2, 3,  3,  4,  4, 5,
                         5, 5, 6, 6, 7, 7, 8, 9, 10, 10, 10, 10};
    const int equip[] = {0, 0, 0, 0, 0, 0, 0, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4, 5, 5, 6, 6, 6, 6, 6};
    for (int s = -6; s <= 18; ++s)
        QTest::addRow("S %d", s) << s << skill[s + 6] << equip[s + 6];
}

void tst_EmergencySearch::doctorTable() {
    QFETCH(int, S);
    const Arzt arzt = BestimmeArzt(Int16(S));
    QTEST(int(arzt.Fertigkeit), "skill");
    QTEST(int(arzt.Equipment), "equipment");
    QCOMPARE(arzt.verweigert, S < 1);
}

void tst_EmergencySearch::modifiers_data() {
    QTest::addColumn<In>("input");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<int>("modif");
    const auto row = [](const char* name, const In& input, const QStringList& messages, int modif) {
        QTest::newRow(name) << input << messages << modif;
    };
    // "Basis" adds nothing but is listed, so each row shows its own rule beside it.
    row("Sanivex", {Dienstleister::Sanivex, {}, "Basis"}, {"Sanivex: +2", "Basis: +0"}, 2);
    row("Rapidmed", {Dienstleister::Rapidmed, {}, "Basis"}, {"Rapidmed o.ä.: +1", "Basis: +0"}, 1);
    row("Privat", {Dienstleister::Privat, {}, "Basis"}, {"Privat: +0", "Basis: +0"}, 0);
    row("Illegal", {Dienstleister::Illegal, {}, "Basis"}, {"Öffentlich/Illegal: -1", "Basis: +0"},
        -1);
    row("High-Threat", {{}, Rettungsteam::HTR, "Basis"}, {"High Threat Reaction: -1", "Basis: +0"},
        -1);
    row("Kriseneinsatz", {{}, Rettungsteam::Kriseneinsatz, "Basis"},
        {"Std/Kriseinsatz: +0", "Basis: +0"}, 0);
    row("Super-Platin", {.kontrakt = "Super-Platin"}, {"Super-Platin: +3"}, 3);
    row("Platin", {.kontrakt = "Platin"}, {"Platin: +2"}, 2);
    row("Gold", {.kontrakt = "Gold"}, {"Gold: +1"}, 1);
    row("Keiner", {.kontrakt = "Keiner"}, {"Keiner: -1"}, -1);
    row("no contract", {}, {"Keiner: -1"}, -1);
    row("AAA", {.kontrakt = "Basis", .gegend = "AAA oder AA"},
        {"Basis: +0", "Gegend AAA oder AA: +1"}, 1);
    row("A", {.kontrakt = "Basis", .gegend = "A oder B"}, {"Basis: +0", "Gegend A oder B: +0"}, 0);
    row("C", {.kontrakt = "Basis", .gegend = "C oder D"}, {"Basis: +0", "Gegend C oder D: -1"}, -1);
    row("E", {.kontrakt = "Basis", .gegend = "E oder Z"}, {"Basis: +0", "Gegend E oder Z: -2"}, -2);
    row("SIN", {.kontrakt = "Basis", .sinlos = true}, {"Basis: +0", "SINlos: -1"}, -1);
    row("Arrest", {.kontrakt = "Basis", .arrest = true}, {"Basis: +0", "Unter Arrest: -2"}, -2);
    row("start state", {Dienstleister::Illegal}, {"Öffentlich/Illegal: -1", "Keiner: -1"}, -2);
    row("everything, rule order",
        {Dienstleister::Sanivex, Rettungsteam::Kriseneinsatz, "Super-Platin", "AAA oder AA", true,
         true},
        {"Sanivex: +2", "Std/Kriseinsatz: +0", "Super-Platin: +3", "Gegend AAA oder AA: +1",
         "SINlos: -1", "Unter Arrest: -2"},
        3);
}

void tst_EmergencySearch::modifiers() {
    QFETCH(In, input);
    QFETCH(int, modif);
    const auto result = runEmergencySearch(input, {5, 9}, *scriptedDice({3, 4}));
    const Arztwurf& wurf = result.arztwurf;
    QTEST(result.meldungen, "messages");
    QCOMPARE(std::tuple(int(result.Modif), int(result.state.Modif)), std::tuple(modif, modif));
    QCOMPARE(std::tuple(int(wurf.W1), int(wurf.W2), int(wurf.S)), std::tuple(3, 4, modif + 7));
    QCOMPARE(result.state.Fertigkeit, wurf.arzt.Fertigkeit); // what "Übernehmen!" hands over
}

void tst_EmergencySearch::contractList() {
    // Only an empty contract text makes the window select "Keiner".
    QVERIFY(runEmergencySearch({}, {}, *scriptedDice({1, 1})).kontraktAufDefault);
    QVERIFY(
        !runEmergencySearch({.kontrakt = "Basis"}, {}, *scriptedDice({1, 1})).kontraktAufDefault);
    QCOMPARE(contractEntries(), QStringList({"Keiner", "Super-Platin", "Platin", "Gold", "Basis"}));
    QCOMPARE(areaEntries(), QStringList({"AAA oder AA", "A oder B", "C oder D", "E oder Z"}));
}

QTEST_GUILESS_MAIN(tst_EmergencySearch)
#include "tst_emergencysearch.moc"
