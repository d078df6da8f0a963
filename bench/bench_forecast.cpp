// Forecast benchmark: how long the forecast window takes to show everything anew after an
// input changed (next press, whole recovery, open searches: the rules, the odds and the
// texts), for what a table would type and for the most absurd inputs the program accepts.
// Offscreen; each refresh is timed alone, its repaint untimed. Prints the median and the 90th
// percentile in microseconds.
//
//   bench_forecast [runs]      (default 300 per case)

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

    // The largest hospital stay whose base period still fits: target N - 9 up to 682.
    ForecastInputs absurd = inputs("691", "100", CareCondition::Krankenhaus, true);
    absurd.healing.magischeBetreuung = true;
    absurd.healing.Willenskraft = "20";
    absurd.healing.txtBioTech = "7";
    // Bioware lowers the target so far that twice as many presses are counted before one is
    // refused: the longest the forecast can work on.
    ForecastInputs longest = absurd;
    longest.healing.Schaden = "1370";
    longest.healing.dokBio = true;
    longest.healing.BioIndex = "-2700";
    const std::vector<Case> cases = {
        {"4 boxes at home, 3 dice", inputs("4", "3", CareCondition::daheim)},
        {"10 boxes, 30 dice, hospital", inputs("10", "30", CareCondition::Krankenhaus)},
        {"10 boxes, 30 dice, both searches", inputs("10", "30", CareCondition::Krankenhaus, true)},
        {"691 boxes, 100 dice, both searches", absurd},
        {"1370 boxes, bio-index -2700, 100 dice", longest},
    };

    Prognose window;
    window.show();
    using Clock = std::chrono::steady_clock;
    for (const Case& c : cases) {
        std::vector<double> micros;
        for (int i = -runs / 10; i < runs; ++i) {
            const auto start = Clock::now();
            window.showForecast(c.inputs);
            const auto end = Clock::now();
            QCoreApplication::processEvents(); // the repaint, untimed
            if (i >= 0)
                micros.push_back(std::chrono::duration<double, std::micro>(end - start).count());
        }
        std::sort(micros.begin(), micros.end());
        const double median = micros[micros.size() / 2];
        const double p90 = micros[std::size_t(std::ceil(0.9 * double(micros.size()))) - 1];
        std::printf("%-38s median %9.1f us   p90 %9.1f us   (%d runs)\n", c.name, median, p90,
                    runs);
    }
    return 0;
}
