// The main window beyond its layout: the damage field ready for typing, Reset, the dice list,
// the doctor hand-over and the buttons that ask for the other windows.

#include "RecordingMessageBoxes.h"
#include "ScriptedDice.h"
#include "WindowTestMain.h"
#include "windows/Form1.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <memory>

class TestForm1 : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();
    void typing();
    void resetClearsOnlyTotals();
    void diceList();
    void handOver();
    void buttonsAskForTheOtherWindows();

  private:
    template <typename T = QWidget> T* control(const char* name) {
        T* w = form->findChild<T*>(QString::fromLatin1(name));
        if (!w)
            qFatal("no control %s", name);
        return w;
    }
    // Every named control with what it shows, its check mark and its entry count.
    QStringList snapshot() const;

    healing::Form1State state;
    dice::Wuerfelomat wuerfel;
    RecordingMessageBoxes boxes;
    std::unique_ptr<Form1> form;
};

void TestForm1::init() {
    state = {};
    form = std::make_unique<Form1>(state, wuerfel, boxes);
    form->Form_Load();
}

void TestForm1::cleanup() {
    form.reset();
    QCOMPARE(boxes.take(), QStringList());
}

QStringList TestForm1::snapshot() const {
    QStringList shown;
    for (const QWidget* w : form->findChildren<QWidget*>())
        if (!w->objectName().isEmpty())
            shown.append(w->objectName() + ": " + w->property("text").toString() + " " +
                         w->property("checked").toString() + " " + w->property("count").toString() +
                         " " + QString::number(w->isEnabled()));
    return shown;
}

void TestForm1::typing() {
    form->show();
    QApplication::setActiveWindow(form.get());
    QVERIFY(QTest::qWaitForWindowActive(form.get()));

    // The window opens with the "0" of the damage field selected: the first key replaces it.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_4);
    QCOMPARE(control<QLineEdit>("Schaden")->text(), QStringLiteral("4"));
}

void TestForm1::resetClearsOnlyTotals() {
    // What a few healing tests leave behind, with the two totals still blank.
    state.Gesamtzeit = 60.0f;
    state.Kosten = numbers::Amount::fromTicks(12'345'000);
    state.Heilungsdauer = 24.0f;
    for (const char* name : {"niveaulabel", "Stillabel", "lblGrundzeitraum", "lblErfolge",
                             "lblHeilungsdauer", "Modifk", "Schaden"})
        control(name)->setProperty("text", QString::fromLatin1(name) + " shown");
    control<QListWidget>("Meldungen")->addItem(QStringLiteral("Erwachter: +2"));
    control<QListWidget>("lstErgebnis")->addItem(QStringLiteral("4"));
    control("dokBio")->setProperty("checked", true);
    const QStringList expected = snapshot();
    control<QLabel>("lblGesamtzeit")->setText(QStringLiteral("60 hrs = 2,5 Tage"));
    control<QLabel>("lblKosten")->setText(QStringLiteral("1234,5"));

    for (int press = 0; press < 2; ++press) { // a second press changes nothing more
        control<QPushButton>("cmdReset")->click();
        QCOMPARE(state.Gesamtzeit, 0.0f);
        QCOMPARE(state.Kosten, numbers::Amount{});
        QCOMPARE(state.Heilungsdauer, 24.0f);
        QCOMPARE(snapshot(), expected);
    }
}

void TestForm1::diceList() {
    auto* list = control<QListWidget>("lstErgebnis");
    list->addItem(QStringLiteral("from the last roll"));

    // The same dice once into a plain recorder and once into the window.
    dice::RecordingSink recorded;
    const auto ownSuccesses = scriptedDice({6, 5, 2, 4})->ZaehleErfolge(5, 3, recorded);
    QCOMPARE(scriptedDice({6, 5, 2, 4})->ZaehleErfolge(5, 3, *form), ownSuccesses);
    QStringList shown;
    for (int i = 0; i < list->count(); ++i)
        shown.append(list->item(i)->text());
    QCOMPARE(shown, recorded.lines);
    QCOMPARE(shown.size(), 3);
}

void TestForm1::handOver() {
    // At start the doctor's frame is disabled; the hand-over writes the field all the same.
    for (int skill : {7, 0}) {
        form->uebernehmeFertigkeit(skill);
        QCOMPARE(control<QLineEdit>("txtBioTech")->text(), QString::number(skill));
    }
}

void TestForm1::buttonsAskForTheOtherWindows() {
    QStringList asked;
    connect(form.get(), &Form1::suchDocRequested, this, [&] { asked.append("Auswahl"); });
    connect(form.get(), &Form1::sanivexInfoRequested, this, [&] { asked.append("SanivexInfo"); });

    // "Suche Arzt!" answers only while its frame is enabled.
    QTest::mouseClick(control("cmdSanivexInfo"), Qt::LeftButton);
    QTest::mouseClick(control("cmdSuchDoc"), Qt::LeftButton);
    control("frmBioTech")->setEnabled(true);
    QTest::mouseClick(control("cmdSuchDoc"), Qt::LeftButton);
    QCOMPARE(asked, QStringList({"SanivexInfo", "Auswahl"}));
}

SANIVEX_WINDOW_TEST_MAIN(TestForm1)
#include "tst_form1.moc"
