// The forecast against the real rules: presses and searches rolled with seeded dice must fall
// where the forecast says, within five standard errors, for the next press and the whole
// recovery at home and in hospital and for both doctor searches; and the exact checks of what
// a recovery says about the presses in it and of a doctor row.

#include "numbers/Text.h"
#include "odds/Forecast.h"

#include <QTest>
#include <algorithm>
#include <cmath>

using namespace healing;
using CC = CareCondition;
Q_DECLARE_METATYPE(healing::HealingInput)

namespace {

constexpr int presses = 100000;       // per comparison row, and for its next press
constexpr int searchesRolled = 40000; // per kind of search

dice::Wuerfelomat seeded(std::uint64_t seed) {
    return dice::Wuerfelomat(std::make_unique<dice::MixingGenerator>(seed),
                             [n = std::uint64_t(0)]() mutable { return ++n; });
}

// Values rolled for real, held to a forecast mean or chance within five standard errors.
struct Seen {
    double n = 0, sum = 0, squares = 0;
    void add(double x) {
        ++n;
        sum += x;
        squares += x * x;
    }
    bool near(double forecast) const {
        const double mean = sum / n;
        return std::abs(mean - forecast) <= 5 * std::sqrt((squares / n - mean * mean) / n) + 1e-6;
    }
};

// An illegal provider: 2W6 - 2 can fall below 1 after a first success.
const care::NormalSearchInput search{care::Provider::Illegal, {}, "", "", "", "2"};

} // namespace

class tst_Forecast : public QObject {
    Q_OBJECT

  private slots:
    // Three rows of "Vergleich", each against stays pressed for real with that choice set by
    // hand, and against the forecast of those inputs typed by hand; the next press of each
    // against single presses.
    void healing_data() {
        QTest::addColumn<HealingInput>("in");
        QTest::addColumn<int>("lifestyle");
        QTest::addColumn<QString>("choice");
        QTest::newRow("home, magic")
            << HealingInput{.Schaden = "4"} << 0 << "Krankenhaus mit magischer Betreuung";
        QTest::newRow("forced hospital at 10")
            << HealingInput{.Schaden = "10", .care = CC::schlechteUmst} << 2
            << "Krankenhaus ohne magische Betreuung";
        QTest::newRow("hospital, home")
            << HealingInput{.Schaden = "3", .care = CC::Krankenhaus} << 3 << "zu Hause";
    }
    void healing() {
        QFETCH(HealingInput, in);
        QFETCH(int, lifestyle);
        QFETCH(QString, choice);
        Form1State state;
        state.Lebensstilstufe = Int16(lifestyle);
        auto dice = seeded(QTest::currentDataTag()[0]);

        // The next press: every number of successes, and the mean duration.
        const auto next = odds::nextPress(in, state);
        QVERIFY(!next.refused());
        QList<Seen> successes(next->outcomes.size());
        Seen hours;
        for (int i = 0; i < presses; ++i) {
            const auto press = heal(in, state, dice);
            for (qsizetype k = 0; k < successes.size(); ++k)
                successes[k].add(press->roll.successes == k);
            hours.add(press->state.Heilungsdauer);
        }
        for (qsizetype k = 0; k < successes.size(); ++k)
            QVERIFY(successes[k].near(next->outcomes[k].chance));
        QVERIFY(hours.near(next->expectedHours));

        // The comparison row, and the same choice set by hand.
        const auto rows = odds::compareAll(odds::choices(in, search, {}, {}, {}), in, state);
        const auto row = std::find_if(rows.begin(), rows.end(),
                                      [&](const auto& r) { return r.choice.label == choice; });
        QVERIFY(row != rows.end() && row->refusal.isEmpty());
        // Today's choice is marked once, on the inputs' own care.
        const auto isCurrent = [](const auto& r) { return r.choice.current; };
        QVERIFY(std::count_if(rows.begin(), rows.end(), isCurrent) == 1 &&
                std::find_if(rows.begin(), rows.end(), isCurrent)->choice.care == in.care);
        // A stay forced into hospital can be nowhere else, and says so.
        QCOMPARE(rows[0].refusal.isEmpty(), in.Schaden != "10");
        HealingInput chosen = in;
        chosen.care = choice == "zu Hause" ? CC::daheim : CC::Krankenhaus;
        chosen.magischeBetreuung = choice.contains("mit magischer");
        const auto byHand = odds::recovery(chosen, state);
        QCOMPARE(QList({row->meanHours, row->p90Hours, row->meanCost, row->p90Cost}),
                 QList({byHand->hours.mean(), byHand->hours.quantile(0.9), byHand->cost.mean(),
                        byHand->cost.quantile(0.9)}));
        // A stay forced into hospital heals as one begun there.
        if (!rows[0].refusal.isEmpty())
            QCOMPARE(odds::recovery(in, state)->cost.mean(), byHand->cost.mean());

        // Stays pressed the way the window presses: the text of Schaden counts down and a
        // press in hospital keeps the care there.
        Seen total, cost;
        int withinP90 = 0, belowP90 = 0;
        for (int pressed = 0; pressed < presses;) {
            HealingInput now = chosen;
            Form1State s = state;
            do {
                s = heal(now, s, dice)->state;
                now.Schaden = numbers::intText(s.Schadenskaestchen);
                ++pressed;
            } while (s.Schadenskaestchen >= 1);
            total.add(s.Gesamtzeit);
            cost.add(double(s.Kosten.ticks()) / 10000);
            // The window sums in float, the forecast in double.
            withinP90 += s.Gesamtzeit <= row->p90HoursHigh * (1 + 1e-6);
            belowP90 += s.Gesamtzeit < row->p90HoursLow * (1 - 1e-6);
        }
        QVERIFY(total.near(row->meanHours) && cost.near(row->meanCost));
        const double tolerance = 5 * 0.3 / std::sqrt(total.n);
        QVERIFY(withinP90 >= (0.9 - tolerance) * total.n &&
                belowP90 <= (0.9 + tolerance) * total.n);
    }

