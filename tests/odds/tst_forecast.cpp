// The forecast against the real rules: many presses and searches rolled with seeded dice must
// fall where the forecast says, within five standard errors, for the next press, the whole
// recovery under a choice of the comparison, and both doctor searches; and the exact checks
// of what a recovery says about the presses in it.

#include "numbers/Text.h"
#include "odds/Forecast.h"

#include <QTest>
#include <algorithm>
#include <cmath>

using namespace healing;
using CC = CareCondition;
Q_DECLARE_METATYPE(healing::HealingInput)

namespace {

constexpr int presses = 100000;

dice::Wuerfelomat seeded(std::uint64_t seed) {
    return dice::Wuerfelomat(std::make_unique<dice::MixingGenerator>(seed),
                             [n = std::uint64_t(0)]() mutable { return ++n; });
}

// Within five standard errors of a chance seen `hits` times in `n`.
void near(double chance, int hits, int n, const char* what) {
    const double tolerance = 5 * std::sqrt(chance * (1 - chance) / n) + 1e-9;
    QVERIFY2(std::abs(double(hits) / n - chance) <= tolerance,
             qPrintable(
                 QString("%1: %2 seen, %3 forecast").arg(what).arg(double(hits) / n).arg(chance)));
}

// An illegal provider: 2W6 - 2 can fall below 1 after a first success.
const care::NormalSearchInput search{care::Provider::Illegal, {}, "", "", "", "2"};

HealingInput input(const char* schaden, CC care) {
    HealingInput in;
    in.Schaden = schaden;
    in.care = care;
    return in;
}

} // namespace

class tst_Forecast : public QObject {
    Q_OBJECT

  private slots:
    // Two rows of "Vergleich", each against stays pressed for real with that choice set by
    // hand, and against the forecast of those inputs typed by hand; the next press of each
    // against single presses.
    void healing_data() {
        QTest::addColumn<HealingInput>("in");
        QTest::addColumn<int>("lifestyle");
        QTest::addColumn<QString>("choice");
        QTest::newRow("home, magic")
            << input("4", CC::daheim) << 0 << "Krankenhaus mit magischer Betreuung";
        QTest::newRow("forced hospital at 10")
            << input("10", CC::schlechteUmst) << 2 << "Krankenhaus ohne magische Betreuung";
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
        QList<int> seen(next->outcomes.size());
        double hours = 0;
        for (int i = 0; i < presses; ++i) {
            const auto press = heal(in, state, dice);
            ++seen[press->roll.successes];
            hours += press->state.Heilungsdauer;
        }
        for (qsizetype k = 0; k < seen.size(); ++k)
            near(next->outcomes[k].chance, seen[k], presses, "successes");
        double variance = 0;
        for (const odds::Outcome& o : next->outcomes)
            variance += o.chance * std::pow(o.hours - next->expectedHours, 2);
        QVERIFY(std::abs(hours / presses - next->expectedHours) <=
                5 * std::sqrt(variance / presses) + 1e-6);

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
        chosen.care = CC::Krankenhaus;
        chosen.magischeBetreuung = choice.contains("mit magischer");
        const auto byHand = odds::recovery(chosen, state);
        QCOMPARE(QList({row->meanHours, row->p90Hours, row->meanCost, row->p90Cost}),
                 QList({byHand->hours.mean(), byHand->hours.quantile(0.9), byHand->cost.mean(),
                        byHand->cost.quantile(0.9)}));

        // Stays pressed the way the window presses: the text of Schaden counts down and a
        // press in hospital keeps the care there.
        int stays = 0, withinP90 = 0, belowP90 = 0;
        double sum = 0, squares = 0, costSum = 0, costSquares = 0;
        for (int pressed = 0; pressed < presses;) {
            HealingInput now = chosen;
            Form1State s = state;
            do {
                const auto press = heal(now, s, dice);
                s = press->state;
                now.Schaden = numbers::intText(s.Schadenskaestchen);
                ++pressed;
            } while (s.Schadenskaestchen >= 1);
            ++stays;
            const double cost = double(s.Kosten.ticks()) / 10000;
            sum += s.Gesamtzeit;
            squares += double(s.Gesamtzeit) * s.Gesamtzeit;
            costSum += cost;
            costSquares += cost * cost;
            // The window sums in float, the forecast in double.
            withinP90 += s.Gesamtzeit <= row->p90HoursHigh * (1 + 1e-6);
            belowP90 += s.Gesamtzeit < row->p90HoursLow * (1 - 1e-6);
        }
        // Within five standard errors of the stays' own spread.
        const auto close = [&](double total, double totalSquares, double forecast) {
            const double mean = total / stays;
            const double error = std::sqrt((totalSquares / stays - mean * mean) / stays);
            return std::abs(mean - forecast) <= 5 * error + 1e-6;
        };
        QVERIFY2(close(sum, squares, row->meanHours),
                 qPrintable(QString("%1 seen, %2 forecast").arg(sum / stays).arg(row->meanHours)));
        QVERIFY(close(costSum, costSquares, row->meanCost));
        const double tolerance = 5 * 0.3 / std::sqrt(stays);
        QVERIFY(double(withinP90) / stays >= 0.9 - tolerance);
        QVERIFY(double(belowP90) / stays <= 0.9 + tolerance);
    }

