// The healing rules: whole presses of "HEILEN!" with scripted dice, at the boundaries of the
// damage levels, lifestyles, care conditions and modifier tables, the hospital tariff, and the
// refusals that name the field.

#include "LocaleGuard.h"
#include "ScriptedDice.h"
#include "healing/HealingTables.h"
#include "healing/HealingTexts.h"
#include "numbers/Text.h"

#include <QTest>

using namespace healing;
using CC = CareCondition;
Q_DECLARE_METATYPE(healing::HealingInput)

namespace {

HealingInput boxes(const char* schaden, CC care = CC::daheim) {
    HealingInput in;
    in.Schaden = QString::fromUtf8(schaden);
    in.care = care;
    return in;
}

// The same input with some fields changed: `change` gets a copy to edit.
template <class Change> HealingInput with(HealingInput in, Change change) {
    change(in);
    return in;
}

Result<Press> press(const HealingInput& in, int lifestyle, QList<int> faces,
                    numbers::Amount kosten = {}) {
    Form1State s;
    s.Lebensstilstufe = Int16(lifestyle);
    s.Kosten = kosten;
    s.Gesamtzeit = 10.0f;
    return heal(in, s, *scriptedDice(std::move(faces)));
}

} // namespace

class tst_Healing : public QObject {
    Q_OBJECT

    LocaleGuard m_locale{QLocale::c()};

  private slots:
    // Each row: the input, the lifestyle level, the dice; then the modifier lines, the final
    // target number, the base period, the healing duration and the running cost.
    void presses_data();
    void presses();
    void refusals_data();
    void refusals();
    void tables();
    void changes();
};

void tst_Healing::presses_data() {
    QTest::addColumn<HealingInput>("in");
    QTest::addColumn<int>("lifestyle");
    QTest::addColumn<QList<int>>("faces");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("target");
    QTest::addColumn<float>("period");
    QTest::addColumn<float>("duration");
    QTest::addColumn<QString>("cost");
    const QString hospital = "Sie sind im Krankenhaus!", good = "Lebensstil ausreichend";
    const QStringList doctor8 = {"Essenzmodifikator: +0", "Konstitutionsmodifikator: 0",
                                 "Willenskraftmodifikator: 0", "Biotech Fertigkeit des Arztes: -5"};

    QTest::newRow("home, worse lifestyle, no success")
        << boxes("4") << 0 << QList{2, 2, 2}
        << QStringList{"Grundmindestwurf: 4", "Verletzungsmod.: 2",
                       "Lebensstil schlechter als benötigt: +6"}
        << 12 << 288.0f << 576.0f << "";
    QTest::newRow("home, better lifestyle, two successes")
        << boxes("2") << 3 << QList{2, 3, 1}
        << QStringList{"Grundmindestwurf: 2", "Verletzungsmod.: 1",
                       "Lebensstil besser als benötigt: -1"}
        << 2 << 48.0f << 24.0f << "";
    QTest::newRow("floor of 2, two hours")
        << boxes("1") << 4 << QList{1, 1, 2}
        << QStringList{"Grundmindestwurf: 1", "Verletzungsmod.: 1",
                       "Lebensstil besser als benötigt: -2"}
        << 2 << 2.0f << 2.0f << "";
    QTest::newRow("three boxes, bad circumstances")
        << boxes("3", CC::schlechteUmst) << 3 << QList{6, 2, 6, 1, 1}
        << QStringList{"Grundmindestwurf: 3", "Verletzungsmod.: 2", good, "Schlechte Umstände: +1"}
        << 6 << 144.0f << 72.0f << "";
    QTest::newRow("nine boxes, terrible circumstances")
        << boxes("9", CC::furchtbareUmst) << 4 << QList{1, 6, 6, 1, 1}
        << QStringList{"Grundmindestwurf: 9", "Verletzungsmod.: 3", good, "Furchtbare Umstände: +3"}
        << 15 << 360.0f << 720.0f << "";
    QTest::newRow("documented bioware at home")
        << with(boxes("6"), [](auto& i) { i.dokBio = true, i.BioIndex = "3"; }) << 4
        << QList{1, 1, 1}
        << QStringList{"Grundmindestwurf: 6", "Verletzungsmod.: 3", "Patient hat Bioware: +2", good}
        << 11 << 264.0f << 528.0f << "";
    QTest::newRow("hospital, 500 a day")
        << with(boxes("4", CC::Krankenhaus), [](auto& i) { i.txtBioTech = "1"; }) << 0
        << QList{6, 1, 1, 1}
        << QStringList{"Grundmindestwurf: 4",
                       "Verletzungsmod.: 2",
                       hospital,
                       "Essenzmodifikator: +0",
                       "Konstitutionsmodifikator: 0",
                       "Willenskraftmodifikator: 0",
                       "Biotech Fertigkeit des Arztes: 0"}
        << 6 << 288.0f << 288.0f << "6000";
    QTest::newRow("ten boxes force hospital, tariff with skill")
        << boxes("10") << 4 << QList{3, 3, 3}
        << (QStringList{"Grundmindestwurf: 10", "Verletzungsmod.: 4", hospital} + doctor8) << 9
        << 432.0f << 864.0f << "36400";
    QTest::newRow("magical care, awakened, communication")
        << with(boxes("4", CC::Krankenhaus),
                [](auto& i) { i.magischeBetreuung = i.Erwachter = i.Kommunikation = true; })
        << 0 << QList{4, 1, 1}
        << QStringList{"Grundmindestwurf: 4",
                       "Verletzungsmod.: 2",
                       hospital,
                       "Langfristige magische Betreuung: -2",
                       "Patient ist Erwachter: +2",
                       "Essenzmodifikator: +0",
                       "Patient/Arzt Kommunikation gestört: +2",
                       "Konstitutionsmodifikator: 0",
                       "Willenskraftmodifikator: 0",
                       "Biotech Fertigkeit des Arztes: -5"}
        << 3 << 144.0f << 144.0f << "6000";
    QTest::newRow("undocumented wares win, attributes count")
        << with(boxes("5", CC::Krankenhaus),
                [](auto& i) {
                    i.dokBio = i.undokBio = i.dokCyb = i.undokCyb = true;
                    i.BioIndex = "2.2", i.EssenzDok = "3", i.txtKonstitution = "4",
                    i.Willenskraft = "7", i.txtBioTech = "3";
                })
        << 0 << QList{6, 6, 2, 1, 1, 2}
        << QStringList{"Grundmindestwurf: 5",
                       "Verletzungsmod.: 2",
                       hospital,
                       "Patient hat undokumentierte Bioware: +3",
                       "Essenzmodifikator: +2",
                       "Konstitutionsmodifikator: -1",
                       "Willenskraftmodifikator: -2",
                       "Biotech Fertigkeit des Arztes: -3"}
        << 6 << 288.0f << 288.0f << "6000";
}

