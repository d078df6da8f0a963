// The normal care search: its modifier tables, base period, etiquette input and both refusals.

#include "LocaleGuard.h"
#include "ScriptedDice.h"
#include "care/CareTexts.h"
#include "care/NormalSearch.h"

#include <QTest>
#include <tuple>

using namespace care;
using In = NormalSearchInput;
using Doctor = std::tuple<int, int, int, int, bool>; // S, skill, equipment, basis, refused
Q_DECLARE_METATYPE(care::NormalSearchInput)

class tst_NormalSearch : public QObject {
    Q_OBJECT

  private slots:
    void modifierTable_data();
    void modifierTable();
    void basePeriod();
    void search_data();
    void search();
    void firstRefusalKeepsDoctor();
    void etiquetteText_data();
    void etiquetteText();
};

void tst_NormalSearch::modifierTable_data() {
    QTest::addColumn<In>("input");
    QTest::addColumn<QString>("message"); // empty: the input matches no rule
    QTest::addColumn<int>("modif");
    QTest::addColumn<int>("fertMod");
    const auto row = [](const char* message, const In& input, int modif, int fertMod) {
        QTest::newRow(message) << input << QString::fromUtf8(message) << modif << fertMod;
    };
    row("Konzerneigen: +2", {.anbieter = Anbieter::Konzern}, 2, 0);
    row("Privat: +1", {.anbieter = Anbieter::Privat}, 1, -1);
    row("Illegal: -1", {.anbieter = Anbieter::Illegal}, -1, -2);
    row("Öffentlich: -2", {.anbieter = Anbieter::Oeffentlich}, -2, -1);
    row("Klinik: +0", {.anbieter = Anbieter::Klinik}, 0, 0);
    row("Krankenhaus: +2", {.anbieter = Anbieter::Krankenhaus}, 2, 0);
    row("Schieber: -1", {.connection = Connection::Schieber}, -1, 0);
    row("Strassendoc: -2", {.connection = Connection::Strassendoc}, -2, 0);
    row("Kosmetisch: -1", {.art = "Kosmetisch"}, -1, 0);
    row("Implantat: +1", {.art = "Implantat"}, 1, 0);
    row("Therapeutisch: +0", {.art = "Therapeutisch"}, 0, 0);
    row("Transimplantat: +1", {.art = "Transimplantat"}, 1, 0);
    row("Trauma: +0", {.art = "Trauma"}, 0, 0);
    row("Nanochirugie: +2", {.art = "Nanochirugie"}, 2, 0);
    row("Standardcyberware: +0", {.kategorie = "Standardcyberware"}, 0, 0);
    row("Alphaware: +2", {.kategorie = "Alphaware"}, 2, 1);
    row("Betaware: +4", {.kategorie = "Betaware"}, 4, 2);
    row("Deltaware: +8", {.kategorie = "Deltaware"}, 8, 4);
    row("Standardbioware: +2", {.kategorie = "Standardbioware"}, 2, 1);
    row("Kosmetische Bioware: +2", {.kategorie = "Kosmetische Bioware"}, 2, 0);
    row("Kultivierte Bioware: +4", {.kategorie = "Kultivierte Bioware"}, 4, 2);
    row("Nanoware: +4", {.kategorie = "Nanoware"}, 4, 2);
    row("Legal: -1", {.legalitaet = "Legal"}, -1, 0);
    row("Paralegal/Klasse A: +0", {.legalitaet = "Paralegal/Klasse A"}, 0, 0);
    row("Sicherheit/Klasse B: +1", {.legalitaet = "Sicherheit/Klasse B"}, 1, 0);
    row("Militärisch/Klasse C: +2", {.legalitaet = "Militärisch/Klasse C"}, 2, 0);
    QTest::newRow("nothing chosen") << In{} << QString() << 0 << 0;
    QTest::newRow("other case") << In{.art = "implantat"} << QString() << 0 << 0;
}

void tst_NormalSearch::modifierTable() {
    QFETCH(In, input);
    QFETCH(QString, message);
    QFETCH(int, modif);
    QFETCH(int, fertMod);
    input.gebraeuche = "0"; // no dice: the search ends at the first refusal
    const auto out = runNormalSearch(input, {}, *scriptedDice({})).outcome;
    QCOMPARE(out.meldungen, message.isEmpty() ? QStringList() : QStringList{message});
    QCOMPARE(std::tuple(int(out.Modif), int(out.FertMod), int(out.MW)),
             std::tuple(modif, fertMod, modif + 4));
    QCOMPARE(std::tuple(int(out.state.Modif), int(out.state.FertMod)), std::tuple(modif, fertMod));
}

void tst_NormalSearch::basePeriod() {
    const float tage[] = {1, 1, 2, 7, 14, 30, 60, 180, 180}; // FertMod -3 to 5
    for (int fertMod = -3; fertMod <= 5; ++fertMod) {
        NormalVersorgungState state;
        state.FertMod = Int16(fertMod);
        BerechneGrundzeitraum(state);
        QCOMPARE(state.Zeitraum, tage[fertMod + 3]);
    }
}

