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
    QTest::addColumn<QString>("lines");       // Meldungen, "|" between the lines
    QTest::addColumn<QList<float>>("result"); // target, base period, duration, running cost
    const QString home = "Grundmindestwurf: %1|Verletzungsmod.: %2|";
    const QString hospital = home + "Sie sind im Krankenhaus!|";
    const QString attributes = "Konstitutionsmodifikator: %1|Willenskraftmodifikator: %2|"
                               "Biotech Fertigkeit des Arztes: %3";
    // clang-format off
    QTest::newRow("home, worse lifestyle, no success") << boxes("4") << 0 << QList{2, 2, 2}
        << home.arg(4).arg(2) + "Lebensstil schlechter als benötigt: +6"
        << QList<float>{12, 288, 576, 0};
    QTest::newRow("home, better lifestyle, two successes") << boxes("2") << 3 << QList{2, 3, 1}
        << home.arg(2).arg(1) + "Lebensstil besser als benötigt: -1" << QList<float>{2, 48, 24, 0};
    QTest::newRow("floor of 2, two hours") << boxes("1") << 4 << QList{1, 1, 2}
        << home.arg(1).arg(1) + "Lebensstil besser als benötigt: -2" << QList<float>{2, 2, 2, 0};
    QTest::newRow("three boxes, bad circumstances") << boxes("3", CC::schlechteUmst) << 3
        << QList{6, 2, 6, 1, 1} << home.arg(3).arg(2) + "Lebensstil ausreichend|Schlechte Umstände: +1"
        << QList<float>{6, 144, 72, 0};
    QTest::newRow("nine boxes, terrible circumstances, bioware") << with(boxes("9",
        CC::furchtbareUmst), [](auto& i) { i.dokBio = true, i.BioIndex = "3"; }) << 4
        << QList{1, 6, 6, 1, 1} << home.arg(9).arg(3) + "Patient hat Bioware: +2|"
           "Lebensstil ausreichend|Furchtbare Umstände: +3" << QList<float>{17, 408, 816, 0};
    QTest::newRow("hospital, 500 a day") << with(boxes("4", CC::Krankenhaus),
        [](auto& i) { i.txtBioTech = "1"; }) << 0 << QList{6, 1, 1, 1}
        << hospital.arg(4).arg(2) + "Essenzmodifikator: +0|" + attributes.arg(0).arg(0).arg(0)
        << QList<float>{6, 288, 288, 6000};
    QTest::newRow("ten boxes force hospital, tariff with skill") << boxes("10") << 4
        << QList{3, 3, 3} << hospital.arg(10).arg(4) + "Essenzmodifikator: +0|" +
           attributes.arg(0).arg(0).arg(-5) << QList<float>{9, 432, 864, 36400};
    QTest::newRow("magical care, awakened, communication") << with(boxes("4", CC::Krankenhaus),
        [](auto& i) { i.magischeBetreuung = i.Erwachter = i.Kommunikation = true; }) << 0
        << QList{4, 1, 1} << hospital.arg(4).arg(2) + "Langfristige magische Betreuung: -2|"
           "Patient ist Erwachter: +2|Essenzmodifikator: +0|Patient/Arzt Kommunikation gestört: "
           "+2|" + attributes.arg(0).arg(0).arg(-5) << QList<float>{3, 144, 144, 6000};
    QTest::newRow("undocumented wares win, attributes count") << with(boxes("5",
        CC::Krankenhaus), [](auto& i) {
            i.dokBio = i.undokBio = i.dokCyb = i.undokCyb = true;
            i.BioIndex = "2.2", i.EssenzDok = "3", i.txtKonstitution = "4", i.Willenskraft = "7",
            i.txtBioTech = "3"; }) << 0 << QList{6, 6, 2, 1, 1, 2}
        << hospital.arg(5).arg(2) + "Patient hat undokumentierte Bioware: +3|Essenzmodifikator: +2|"
           + attributes.arg(-1).arg(-2).arg(-3) << QList<float>{6, 288, 288, 6000};
    // clang-format on
}