void tst_Healing::presses() {
    QFETCH(HealingInput, in);
    QFETCH(int, lifestyle);
    QFETCH(QList<int>, faces);
    QFETCH(QStringList, lines);
    QFETCH(int, target);
    QFETCH(float, period);
    QFETCH(float, duration);
    QFETCH(QString, cost);
    const auto p = press(in, lifestyle, faces);
    QVERIFY2(!p.refused(), qPrintable(p.refusal()));
    QCOMPARE(p->Meldungen, lines);
    QCOMPARE(p->state.Mindestwurf, target);
    QCOMPARE(p->state.Grundzeitraum, period);
    QCOMPARE(p->state.Heilungsdauer, duration);
    QCOMPARE(p->state.Gesamtzeit, 10.0f + duration);
    QCOMPARE(p->hospital ? p->state.Kosten.text() : QString(), cost);
    QCOMPARE(p->state.Schadenskaestchen, in.Schaden.toInt() - 1);
    QCOMPARE(p->healed(), in.Schaden == "1");
    QCOMPARE(p->roll.dice.size(), faces.size() - faces.count(6));
}

void tst_Healing::refusals_data() {
    QTest::addColumn<HealingInput>("in");
    QTest::addColumn<QList<int>>("faces");
    QTest::addColumn<QString>("message");
    using namespace texts;
    const auto hospital = [](auto change) { return with(boxes("4", CC::Krankenhaus), change); };
    QTest::newRow("damage no number")
        << boxes("x") << QList<int>{} << numbers::notAWholeNumber(fieldSchaden);
    QTest::newRow("101 dice") << with(boxes("4"), [](auto& i) { i.txtKonstitution = "101"; })
                              << QList<int>{} << tooManyDice();
    QTest::newRow("bio-index read at home")
        << with(boxes("4"), [](auto& i) { i.dokBio = true, i.BioIndex = ""; }) << QList<int>{}
        << numbers::notANumber(fieldBioIndex);
    QTest::newRow("essence read in hospital")
        << hospital([](auto& i) { i.dokCyb = true, i.EssenzDok = "-"; }) << QList<int>{}
        << numbers::notANumber(fieldEssenz);
    QTest::newRow("willpower read in hospital")
        << hospital([](auto& i) { i.Willenskraft = "x"; }) << QList<int>{}
        << numbers::notAWholeNumber(fieldWillenskraft);
    QTest::newRow("skill read at home")
        << with(boxes("4"), [](auto& i) { i.txtBioTech = "40000"; }) << QList<int>{}
        << numbers::wholeNumberOutOfRange(fieldBioTech);
    QTest::newRow("doctor's share beyond 16 bits")
        << with(boxes("10"), [](auto& i) { i.txtBioTech = "656"; }) << QList<int>{}
        << fieldNearerZero("Der Kostenanteil der Biotech-Fertigkeit", fieldBioTech);
    QTest::newRow("essence modifier beyond 16 bits")
        << hospital([](auto& i) { i.undokCyb = true, i.EssenzDok = "-40000"; }) << QList<int>{}
        << fieldNearerZero("Der Essenzmodifikator", fieldEssenz);
    QTest::newRow("bioware modifier beyond 16 bits")
        << with(boxes("4"), [](auto& i) { i.dokBio = true, i.BioIndex = "1e6"; }) << QList<int>{}
        << fieldNearerZero("Der Bioware-Modifikator", fieldBioIndex);
    QTest::newRow("target beyond 16 bits")
        << boxes("32767") << QList<int>{} << tooLarge("Der Mindestwurf");
    QTest::newRow("base period beyond 16 bits")
        << boxes("700") << QList<int>{} << tooLarge("Der Grundzeitraum");
    QTest::newRow("negative base period")
        << boxes("-2000") << QList<int>{} << tooSmall("Der Grundzeitraum");
    QTest::newRow("endless sixes") << boxes("4") << QList<int>(6000, 6) << runOfSixes;
}