void tst_NormalSearch::search_data() {
    QTest::addColumn<In>("input");
    QTest::addColumn<QList<int>>("dice"); // etiquette dice, then W1 and W2
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QString>("period");
    QTest::addColumn<int>("erfolge");
    QTest::addColumn<Doctor>("doctor");
    QTest::addColumn<bool>("trade");
    QTest::newRow("start state") << In{.gebraeuche = "2"} << QList<int>{4, 3, 3, 5} << QStringList()
                                 << "7 Tage" << 1 << Doctor{8, 5, 3, 3, false} << false;
    // Against MW 12, 6 + 6 + 1 is one open-ended die of 13.
    QTest::newRow("every group, rule order")
        << In{Anbieter::Konzern, Connection::Strassendoc, "Implantat", "Deltaware", "Legal", "1"}
        << QList<int>{6, 6, 1, 1, 1}
        << QStringList{"Konzerneigen: +2", "Strassendoc: -2", "Implantat: +1", "Deltaware: +8",
                       "Legal: -1"}
        << "180 Tage" << 1 << Doctor{6, 5, 3, 3, false} << false;
    QTest::newRow("second refusal")
        << In{.anbieter = Anbieter::Illegal, .gebraeuche = "2"} << QList<int>{3, 5, 1, 1}
        << QStringList{"Illegal: -1"} << "1 Tage" << 2 << Doctor{0, 0, 0, 0, true} << true;
}

void tst_NormalSearch::search() {
    QFETCH(In, input);
    QFETCH(QList<int>, dice);
    const NormalVersorgungState before{0, 7, 0, 3.5f, 4, 6, 5};
    const auto result = runNormalSearch(input, before, *scriptedDice(dice));
    const auto& out = result.outcome;
    QVERIFY(!result.eingabeFehler && out.arztwurf);
    QTEST(out.meldungen, "messages");
    QTEST(out.zeitraumText, "period");
    QTEST(int(out.state.Erfolge), "erfolge");
    QCOMPARE(out.etiketteWuerfel.size(), out.anzahlWuerfel);
    QCOMPARE(std::tuple(int(out.arztwurf->W1), int(out.arztwurf->W2)),
             std::tuple(dice[dice.size() - 2], dice.last()));
    const auto& s = out.state;
    QTEST(Doctor(out.arztwurf->S, s.Fertigkeit, s.Equipment, s.EquipmentBasis,
                 out.arztwurf->arzt.verweigert),
          "doctor");
    QTEST(out.kurzoderGut, "trade");
}

void tst_NormalSearch::firstRefusalKeepsDoctor() {
    const NormalVersorgungState before{0, 7, 0, 3.5f, 4, 6, 5};
    ScriptedSource* source = nullptr;
    const auto out = runNormalSearch({.anbieter = Anbieter::Privat, .gebraeuche = "2"}, before,
                                     *scriptedDice({1, 4, 6, 6}, &source))
                         .outcome;
    QCOMPARE(source->rolled(), 2); // both below MW 5, and no 2W6 after the refusal
    QVERIFY(out.ersteAblehnung() && !out.kurzoderGut);
    QCOMPARE(out.etiketteWuerfel, QStringList({"1", "4"}));
    const auto& s = out.state;
    QCOMPARE(std::tuple(int(s.Modif), int(s.FertMod), s.Zeitraum, int(s.Erfolge)),
             std::tuple(1, -1, 2.0f, 0));
    QCOMPARE(std::tuple(int(s.Fertigkeit), int(s.Equipment), int(s.EquipmentBasis)),
             std::tuple(7, 6, 5));
}

void tst_NormalSearch::etiquetteText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("error");
    QTest::addColumn<int>("dice");
    const QString noNumber = texts::gebraeucheKeineZahl, tooMany = texts::gebraeucheZuGross;
    QTest::newRow("empty") << "" << noNumber << 0;
    QTest::newRow("letters") << "abc" << noNumber << 0;
    QTest::newRow("below 16 bits") << "-40000" << noNumber << 0;
    QTest::newRow("above 16 bits") << "40000" << tooMany << 0;
    QTest::newRow("101") << "101" << tooMany << 0;
    QTest::newRow("exponent") << "1e5" << tooMany << 0;
    QTest::newRow("100") << "100" << QString() << 100;
    QTest::newRow("0") << "0" << QString() << 0;
    QTest::newRow("negative acts as 0") << "-3" << QString() << 0;
    QTest::newRow("half to even") << "2,5" << QString() << 2;
}

void tst_NormalSearch::etiquetteText() {
    QFETCH(QString, text);
    QFETCH(QString, error);
    QFETCH(int, dice);
    const LocaleGuard guard{QLocale(QLocale::German, QLocale::Germany)};
    ScriptedSource* source = nullptr;
    const auto result =
        runNormalSearch({.gebraeuche = text}, {}, *scriptedDice(QList<int>(102, 5), &source));
    QCOMPARE(result.eingabeFehler.value_or(QString()), error);
    // A refused text rolls nothing and yields no outcome to apply.
    QCOMPARE(source->rolled(), error.isEmpty() ? dice + (dice > 0 ? 2 : 0) : 0);
    const auto& out = result.outcome;
    QCOMPARE(std::tuple(int(out.anzahlWuerfel), int(out.etiketteWuerfel.size())),
             std::tuple(dice, dice));
}

QTEST_GUILESS_MAIN(tst_NormalSearch)
#include "tst_normalsearch.moc"