void tst_Healing::presses() {
    QFETCH(HealingInput, in);
    QFETCH(int, lifestyle);
    QFETCH(QList<int>, faces);
    QFETCH(QString, lines);
    QFETCH(QList<float>, result);
    const auto p = press(in, lifestyle, faces);
    QVERIFY2(!p.refused(), qPrintable(p.refusal()));
    QCOMPARE(p->Meldungen.join('|'), lines);
    const Form1State& s = p->state;
    QCOMPARE(QList<float>({float(s.Mindestwurf), s.Grundzeitraum, s.Heilungsdauer,
                           float(s.Kosten.ticks()) / 10000}),
             result);
    QCOMPARE(s.Gesamtzeit, 10.0f + s.Heilungsdauer);
    QCOMPARE(p->hospital, result[3] > 0);
    QCOMPARE(s.Schadenskaestchen, in.Schaden.toInt() - 1);
    QCOMPARE(p->healed(), in.Schaden == "1");
    QCOMPARE(p->roll.dice.size(), faces.size() - faces.count(6));
}

void tst_Healing::refusals_data() {
    QTest::addColumn<HealingInput>("in");
    QTest::addColumn<QList<int>>("faces");
    QTest::addColumn<QString>("message");
    using namespace texts;
    const auto hospital = [](auto change) { return with(boxes("4", CC::Krankenhaus), change); };
    // clang-format off
    QTest::newRow("damage no number") << boxes("x") << QList<int>{}
        << numbers::notAWholeNumber(fieldSchaden);
    QTest::newRow("101 dice") << with(boxes("4"), [](auto& i) { i.txtKonstitution = "101"; })
        << QList<int>{} << tooManyDice();
    QTest::newRow("bio-index read at home") << with(boxes("4"), [](auto& i) { i.dokBio = true,
        i.BioIndex = ""; }) << QList<int>{} << numbers::notANumber(fieldBioIndex);
    QTest::newRow("essence read in hospital") << hospital([](auto& i) { i.dokCyb = true,
        i.EssenzDok = "-"; }) << QList<int>{} << numbers::notANumber(fieldEssenz);
    QTest::newRow("doctor's share beyond 16 bits") << with(boxes("10"), [](auto& i) {
        i.txtBioTech = "656"; }) << QList<int>{}
        << fieldNearerZero("Der Kostenanteil der Biotech-Fertigkeit", fieldBioTech);
    QTest::newRow("bioware modifier beyond 16 bits") << with(boxes("4"), [](auto& i) {
        i.dokBio = true, i.BioIndex = "1e6"; }) << QList<int>{}
        << fieldNearerZero("Der Bioware-Modifikator", fieldBioIndex);
    QTest::newRow("target beyond 16 bits") << boxes("32767") << QList<int>{}
        << tooLarge("Der Mindestwurf");
    QTest::newRow("base period beyond 16 bits") << boxes("700") << QList<int>{}
        << tooLarge("Der Grundzeitraum");
    QTest::newRow("endless sixes") << boxes("4") << QList<int>(6000, 6) << runOfSixes;
    // clang-format on
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
    // clang-format off
    for (const auto& [k, level, mod, needed, stufe] : {
             std::tuple{-5, "Leicht", 1, "Unterschicht", 2}, {2, "Leicht", 1, "Unterschicht", 2},
             {3, "Mittel", 2, "Mittelschicht", 3}, {5, "Mittel", 2, "Mittelschicht", 3},
             {6, "Schwer", 3, "Oberschicht", 4}, {9, "Schwer", 3, "Oberschicht", 4},
             {10, "Tödlich", 4, "Krankenhaus", 5}}) {
        Schadniveau(s, Int16(k));
        Mindstil(s, s.Schadensniveau);
        QCOMPARE(s.Schadensniveau + s.Mindestlebensstil, QString::fromUtf8(level) + needed);
        QCOMPARE(QList<int>({s.Verletzungsmod, s.MindeststilStufe}), QList<int>({mod, stufe}));
    }
    QCOMPARE(lifestyleLevel(Lifestyle::Luxus) + 10 * lifestyleLevel(Lifestyle::Squatter), 14);
    for (const auto& [wert, m] : {std::pair{-4, 0}, {3, 0}, {4, -1}, {6, -1}, {7, -2}, {9, -2},
                                  {10, -3}, {30, -3}})
        QCOMPARE(konstwilltabelle(Int16(wert)), m);
    for (const auto& [skill, m] : {std::pair{-1, 0}, {0, 4}, {1, 0}, {2, -2}, {3, -3}, {4, -3},
                                   {5, -4}, {6, -4}, {7, -5}, {12, -5}})
        QCOMPARE(checkarzt(s, Int16(skill)), QString("Biotech Fertigkeit des Arztes: %1").arg(m));
    // Essence: undocumented and documented columns at every band edge.
    for (const auto& [e, undok, dok] : {std::tuple{6.0f, 0, 0}, {5.01f, 0, 0}, {5.0f, 1, 0},
             {3.01f, 1, 0}, {3.0f, 2, 1}, {1.01f, 2, 1}, {1.0f, 3, 2}, {0.01f, 3, 2},
             {0.005f, 0, 0}, {0.0f, 3, 2}, {-0.5f, 4, 2}, {-1.5f, 4, 4}}) {
        ControlChanges c;
        QCOMPARE(checkcyberware(s, true, false, e, c) + checkcyberware(s, false, true, e, c),
                 QString("Essenzmodifikator: +%1Essenzmodifikator: +%2").arg(undok).arg(dok));
    }
    // Bioware: half the index rounded up when documented, all of it when not.
    for (const auto& [undok, index, mod] : {std::tuple{false, 3.0f, 2}, {false, 5.0f, 3},
             {false, 0.5f, 1}, {false, -3.0f, -1}, {false, 4.0f, 2}, {true, 4.0f, 4},
             {true, 2.2f, 3}, {true, 0.0f, 0}}) {
        uberprufeBioIndex(s, undok, index);
        QCOMPARE(s.BioMod, mod);
    }
    // clang-format on
    // The attribute limits themselves pass; anything above, however large, does not.
    QCOMPARE(constitutionAboveLimit("30"), std::nullopt);
    QCOMPARE(constitutionAboveLimit("31"), texts::constitutionAboveLimit);
    QCOMPARE(constitutionAboveLimit("1e309"), texts::constitutionAboveLimit);
    QCOMPARE(constitutionAboveLimit("-"), std::nullopt);
    QCOMPARE(willpowerAboveLimit("20"), std::nullopt);
    QCOMPARE(willpowerAboveLimit("20.5"), texts::willpowerAboveLimit);
}

// The controls a press changes.
void tst_Healing::changes() {
    const auto hospital = [](auto change) { return with(boxes("4", CC::Krankenhaus), change); };
    auto p = press(hospital([](auto& i) { i.dokBio = i.undokBio = i.undokCyb = i.dokCyb = true; }),
                   0, {1, 1, 1});
    // clang-format off
    QVERIFY((p->changes == ControlChanges{.selectKrankenhaus = true, .enableBioIndex = true,
            .uncheckDokBio = true, .uncheckDokCyb = true, .enableDokCybFrame = true,
            .clearEssenzDok = true}));
    p = press(hospital([](auto& i) { i.dokBio = i.dokCyb = true; }), 0, {1, 1, 1});
    QVERIFY((p->changes == ControlChanges{.selectKrankenhaus = true, .enableBioIndex = true,
            .uncheckUndokBio = true, .uncheckUndokCyb = true, .enableDokCybFrame = true}));
    // clang-format on
    p = press(with(boxes("4"), [](auto& i) { i.dokBio = true; }), 0, {1, 1, 1});
    QVERIFY((p->changes == ControlChanges{.uncheckUndokBio = true}));
}

QTEST_GUILESS_MAIN(tst_Healing)
#include "tst_healing.moc"