    // What a recovery says beside its figures: the press that would be refused (with the
    // press's own message) and the essence a press empties. Exact, no dice.
    void recoveryNotes_data() {
        QTest::addColumn<HealingInput>("in");
        QTest::addColumn<int>("refusedAt");
        QTest::addColumn<bool>("essence");
        QTest::newRow("later refusal") // as real presses show
            << HealingInput{.Schaden = "1370",
                            .txtKonstitution = "30",
                            .Willenskraft = "20",
                            .BioIndex = "-2700",
                            .txtBioTech = "7",
                            .care = CC::Krankenhaus,
                            .dokBio = true}
            << 697 << false;
        HealingInput cyber{.Schaden = "2", .care = CC::Krankenhaus, .undokCyb = true};
        QTest::newRow("undocumented cyberware") << cyber << 0 << true;
        cyber.Schaden = "1";
        QTest::newRow("last box") << cyber << 0 << false;
        cyber.Schaden = "3";
        cyber.care = CC::daheim;
        QTest::newRow("at home") << cyber << 0 << false;
    }
    void recoveryNotes() {
        QFETCH(HealingInput, in);
        QFETCH(int, refusedAt);
        QFETCH(bool, essence);
        const auto r = odds::recovery(in, {});
        QCOMPARE(QList({r->refusedAt, int(r->essenceRetyped), int(r->hospital)}),
                 QList({refusedAt, int(essence), int(in.care == CC::Krankenhaus)}));
        if (r->presses == 1) { // one box: the recovery is the next press
            const auto next = odds::nextPress(in, {});
            QCOMPARE(r->hours.mean(), next->expectedHours);
            QCOMPARE(r->cost.mean(), next->expectedCost);
        }
        if (refusedAt > 0) {
            in.Schaden = numbers::intText(in.Schaden.toInt() - refusedAt + 1);
            QCOMPARE(r->refusal, healing::prepare(in, {}).refusal());
            QVERIFY(r->hours.mean() > 0 && r->hours.mean() < r->hours.highest());
        }
    }

