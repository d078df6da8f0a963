// The forecast against the real rules: many presses and searches rolled with seeded dice must
// fall where the forecast says, within five standard errors, for the next press, the whole
// recovery and both doctor searches.

#include "numbers/Text.h"
#include "odds/Forecast.h"

#include <QTest>
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
    void healing_data() {
        QTest::addColumn<HealingInput>("in");
        QTest::addColumn<int>("lifestyle");
        QTest::newRow("home") << input("4", CC::daheim) << 0;
        QTest::newRow("forced hospital at 10") << input("10", CC::schlechteUmst) << 2;
        QTest::newRow("floor of 2") << input("2", CC::daheim) << 4;
    }
    void healing() {
        QFETCH(HealingInput, in);
        QFETCH(int, lifestyle);
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

        // The whole recovery, pressed the way the window presses: the text of Schaden counts
        // down and a press in hospital keeps the care there.
        const auto forecast = odds::recovery(in, state);
        QVERIFY(!forecast.refused());
        const odds::Total& total = forecast->hours;
        const double median = total.quantile(0.5);
        int stays = 0, withinMedian = 0, belowMedian = 0;
        double sum = 0, costSum = 0;
        for (int pressed = 0; pressed < presses; ++stays) {
            HealingInput now = in;
            Form1State s = state;
            do {
                const auto press = heal(now, s, dice);
                s = press->state;
                if (press->changes.selectKrankenhaus)
                    now.care = CC::Krankenhaus;
                now.Schaden = numbers::intText(s.Schadenskaestchen);
                ++pressed;
            } while (s.Schadenskaestchen >= 1);
            sum += s.Gesamtzeit;
            costSum += double(s.Kosten.ticks()) / 10000;
            withinMedian += s.Gesamtzeit <= median + total.maxError();
            belowMedian += s.Gesamtzeit < median - total.maxError();
        }
        const double sd = std::sqrt(total.variance());
        QVERIFY2(std::abs(sum / stays - total.mean()) <= 5 * sd / std::sqrt(stays),
                 qPrintable(QString("%1 seen, %2 forecast").arg(sum / stays).arg(total.mean())));
        const double cdfTolerance = 5 * 0.5 / std::sqrt(stays) + total.maxCdfError();
        QVERIFY(double(withinMedian) / stays >= 0.5 - cdfTolerance);
        QVERIFY(double(belowMedian) / stays <= 0.5 + cdfTolerance);
        const odds::Total& cost = forecast->cost;
        QVERIFY(std::abs(costSum / stays - cost.mean()) <=
                5 * std::sqrt(cost.variance() / stays) + 0.01);
    }

    // The refusals and the levels found, against searches rolled with the same inputs.
    void searches() {
        auto dice = seeded(7);
        // An illegal provider: 2W6 - 2 can fall below 1 after a first success.
        const care::NormalSearchInput normal{care::Provider::Illegal, {}, "", "", "", "2"};
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