// Refused: nothing but the message, whatever dice were drawn.
void tst_Healing::refusals() {
    QFETCH(HealingInput, in);
    QFETCH(QList<int>, faces);
    QFETCH(QString, message);
    const auto p = press(in, 0, faces);
    QVERIFY(p.refused());
    QCOMPARE(p.refusal(), message);
    const auto costly = press(boxes("1", CC::Krankenhaus), 0, {1, 1, 1},
                              numbers::Amount::fromTicks(std::numeric_limits<qint64>::max()));
    QCOMPARE(costly.refusal(), texts::costTooLarge);
}

void tst_Healing::tables() {
    Form1State s;
    for (const auto& [k, level, mod, needed, stufe] :
         {std::tuple{-5, "Leicht", 1, "Unterschicht", 2},
          {2, "Leicht", 1, "Unterschicht", 2},
          {3, "Mittel", 2, "Mittelschicht", 3},
          {5, "Mittel", 2, "Mittelschicht", 3},
          {6, "Schwer", 3, "Oberschicht", 4},
          {9, "Schwer", 3, "Oberschicht", 4},
          {10, "Tödlich", 4, "Krankenhaus", 5}}) {
        Schadniveau(s, Int16(k));
        Mindstil(s, s.Schadensniveau);
        QCOMPARE(s.Schadensniveau, QString::fromUtf8(level));
        QCOMPARE(s.Verletzungsmod, mod);
        QCOMPARE(s.Mindestlebensstil, QString::fromUtf8(needed));
        QCOMPARE(s.MindeststilStufe, stufe);
    }
    QCOMPARE(lifestyleLevel(Lifestyle::Luxus), 4);
    QCOMPARE(lifestyleLevel(Lifestyle::Squatter), 1);
    for (const auto& [wert, m] :
         {std::pair{-4, 0}, {3, 0}, {4, -1}, {6, -1}, {7, -2}, {9, -2}, {10, -3}, {30, -3}})
        QCOMPARE(konstwilltabelle(Int16(wert)), m);
    for (const auto& [skill, m] : {std::pair{-1, 0},
                                   {0, 4},
                                   {1, 0},
                                   {2, -2},
                                   {3, -3},
                                   {4, -3},
                                   {5, -4},
                                   {6, -4},
                                   {7, -5},
                                   {12, -5}}) {
        s.Mindestwurf = 0;
        QCOMPARE(checkarzt(s, Int16(skill)),
                 QStringLiteral("Biotech Fertigkeit des Arztes: %1").arg(m));
    }
    // Essence: undocumented and documented columns at every band edge.
    for (const auto& [e, undok, dok] : {std::tuple{6.0f, 0, 0},
                                        {5.01f, 0, 0},
                                        {5.0f, 1, 0},
                                        {3.01f, 1, 0},
                                        {3.0f, 2, 1},
                                        {1.01f, 2, 1},
                                        {1.0f, 3, 2},
                                        {0.01f, 3, 2},
                                        {0.005f, 0, 0},
                                        {0.0f, 3, 2},
                                        {-0.5f, 4, 2},
                                        {-1.5f, 4, 4}}) {
        ControlChanges c;
        QCOMPARE(checkcyberware(s, true, false, e, c),
                 QStringLiteral("Essenzmodifikator: +%1").arg(undok));
        QCOMPARE(checkcyberware(s, false, true, e, c),
                 QStringLiteral("Essenzmodifikator: +%1").arg(dok));
    }
    // Bioware: half the index rounded up when documented, all of it when not.
    for (const auto& [undok, index, mod] : {std::tuple{false, 3.0f, 2},
                                            {false, 5.0f, 3},
                                            {false, 0.5f, 1},
                                            {false, -3.0f, -1},
                                            {false, 4.0f, 2},
                                            {true, 4.0f, 4},
                                            {true, 2.2f, 3},
                                            {true, 0.0f, 0}}) {
        uberprufeBioIndex(s, undok, index);
        QCOMPARE(s.BioMod, mod);
    }
    // The attribute limits themselves pass; anything above, however large, does not.
    QCOMPARE(constitutionAboveLimit("30"), std::nullopt);
    QCOMPARE(constitutionAboveLimit("31"), texts::constitutionAboveLimit);
    QCOMPARE(constitutionAboveLimit("1e309"), texts::constitutionAboveLimit);
    QCOMPARE(constitutionAboveLimit("-"), std::nullopt);
    QCOMPARE(willpowerAboveLimit("20"), std::nullopt);
    QCOMPARE(willpowerAboveLimit("20.5"), texts::willpowerAboveLimit);
}

