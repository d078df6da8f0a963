// Forecast benchmark: how long folding the presses of one recovery into its total takes, for
// a realistic recovery (10 presses of 30 dice) and an absurd one (700 presses of 100 dice).
// Each fold is timed alone; prints the method chosen, the median and the 90th percentile in
// microseconds.
//
//   bench_odds [runs]      (default 300 per case)

#include "odds/Chance.h"
#include "odds/Total.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

// Hours by successes, as the healing rules give them: 48 * target / k, none doubles it.
odds::Distribution press(int target, int dice) {
    const std::vector<double> chances = odds::binomial(dice, odds::openEndedChance(target));
    std::vector<odds::Point> points;
    for (int k = 0; k <= dice; ++k)
        points.push_back({k == 0 ? 2.0 * 24 * target * 2 : 24.0 * target * 2 / k, chances[k]});
    return odds::Distribution(points);
}

// Targets 5..20 in a scattered order, so that neighbouring presses differ.
std::vector<odds::Distribution> recovery(int presses, int dice) {
    std::vector<odds::Distribution> list;
    for (int i = 0; i < presses; ++i)
        list.push_back(press(5 + (i * 7) % 16, dice));
    return list;
}

const char* name(odds::Method method) {
    switch (method) {
    case odds::Method::Exact:
        return "exact";
    case odds::Method::Binned:
        return "binned";
    case odds::Method::Normal:
        return "normal";
    }
    return "?";
}

// Whole hours from 0 to 4 * dice, on a lattice, so that many totals coincide and the fold
// keeps merging exactly for longer: the expensive kind of input for its size.
std::vector<odds::Distribution> wholeHours(int presses, int dice) {
    std::vector<odds::Distribution> list;
    const std::vector<double> chances = odds::binomial(dice, 0.3);
    for (int i = 0; i < presses; ++i) {
        std::vector<odds::Point> points;
        for (int k = 0; k <= dice; ++k)
            points.push_back({4.0 * (dice - k) + (i % 3), chances[k]});
        list.push_back(odds::Distribution(points));
    }
    return list;
}

struct Figures {
    double median = 0;
    double p90 = 0;
    odds::Total total;
};

// Median and nearest-rank 90th percentile of `runs` folds, each timed alone.
Figures measure(const std::vector<odds::Distribution>& presses, int runs) {
    std::vector<double> micros;
    Figures f;
    f.total = odds::fold(presses); // untimed warm-up
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        f.total = odds::fold(presses);
        const auto end = std::chrono::steady_clock::now();
        micros.push_back(std::chrono::duration<double, std::micro>(end - start).count());
    }
    std::sort(micros.begin(), micros.end());
    const std::size_t n = micros.size();
    f.median = n % 2 ? micros[n / 2] : (micros[n / 2 - 1] + micros[n / 2]) / 2;
    f.p90 = micros[(n * 9 + 9) / 10 - 1];
    return f;
}

void run(const char* label, const std::vector<odds::Distribution>& presses, int runs) {
    const Figures f = measure(presses, runs);
    const odds::Total& total = f.total;
    std::printf("%-28s %-7s median %9.1f us   90%% %9.1f us   (%zu points, maxError %.3g, "
                "maxCdfError %.3g, mean %.1f, 90%% quantile %.1f)\n",
                label, name(total.method()), f.median, f.p90, total.distribution().points().size(),
                total.maxError(), total.maxCdfError(), total.mean(), total.quantile(0.9));
}

} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 300;
    std::printf("%d runs per case\n", runs);
    run("10 presses x 31 outcomes", recovery(10, 30), runs);
    run("700 presses x 101 outcomes", recovery(700, 100), runs);
    run("1000 presses x 101 outcomes", recovery(1000, 100), runs);

    // The slowest fold over a sweep of sizes up to 1000 presses of 101 outcomes.
    std::printf("sweep, 15 runs per size, the slowest median:\n");
    using Maker = std::vector<odds::Distribution> (*)(int, int);
    for (const auto& [kind, make] : {std::pair<const char*, Maker>{"hours by successes", recovery},
                                     std::pair<const char*, Maker>{"whole hours", wholeHours}}) {
        Figures worst;
        int worstPresses = 0, worstDice = 0;
        for (int dice : {1, 5, 10, 30, 50, 100})
            for (int presses : {2, 3, 4, 6, 8, 12, 16, 24, 32, 48, 64, 100, 200, 400, 1000}) {
                const Figures f = measure(make(presses, dice), 15);
                if (f.median > worst.median) {
                    worst = f;
                    worstPresses = presses;
                    worstDice = dice;
                }
            }
        std::printf("%-28s %-7s median %9.1f us   90%% %9.1f us   at %d presses x %d outcomes\n",
                    kind, name(worst.total.method()), worst.median, worst.p90, worstPresses,
                    worstDice + 1);
    }
    return 0;
}
