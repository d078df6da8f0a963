// Record benchmark: a full record (10,000 lines by default, as many as a patient keeps; more
// only measure the record dropping its oldest hundred again and again) and what the user does
// with it, offscreen, with the real dice: one press of "HEILEN!" with the record window open
// against the same press with it closed (the median extra is what the window costs), opening
// the window up to its first paint, "Kopieren" and saving the CSV. Prints milliseconds of wall
// time and, less disturbed by whatever else the machine runs, of the thread's CPU time.
//
//   bench_record [lines]      (default: a patient's full record)

#include "Driver.h"
#include "team/Team.h"
#include "windows/Verlauf.h"

#include <QApplication>
#include <QPushButton>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Time {
    double wall = 0, cpu = 0; // milliseconds
};

double cpuNow() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// `work` and the events it leaves behind (the repaint included).
Time timed(const std::function<void()>& work) {
    const auto start = Clock::now();
    const double cpu = cpuNow();
    work();
    QCoreApplication::processEvents();
    return {std::chrono::duration<double, std::milli>(Clock::now() - start).count(),
            cpuNow() - cpu};
}

Time median(std::vector<Time> samples) {
    Time m;
    for (double Time::*part : {&Time::wall, &Time::cpu}) {
        std::sort(samples.begin(), samples.end(),
                  [part](const Time& a, const Time& b) { return a.*part < b.*part; });
        m.*part = samples[samples.size() / 2].*part;
    }
    return m;
}

void print(const char* what, Time t) {
    std::printf("%-34s wall %9.3f ms   CPU %9.3f ms\n", what, t.wall, t.cpu);
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int lines = argc > 1 ? std::max(1, std::atoi(argv[1])) : team::recordLines;

    Driver d(std::make_unique<dice::Wuerfelomat>());
    auto* heal = static_cast<QPushButton*>(d.find(QStringLiteral("cmdHeilen")));
    d.click(QStringLiteral("Krankenhaus"));
    // A hospital press leaves the longest line; the record is filled with copies of it.
    d.type(QStringLiteral("Schaden"), QStringLiteral("6"));
    heal->click();
    Record& record = d.program().record;
    const RecordEntry entry = record.entries().last();
    while (record.entries().size() < lines)
        record.add(entry);

    // Presses alternately with the window closed and open, so both see the same record size.
    std::vector<Time> closed, open;
    const Time opening = timed([&] { d.program().openVerlauf(); });
    for (int i = 0; i < 400; ++i) {
        const bool shown = i % 2;
        if (shown)
            d.program().openVerlauf();
        else
            d.program().verlauf.close();
        QCoreApplication::processEvents();
        d.type(QStringLiteral("Schaden"), QStringLiteral("6"));
        (shown ? open : closed).push_back(timed([heal] { heal->click(); }));
    }
    d.program().openVerlauf();
    QCoreApplication::processEvents();
    const Time copying = timed([&] { d.click(QStringLiteral("cmdKopieren")); });
    QTemporaryDir dir;
    auto* window = static_cast<Verlauf*>(d.find(QStringLiteral("Verlauf.")));
    const Time saving = timed([&] { window->saveTo(dir.filePath(QStringLiteral("v.csv"))); });

    if (const QStringList shown = d.messages(); !shown.isEmpty()) {
        std::fprintf(stderr, "a message box came up (%s): the figures are void\n",
                     qPrintable(shown.first()));
        return 1;
    }
    std::printf("record of %lld lines\n", qlonglong(record.entries().size()));
    const Time shut = median(closed), shown = median(open);
    print("one press, window closed (median)", shut);
    print("one press, window open (median)", shown);
    print("  extra for the open window", {shown.wall - shut.wall, shown.cpu - shut.cpu});
    print("opening the window", opening);
    print("Kopieren", copying);
    std::printf("Speichern (CSV of %lld KiB)\n",
                qlonglong(QFileInfo(dir.filePath(QStringLiteral("v.csv"))).size() / 1024));
    print("", saving);
    return 0;
}
