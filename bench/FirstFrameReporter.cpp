#include "FirstFrameReporter.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>
#include <cstdio>
#include <cstring>
#include <ctime>

namespace {

long long monotonicNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1'000'000'000LL + now.tv_nsec;
}

// VmRSS from /proc/self/status, -1 where the kernel does not tell.
long residentKib() {
    std::FILE* status = std::fopen("/proc/self/status", "r");
    if (!status)
        return -1;
    long kib = -1;
    char line[256];
    while (std::fgets(line, sizeof line, status)) {
        if (std::strncmp(line, "VmRSS:", 6) == 0) {
            std::sscanf(line + 6, "%ld", &kib);
            break;
        }
    }
    std::fclose(status);
    return kib;
}

} // namespace

void FirstFrameReporter::watch(QWidget* window) {
    window->installEventFilter(new FirstFrameReporter(window));
}

bool FirstFrameReporter::eventFilter(QObject* watched, QEvent* event) {
    if (!m_painted && watched == parent() && event->type() == QEvent::Paint) {
        m_painted = true;
        // The paint pass that starts here ends with the flush of the back buffer to the
        // display; a queued call runs only after that whole pass has returned.
        QMetaObject::invokeMethod(this, &FirstFrameReporter::report, Qt::QueuedConnection);
    }
    return false;
}

void FirstFrameReporter::report() {
    const long long now = monotonicNanoseconds();
    std::printf("first-frame %lld rss-kib %ld\n", now, residentKib());
    std::fflush(stdout);
    // "--stay" keeps the window open, to look at what was measured.
    if (!QCoreApplication::arguments().contains(QStringLiteral("--stay")))
        QCoreApplication::quit();
}
