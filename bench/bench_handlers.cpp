// Handler benchmark: how long one press of "HEILEN!" in the main window and one press of
// "Suche einen Arzt!" in each search window take, offscreen, with the real dice and message
// boxes that show nothing. Each press is timed alone; the repaint it causes runs untimed
// before the next one. Prints the median and the 90th percentile in microseconds.
//
//   bench_handlers [presses]      (default 2000 per handler)

#include "app/Programm.h"
#include "windows/Form1.h"
#include "windows/MessageBoxes.h"
#include "windows/NormalVersorgung.h"
#include "windows/NotfallVersorgung.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

// Counts instead of showing: the chosen inputs must never lead to a message box, or the
// figures would time a different path.
class SilentBoxes final : public MessageBoxes {
  public:
    void inform(QWidget*, const QString&) override { ++shown; }
    int shown = 0;
};

template <class T> T* control(QWidget* window, const char* name) {
    T* found = window->findChild<T*>(QString::fromUtf8(name));
    if (!found)
        qFatal("no control %s", name);
    return found;
}

void select(QWidget* window, const char* option) {
    control<QRadioButton>(window, option)->setChecked(true);
}

void choose(QWidget* window, const char* list, const char* entry) {
    auto* box = control<QComboBox>(window, list);
    box->setCurrentIndex(box->findText(QString::fromUtf8(entry)));
    if (box->currentIndex() < 0)
        qFatal("no entry %s in %s", entry, list);
}

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

    SilentBoxes boxes;
    app::Programm programm(nullptr, &boxes);
    Form1* main = programm.start();

    // A hospital stay of six boxes: the patient, doctor and cost rules all take part.
    select(main, "Krankenhaus");
    control<QLineEdit>(main, "txtKonstitution")->setText(QStringLiteral("5"));
    control<QLineEdit>(main, "Willenskraft")->setText(QStringLiteral("4"));
    auto* schaden = control<QLineEdit>(main, "Schaden");
    auto* heilen = control<QPushButton>(main, "cmdHeilen");
    const Figures heal = measure(
        presses, [schaden] { schaden->setText(QStringLiteral("6")); },
        [heilen] { heilen->click(); });

    // Every etiquette die succeeds (target -1) and 2W6 - 1 never falls below 1: no refusal.
    NormalVersorgung* normal = programm.openNormalVersorgung();
    select(normal, "optoeffentlich");
    select(normal, "optSchieber");
    choose(normal, "cmbArt", "Kosmetisch");
    choose(normal, "cmbLegalität", "Legal");
    control<QLineEdit>(normal, "txtGebräuche")->setText(QStringLiteral("4"));
    auto* sucheNormal = control<QPushButton>(normal, "cmdSuchDoc");
    const Figures searchNormal = measure(
        presses, [] {}, [sucheNormal] { sucheNormal->click(); });

    // Modifier +6: the sum is at least 8, never a refusal.
    NotfallVersorgung* notfall = programm.openNotfallVersorgung();
    select(notfall, "optSanivex");
    select(notfall, "optKriseneinsatz");
    choose(notfall, "cmbKontrakt", "Super-Platin");
    choose(notfall, "cmbGegend", "AAA oder AA");
    auto* sucheNotfall = control<QPushButton>(notfall, "cmdSuchDoc");
    const Figures searchNotfall = measure(
        presses, [] {}, [sucheNotfall] { sucheNotfall->click(); });

    if (boxes.shown != 0 || !programm.normalVersorgung.isOpen()) {
        std::fprintf(stderr, "a press ended in a message box (%d): the figures are void\n",
                     boxes.shown);
        return 1;
    }
    print("HEILEN! (Form1)", heal, presses);
    print("Suche einen Arzt! (NormalVersorgung)", searchNormal, presses);
    print("Suche einen Arzt! (NotfallVersorgung)", searchNotfall, presses);
    return 0;
}
