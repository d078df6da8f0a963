// The one-instance window slot: variables for the whole run, controls only while open.

#include "app/WindowSlot.h"

#include <QApplication>
#include <QTest>

namespace {

struct Counter {
    int value = 0;
};

class Probe : public QWidget {
public:
    explicit Probe(Counter& counter) : counter(counter) {}
    Counter& counter;
    int loads = 0;
};

} // namespace

class tst_WindowSlot : public QObject {
    Q_OBJECT

private slots:
    void lifecycle();
};

void tst_WindowSlot::lifecycle()
{
    app::WindowSlot<Probe, Counter> slot;
    int created = 0;
    auto create = [&created](Counter& c) {
        ++created;
        return new Probe(c);
    };
    auto load = [](Probe& p) { ++p.loads; };

    QVERIFY(!slot.isOpen());
    Probe* first = slot.open(create, load);
    QVERIFY(first->isVisible());
    QVERIFY(first->testAttribute(Qt::WA_DeleteOnClose));
    QCOMPARE(first->loads, 1);
    first->counter.value = 7; // the window changes its per-window variable

    // Opening an open window changes nothing: no second widget, no second load.
    QCOMPARE(slot.open(create, load), first);
    QCOMPARE(created, 1);
    QCOMPARE(first->loads, 1);

    QPointer<Probe> watch(first);
    first->close();
    QVERIFY(!slot.isOpen()); // closed at once, even before the deferred deletion
    QCOMPARE(slot.window(), nullptr);
    QTRY_VERIFY(watch.isNull()); // the controls are discarded...
    QCOMPARE(slot.state.value, 7); // ...the variables are not

    Probe* second = slot.open(create, load);
    QCOMPARE(created, 2);
    QCOMPARE(second->loads, 1); // fresh controls, load handler run again
    QCOMPARE(second->counter.value, 7);

    // A reopening before the old widget is deleted still builds a fresh one.
    second->close();
    Probe* third = slot.open(create, load);
    QVERIFY(third != second);
    QCOMPARE(created, 3);
    slot.destroy();
    QCOMPARE(slot.window(), nullptr);
}

QTEST_MAIN(tst_WindowSlot)
#include "tst_windowslot.moc"
