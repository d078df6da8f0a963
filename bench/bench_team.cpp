// Team benchmark: a team of 20 patients, each with a full record (10,000 lines with the
// notice) and 50 undo steps, saved to a fresh data directory; then, through the real windows
// offscreen, the time to show its active patient after the first frame and to read all of it, one
// save after a press, one switch of patient, one refresh of "Runde" with its 20 forecasts, and the
// file's size.
//
//   bench_team [repeats]      (default 200)

#include "Driver.h"
#include "team/Store.h"
#include "windows/Form1.h"
#include "windows/Runde.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

namespace {

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}
double p90(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() * 9 / 10];
}

template <class F> std::vector<double> times(int repeats, F work) {
    std::vector<double> ms;
    for (int i = 0; i < repeats; ++i) {
        QElapsedTimer clock;
        clock.start();
        work(i);
        ms.push_back(double(clock.nsecsElapsed()) / 1e6);
        QCoreApplication::processEvents();
    }
    return ms;
}

void print(const char* what, const std::vector<double>& ms) {
    std::printf("%-34s median %7.2f ms   p90 %7.2f ms   (%zu times)\n", what, median(ms), p90(ms),
                ms.size());
}

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // With a directory named, the team is written there and kept, for bench/startup.py to
    // start the real program on it (XDG_DATA_HOME=that directory).
    QTemporaryDir data;
    const QByteArray keep = qgetenv("SANIVEX_BENCH_TEAM_DIR");
    qputenv("XDG_DATA_HOME", keep.isEmpty() ? data.path().toUtf8() : keep);
    QApplication application(argc, argv);
    const int repeats = argc > 1 ? std::atoi(argv[1]) : 200;

    // The team as it would be after weeks of play: every patient in hospital with a record
    // of typical lines and fifty undo steps.
    QList<team::Patient> patients;
    {
        Driver d(std::make_unique<dice::Wuerfelomat>());
        d.type("Schaden", "8");
        d.click("Krankenhaus");
        d.click("cmdHeilen");
        (void)d.messages();
        const team::Sheet sheet = d.program().form1.window()->capture();
        const RecordEntry line = d.program().record.entries().last();
        for (int p = 0; p < 20; ++p) {
            team::Patient patient;
            patient.name = QStringLiteral("Patient %1").arg(p + 1);
            patient.setSheet(sheet);
            for (int s = 0; s < team::undoSteps; ++s)
                patient.pushUndo(QStringLiteral("HEILEN!"), sheet);
            for (int l = 0; l < team::recordLines; ++l)
                patient.addLine(line);
            patients << patient;
        }
        team::Store store(team::Store::defaultPath());
        QString error;
        if (!store.save(patients, 0, &error))
            std::printf("could not save: %s\n", qPrintable(error));
    }
    const QString path = team::Store::defaultPath();
    std::printf("database file: %.1f MB\n",
                double(QFileInfo(path).size() + QFileInfo(path + "-wal").size()) / 1e6);

    std::vector<double> load;
    for (int i = 0; i < 5; ++i) {
        Driver d(std::make_unique<dice::Wuerfelomat>());
        QElapsedTimer clock;
        clock.start();
        d.program().loadTeam();
        load.push_back(double(clock.nsecsElapsed()) / 1e6);
    }
    print("read and show the active patient", load);
    // The rest of the team arrives from another thread; a save waits for it.
    std::vector<double> whole;
    for (int i = 0; i < 5; ++i) {
        Driver d(std::make_unique<dice::Wuerfelomat>());
        QElapsedTimer clock;
        clock.start();
        d.program().loadTeam();
        d.program().saveNow();
        whole.push_back(double(clock.nsecsElapsed()) / 1e6);
    }
    print("whole team read (background)", whole);

    Driver d(std::make_unique<dice::Wuerfelomat>());
    app::Programm& program = d.program();
    program.loadTeam();
    // Each press untimed; the save that follows it timed alone.
    std::vector<double> saves;
    for (int i = 0; i < repeats; ++i) {
        d.type("Schaden", "8");
        d.click("cmdHeilen");
        (void)d.messages();
        QElapsedTimer clock;
        clock.start();
        program.saveNow();
        saves.push_back(double(clock.nsecsElapsed()) / 1e6);
    }
    print("save after a press", saves);
    print("switch patient", times(repeats, [&](int i) { program.activate(i % 20); }));
    QElapsedTimer opening;
    opening.start();
    Runde* runde = program.openRunde(); // every forecast worked out
    print("Runde opened (all 20 worked out)", {double(opening.nsecsElapsed()) / 1e6});
    // Later refreshes work out only the patients whose sheet changed: here none did.
    print("Runde refresh (20 forecasts)", times(repeats / 4, [&](int) { runde->showTeam(); }));
    (void)d.messages();
    return 0;
}
