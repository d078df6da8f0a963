// Kills a process in the middle of saving the team, again and again at a random moment, and
// checks after each kill that the file holds the last team a save reported as committed or the
// one being saved when the kill came: never a mix, never a damaged file. Each process goes on
// from what the last one left. SANIVEX_KILLS sets how many kills (200).

#include "TeamSamples.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <csignal>
#include <cstdio>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// A press whose undo step carries a time every process gives it alike.
void pressAt(team::Patient& p, int n) {
    press(p, n);
    p.undo.last().time = QTime(9, 0).addMSecs(n);
}

int failed(const QString& why) {
    std::fprintf(stderr, "kill_saves: %s\n", qPrintable(why));
    return 1;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    const int kills = qEnvironmentVariableIsSet("SANIVEX_KILLS")
                          ? std::max(1, qEnvironmentVariableIntValue("SANIVEX_KILLS"))
                          : 200;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("runde.sqlite"));
    std::mt19937 random(4711);
    int committed = 0; // presses in the file
    QList<team::Patient> expected = made(1, 0);
    for (int kill = 0; kill < kills; ++kill) {
        int ends[2];
        if (pipe(ends) != 0)
            return failed(QStringLiteral("no pipe"));
        const pid_t child = fork();
        if (child == 0) { // saves press after press, telling the parent each press it saves
            close(ends[0]);
            team::Store store(path);
            QList<team::Patient> team = store.load().patients;
            if (team.isEmpty())
                team = made(1, 0);
            QString error;
            for (int n = int(team[0].nextUndo) - 1;; pressAt(team[0], ++n))
                if (write(ends[1], &n, sizeof n) < 0 || !store.save(team, 0, &error))
                    _exit(1);
        }
        close(ends[1]);
        int status = 0, n = 0, reported = committed;
        if (read(ends[0], &n, sizeof n) != sizeof n) // loaded: the saves begin
            return failed(QStringLiteral("the saving process did not start"));
        usleep(std::uniform_int_distribution<useconds_t>(0, 20000)(random));
        ::kill(child, SIGKILL);
        waitpid(child, &status, 0);
        if (!WIFSIGNALED(status))
            return failed(QStringLiteral("the saving process stopped by itself"));
        while (read(ends[0], &n, sizeof n) == sizeof n)
            reported = n - 1; // the save before this press was committed
        close(ends[0]);
        const team::Store::Loaded back = team::Store(path).load();
        if (!back.problem.isEmpty())
            return failed(QStringLiteral("kill %1: %2").arg(kill).arg(back.problem));
        committed = back.patients.isEmpty() ? 0 : int(back.patients[0].nextUndo) - 1;
        if (committed < reported || committed > reported + 1)
            return failed(QStringLiteral("kill %1: %2 presses in the file, %3 reported")
                              .arg(kill)
                              .arg(committed)
                              .arg(reported));
        while (expected[0].nextUndo <= committed)
            pressAt(expected[0], int(expected[0].nextUndo));
        if (committed > 0 && describe(back.patients) != describe(expected))
            return failed(QStringLiteral("kill %1: the file holds another team").arg(kill));
    }
    std::printf("%d kills, %d presses committed: every kill left a whole team\n", kills, committed);
    return 0;
}
