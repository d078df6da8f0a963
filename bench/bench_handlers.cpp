// Handler benchmark: how long one press of "HEILEN!" in the main window and one press of
// "Suche einen Arzt!" in each search window take, offscreen, with the real dice and message
// boxes that show nothing. Each press is timed alone; the repaint it causes runs untimed
// before the next one. Prints the median and the 90th percentile in microseconds.
//
//   bench_handlers [presses]      (default 2000 per handler)

#include "Driver.h"

#include <QApplication>
#include <QPushButton>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

struct Figures {
    double median = 0;
    double p90 = 0;
};

// Median and nearest-rank 90th percentile.
Figures summarise(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    const std::size_t n = samples.size();
    const double median = n % 2 ? samples[n / 2] : (samples[n / 2 - 1] + samples[n / 2]) / 2.0;
    const auto rank = static_cast<std::size_t>(std::ceil(0.9 * static_cast<double>(n)));
    return {median, samples[std::max<std::size_t>(rank, 1) - 1]};
}

// `prepare` runs untimed before every press, `press` is timed; a tenth as many presses
// beforehand warm the caches and are not counted.
Figures measure(int presses, const std::function<void()>& prepare,
                const std::function<void()>& press) {
    using Clock = std::chrono::steady_clock;
    std::vector<double> micros;
    micros.reserve(static_cast<std::size_t>(presses));
    for (int i = -presses / 10; i < presses; ++i) {
        prepare();
        const auto start = Clock::now();
        press();
        const auto end = Clock::now();
        QCoreApplication::processEvents(); // the repaint, untimed
        if (i >= 0)
            micros.push_back(std::chrono::duration<double, std::micro>(end - start).count());
    }
    return summarise(std::move(micros));
}

void print(const char* what, const Figures& f, int presses) {
    std::printf("%-38s median %8.1f us   p90 %8.1f us   (%d presses)\n", what, f.median, f.p90,
                presses);
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int presses = argc > 1 ? std::max(1, std::atoi(argv[1])) : 2000;

    // The real dice; the chosen inputs must never lead to a message box, or the figures would
    // time a different path.
    Driver d(std::make_unique<dice::Wuerfelomat>());
    const auto press = [&d](const char* button) {
        QPushButton* found = static_cast<QPushButton*>(d.find(QString::fromUtf8(button)));
        return [found] { found->click(); };
    };

    // A hospital stay of six boxes: the patient, doctor and cost rules all take part.
    d.click("Krankenhaus");
    d.type("txtKonstitution", "5");
    d.type("Willenskraft", "4");
    const Figures heal = measure(
        presses, [&d] { d.type("Schaden", "6"); }, press("cmdHeilen"));

    // Every etiquette die succeeds (target -1) and 2W6 - 1 never falls below 1: no refusal.
    d.click("Form1.cmdSuchDoc");
    d.click("cmdNormalfall");
    for (const char* option : {"optoeffentlich", "optSchieber"})
        d.click(option);
    d.type("cmbArt", "Kosmetisch");
    d.type("cmbLegalität", "Legal");
    d.type("txtGebräuche", "4");
    const Figures searchNormal = measure(
        presses, [] {}, press("NormalVersorgung.cmdSuchDoc"));

    // Modifier +6: the sum is at least 8, never a refusal.
    d.click("Form1.cmdSuchDoc");
    d.click("cmdNotfall");
    for (const char* option : {"optSanivex", "optKriseneinsatz"})
        d.click(option);
    d.type("cmbKontrakt", "Super-Platin");
    d.type("cmbGegend", "AAA oder AA");
    const Figures searchNotfall = measure(
        presses, [] {}, press("NotfallVersorgung.cmdSuchDoc"));

    if (const QStringList shown = d.messages(); !shown.isEmpty()) {
        std::fprintf(stderr, "a press ended in a message box (%s): the figures are void\n",
                     qPrintable(shown.first()));
        return 1;
    }
    print("HEILEN! (Form1)", heal, presses);
    print("Suche einen Arzt! (NormalVersorgung)", searchNormal, presses);
    print("Suche einen Arzt! (NotfallVersorgung)", searchNotfall, presses);
    return 0;
}
