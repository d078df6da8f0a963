// Forecast benchmark: how long the forecast window takes to show everything anew after an
// input changed (next press, whole recovery, open searches: the rules, the odds and the
// texts), for what a table would type and for the most absurd inputs the program accepts.
// Offscreen; each refresh is timed alone, its repaint untimed. Prints the median and the 90th
// percentile in microseconds: of the refresh itself, of the comparison's whole work (which
// the window does in steps between other events) and of its longest step.
//
//   bench_forecast [runs]      (default 300 per case)

#include "odds/Forecast.h"
#include "windows/Prognose.h"

#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

using healing::CareCondition;

struct Case {
    const char* name;
    ForecastInputs inputs;
};

ForecastInputs inputs(const char* schaden, const char* dice, CareCondition care,
                      bool searches = false) {
    ForecastInputs in;
    in.healing.Schaden = schaden;
    in.healing.txtKonstitution = dice;
    in.healing.care = care;
    if (searches) {
        in.normal = {{{care::Provider::Konzern, {}, "", "Deltaware", "", "30"}, {}}};
        in.emergency = {{{care::RescueService::Sanivex}, {}}};
    }
    return in;
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 300;

    // The most presses the program accepts: the constitution field takes at most 30 dice and
    // the willpower field 20; bioware with bio-index -2700 lowers the target so far that 1370
    // presses are counted before one is refused. Every other box ticked, both searches open.
    ForecastInputs longest = inputs("1370", "30", CareCondition::Krankenhaus, true);
    longest.healing.Willenskraft = "20";
    longest.healing.txtBioTech = "7";
    longest.healing.dokBio = true;
    longest.healing.BioIndex = "-2700";
    longest.healing.magischeBetreuung = true;
    longest.healing.Erwachter = true;
    longest.healing.Kommunikation = true;
    longest.healing.dokCyb = true;
    // A long stay whose every press is carried out.
    ForecastInputs largest = inputs("600", "30", CareCondition::Krankenhaus, true);
    largest.healing.Willenskraft = "20";
    largest.healing.txtBioTech = "7";
    const std::vector<Case> cases = {
        {"4 boxes at home, 3 dice", inputs("4", "3", CareCondition::daheim)},
        {"10 boxes, 30 dice, hospital", inputs("10", "30", CareCondition::Krankenhaus)},
        {"10 boxes, 30 dice, both searches", inputs("10", "30", CareCondition::Krankenhaus, true)},
        {"600 boxes, 30 dice, both searches", largest},
        {"1370 boxes, bio-index -2700, 30 dice", longest},
    };

    Prognose window;
    window.show();
    using Clock = std::chrono::steady_clock;
    const auto micros = [](auto duration) {
        return std::chrono::duration<double, std::micro>(duration).count();
    };
    const auto quantiles = [](std::vector<double>& v) {
        std::sort(v.begin(), v.end());
        return std::pair{v[v.size() / 2], v[std::size_t(std::ceil(0.9 * double(v.size()))) - 1]};
    };
    for (const Case& c : cases) {
        // The refresh itself (the comparison's rows only emptied), then the comparison's work
        // as the window does it between other events, one recovery per step: all of it, and
        // the longest step, which is the longest that typing can wait for it.
        std::vector<double> refresh, complete, longestStep;
        for (int i = -runs / 10; i < runs; ++i) {
            const auto start = Clock::now();
            window.showForecast(c.inputs);
            const auto end = Clock::now();
            QCoreApplication::processEvents(); // the repaint and the window's own slices, untimed
            const auto& in = c.inputs;
            std::optional<care::NormalSearchInput> normal;
            std::optional<care::EmergencySearchInput> emergency;
            if (in.normal)
                normal = in.normal->first;
            if (in.emergency)
                emergency = in.emergency->first;
            const auto compareStart = Clock::now();
            odds::Comparer comparer(odds::choices(in.healing, normal, {}, emergency, {}),
                                    in.healing, in.state);
            double step = 0;
            while (!comparer.finished()) {
                const auto before = Clock::now();
                comparer.step();
                step = std::max(step, micros(Clock::now() - before));
            }
            const double all = micros(Clock::now() - compareStart);
            if (i >= 0) {
                refresh.push_back(micros(end - start));
                complete.push_back(all);
                longestStep.push_back(step);
            }
        }
        const auto [median, p90] = quantiles(refresh);
        const auto [all, allP90] = quantiles(complete);
        const auto [step, stepP90] = quantiles(longestStep);
        std::printf("%-38s refresh median %8.1f p90 %8.1f | comparison median %9.1f p90 %9.1f | "
                    "longest step median %8.1f p90 %8.1f us  (%d runs)\n",
                    c.name, median, p90, all, allP90, step, stepP90, runs);
    }
    return 0;
}