// The controls a press changes, and the tariff at its edges.
void tst_Healing::changes() {
    const auto hospital = [](auto change) { return with(boxes("4", CC::Krankenhaus), change); };
    auto p = press(hospital([](auto& i) { i.dokBio = i.undokBio = i.undokCyb = i.dokCyb = true; }),
                   0, {1, 1, 1});
    ControlChanges c{.selectKrankenhaus = true,
                     .enableBioIndex = true,
                     .uncheckDokBio = true,
                     .uncheckDokCyb = true,
                     .enableDokCybFrame = true,
                     .clearEssenzDok = true};
    QVERIFY(p->changes == c);
    p = press(hospital([](auto& i) { i.dokBio = i.dokCyb = true; }), 0, {1, 1, 1});
    c = {.selectKrankenhaus = true,
         .enableBioIndex = true,
         .uncheckUndokBio = true,
         .uncheckUndokCyb = true,
         .enableDokCybFrame = true};
    QVERIFY(p->changes == c);
    p = press(with(boxes("4"), [](auto& i) { i.dokBio = true; }), 0, {1, 1, 1});
    QVERIFY(p->changes == ControlChanges{.uncheckUndokBio = true});

    // 16 hours at 500 a day: 333.3333 rounded to the cent, on top of the running cost.
    const auto hours16 = press(with(boxes("1", CC::Krankenhaus),
                                    [](auto& i) { i.txtBioTech = "1", i.txtKonstitution = "4"; }),
                               0, {3, 3, 3, 1}, numbers::Amount::fromTicks(10000));
    QCOMPARE(hours16->state.Heilungsdauer, 16.0f);
    QCOMPARE(hours16->state.Kosten.text(), "334.33");
    QVERIFY(press(boxes("0"), 0, {})->notIll);
}

QTEST_GUILESS_MAIN(tst_Healing)
#include "tst_healing.moc"