    // The floor of the target number; a doctor row mixes the recoveries with each skill the
    // search finds by its chance, and counts both refusals of the search as no doctor. Exact.
    void exact() {
        Form1State three; // one box at lifestyle 3 comes to target 1, and is raised to 2
        three.Lebensstilstufe = 3;
        QCOMPARE(odds::nextPress({.Schaden = "1"}, three)->target, 2);
        const auto none = odds::nextPress({.Schaden = "1", .txtKonstitution = "0"}, {}); // no dice
        QCOMPARE(
            QList({double(none->dice), double(none->outcomes.size()), none->outcomes[0].chance}),
            QList<double>({0, 1, 1}));
        const HealingInput in{.Schaden = "2", .care = CC::Krankenhaus};
        const auto found = odds::normalSearch(search, {});
        const auto row = odds::compareAll(odds::choices(in, search, {}, {}, {}), in, {}).back();
        QCOMPARE(row.choice.noDoctor, found->firstRefusal + found->secondRefusal);
        std::vector<std::pair<double, odds::Total>> parts;
        double mean = 0;
        for (const auto& [skill, chance] : row.choice.skills) {
            HealingInput with = in;
            with.txtBioTech = numbers::intText(skill);
            parts.push_back({chance / (1 - row.choice.noDoctor), odds::recovery(with, {})->hours});
            mean += parts.back().first * parts.back().second.mean();
        }
        const auto cdf = [&](double x) {
            double c = 0;
            for (const auto& [weight, total] : parts)
                c += weight * total.cdf(x);
            return c;
        };
        QCOMPARE(row.meanHours, mean);
        QVERIFY(cdf(row.p90Hours) >= 0.9 && cdf(row.p90Hours * (1 - 1e-6)) < 0.9);
    }

    // The refusals, the levels found and the spare successes, against searches rolled with
    // the same inputs.
    void searches() {
        auto dice = seeded(7);
        const auto normal = odds::normalSearch(search, {});
        Seen first, second, spare;
        std::map<int, Seen> skill;
        for (int i = 0; i < searchesRolled; ++i) {
            const auto s = care::normalSearch(search, {}, dice);
            const bool reached = !s->firstRefusal();
            first.add(!reached);
            second.add(reached && s->doctor->doctor.refused);
            spare.add(reached ? s->state.Erfolge - 1 : 0);
            for (const auto& [level, chance] : normal->skill)
                if (reached)
                    skill[level].add(s->state.Fertigkeit == level);
        }
        QVERIFY(first.near(normal->firstRefusal) && second.near(normal->secondRefusal) &&
                spare.near(normal->spareSuccesses));
        for (const auto& [level, chance] : normal->skill)
            QVERIFY(skill[level].near(chance));

        const care::EmergencySearchInput input{care::RescueService::Illegal, care::RescueTeam::HTR,
                                               "", "C oder D"};
        const auto emergency = odds::emergencySearch(input, {});
        Seen refused;
        std::map<int, Seen> equipment;
        for (int i = 0; i < searchesRolled; ++i) {
            const auto s = care::emergencySearch(input, {}, dice);
            refused.add(s->doctor.doctor.refused);
            for (const auto& [level, chance] : emergency->equipment)
                equipment[level].add(s->doctor.doctor.Equipment == level);
        }
        QVERIFY(refused.near(emergency->secondRefusal));
        for (const auto& [level, chance] : emergency->equipment)
            QVERIFY(equipment[level].near(chance));
    }
};

QTEST_GUILESS_MAIN(tst_Forecast)
#include "tst_forecast.moc"