    // What a recovery says beside its figures: the press that would be refused (with the
    // press's own message) and the essence a press empties. Exact, no dice.
    void recoveryNotes_data() {
        QTest::addColumn<HealingInput>("in");
        QTest::addColumn<int>("refusedAt");
        QTest::addColumn<bool>("essence");
        HealingInput late = input("1370", CC::Krankenhaus);
        late.txtKonstitution = "30";
        late.Willenskraft = "20";
        late.txtBioTech = "7";
        late.dokBio = true;
        late.BioIndex = "-2700";
        QTest::newRow("later refusal") << late << 697 << false; // as real presses show
        HealingInput cyber = input("3", CC::Krankenhaus);
        cyber.undokCyb = true;
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
        QCOMPARE(QList({r->refusedAt, int(r->essenceRetyped)}), QList({refusedAt, int(essence)}));
        if (refusedAt > 0) {
            in.Schaden = numbers::intText(in.Schaden.toInt() - refusedAt + 1);
            QCOMPARE(r->refusal, healing::prepare(in, {}).refusal());
            QVERIFY(r->hours.mean() > 0 && r->hours.mean() < r->hours.highest());
        }
    }

    // A doctor row mixes the recoveries with each skill the search finds by its chance, and
    // counts both refusals of the search as no doctor. Exact, no dice.
    void doctorRow() {
        const HealingInput in = input("2", CC::Krankenhaus);
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

    // The refusals and the levels found, against searches rolled with the same inputs.
    void searches() {
        auto dice = seeded(7);
        const care::NormalSearchInput normal = search;
        const auto forecast = odds::normalSearch(normal, {});
        QVERIFY(!forecast.refused());
        int first = 0, second = 0, reached = 0, spare = 0;
        std::map<int, int> skill;
        for (int i = 0; i < presses; ++i) {
            const auto search = care::normalSearch(normal, {}, dice);
            if (search->firstRefusal()) {
                ++first;
                continue;
            }
            ++reached;
            second += search->doctor->doctor.refused;
            ++skill[search->state.Fertigkeit];
            spare += search->state.Erfolge - 1;
        }
        near(forecast->firstRefusal, first, presses, "first refusal");
        near(forecast->secondRefusal, second, presses, "second refusal");
        for (const auto& [level, chance] : forecast->skill)
            near(chance, skill[level], reached, "skill");
        QVERIFY(std::abs(double(spare) / presses - forecast->spareSuccesses) < 0.02);

        const care::EmergencySearchInput emergency{care::RescueService::Illegal,
                                                   care::RescueTeam::HTR, "", "C oder D"};
        const auto odds = odds::emergencySearch(emergency, {});
        std::map<int, int> equipment;
        int refused = 0;
        for (int i = 0; i < presses; ++i) {
            const auto search = care::emergencySearch(emergency, {}, dice);
            ++equipment[search->doctor.doctor.Equipment];
            refused += search->doctor.doctor.refused;
        }
        near(odds->secondRefusal, refused, presses, "emergency refusal");
        for (const auto& [level, chance] : odds->equipment)
            near(chance, equipment[level], presses, "equipment");
    }
};

QTEST_GUILESS_MAIN(tst_Forecast)
#include "tst_forecast.moc"
