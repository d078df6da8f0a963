#pragma once
// Tells a start-up benchmark when the main window has been seen: after the window's first
// paint has been flushed to the display, it prints the monotonic clock and the resident set
// size on one line of standard output and ends the event loop (unless the program was started
// with "--stay").
//
//   first-frame <CLOCK_MONOTONIC nanoseconds> rss-kib <VmRSS in KiB>

#include <QObject>

class QWidget;

class FirstFrameReporter final : public QObject {
  public:
    // Watches `window` (a top-level widget) from now on; owned by the window.
    static void watch(QWidget* window);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    using QObject::QObject;
    void report();

    bool m_painted = false;
};
