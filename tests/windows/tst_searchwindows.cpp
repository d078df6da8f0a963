// The windows beside the main window, beyond their layout: the lists the search windows fill
// on opening, and how each window ends: the hand-over, the choice dialog's answers, and
// Cancel, Close or Escape without sending anything.

#include "RecordingMessageBoxes.h"
#include "ScriptedDice.h"
#include "WindowTestMain.h"
#include "app/Programm.h"
#include "windows/Auswahl.h"
#include "windows/NormalVersorgung.h"
#include "windows/NotfallVersorgung.h"
#include "windows/SanivexInfo.h"

#include <QComboBox>
#include <QPointer>
#include <QTest>
#include <memory>

class TestSearchWindows : public QObject {
    Q_OBJECT

  private slots:
    // No dice are scripted: nothing here may roll.
    void init() { m_programm = std::make_unique<app::Programm>(scriptedDice({}), &m_boxes); }
    void cleanup();
    void lists_data();
    void lists();
    void ends_data();
    void ends();

  private:
    // Opens a window as the program does: controls created, load handler run, shown.
    QWidget* open(const QString& window);

    RecordingMessageBoxes m_boxes;
    std::unique_ptr<app::Programm> m_programm;
};

QWidget* TestSearchWindows::open(const QString& window) {
    app::Programm& p = *m_programm;
    return window == "NormalVersorgung"    ? static_cast<QWidget*>(p.openNormalVersorgung())
           : window == "NotfallVersorgung" ? p.openNotfallVersorgung()
           : window == "Auswahl"           ? static_cast<QWidget*>(p.openAuswahl())
                                           : p.openSanivexInfo();
}

void TestSearchWindows::cleanup() {
    m_programm.reset();
    QCOMPARE(m_boxes.take(), QStringList());
}

void TestSearchWindows::lists_data() {
    QTest::addColumn<QStringList>("lists"); // each drop-down list: its entries, in this order

    QTest::newRow("NormalVersorgung") << QStringList{
        "cmbArt: Kosmetisch, Implantat, Therapeutisch, Transimplantat, Trauma, Nanochirugie",
        "cmbKategorie: Standardcyberware, Alphaware, Betaware, Deltaware, Standardbioware, "
        "Kosmetische Bioware, Kultivierte Bioware, Nanoware",
        "cmbLegalität: Legal, Paralegal/Klasse A, Sicherheit/Klasse B, Militärisch/Klasse C"};
    QTest::newRow("NotfallVersorgung")
        << QStringList{"cmbKontrakt: Keiner, Super-Platin, Platin, Gold, Basis",
                       "cmbGegend: AAA oder AA, A oder B, C oder D, E oder Z"};
}

void TestSearchWindows::lists() {
    QFETCH(QStringList, lists);

    QStringList shown;
    for (const QComboBox* list : open(QTest::currentDataTag())->findChildren<QComboBox*>()) {
        QStringList entries;
        for (int i = 0; i < list->count(); ++i)
            entries.append(list->itemText(i));
        shown.append(list->objectName() + ": " + entries.join(", "));
    }
    QCOMPARE(shown, lists);
}

void TestSearchWindows::ends_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("control");
    QTest::addColumn<bool>("escape"); // Escape typed there, else a click on it
    QTest::addColumn<QStringList>("sent");

    const QStringList none;
    // clang-format off
    QTest::newRow("Normal Übernehmen") << "NormalVersorgung" << "cmdUebernehmen" << false << QStringList{"skill 7 while open"};
    QTest::newRow("Notfall Übernehmen") << "NotfallVersorgung" << "cmdUebernehmen" << false << QStringList{"skill 9 while open"};
    QTest::newRow("Normal Cancel") << "NormalVersorgung" << "cmdCancel" << false << none;
    QTest::newRow("Notfall Cancel") << "NotfallVersorgung" << "cmdCancel" << false << none;
    // Escape also where the focused control might keep the key for itself.
    QTest::newRow("Normal Escape in etiquette") << "NormalVersorgung" << "txtGebräuche" << true << none;
    QTest::newRow("Normal Escape in list") << "NormalVersorgung" << "cmbLegalität" << true << none;
    QTest::newRow("Normal Escape in messages") << "NormalVersorgung" << "lstModifMeld" << true << none;
    QTest::newRow("Notfall Escape on check box") << "NotfallVersorgung" << "chkSIN" << true << none;
    QTest::newRow("Notfall Escape in list") << "NotfallVersorgung" << "cmbGegend" << true << none;
    QTest::newRow("Notfall Escape on Übernehmen") << "NotfallVersorgung" << "cmdUebernehmen" << true << none;
    QTest::newRow("NOTFALL") << "Auswahl" << "cmdNotfall" << false << QStringList{"NOTFALL"};
    QTest::newRow("NORMALFALL") << "Auswahl" << "cmdNormalfall" << false << QStringList{"NORMALFALL"};
    QTest::newRow("Auswahl Escape") << "Auswahl" << "cmdNormalfall" << true << none;
    QTest::newRow("SanivexInfo Close") << "SanivexInfo" << "cmdClose" << false << none;
    // clang-format on
}

void TestSearchWindows::ends() {
    QFETCH(QString, window);
    QFETCH(QString, control);
    QFETCH(bool, escape);
    QFETCH(QStringList, sent);

    m_programm->normalVersorgung.state.Fertigkeit = 7;
    m_programm->notfallVersorgung.state.Fertigkeit = 9;
    QWidget* w = open(window);
    const QPointer<QWidget> alive = w; // a closed window is deleted
    QStringList recorded;
    if (auto* search = qobject_cast<SearchWindow*>(w)) // the skill goes before the window closes
        connect(search, &SearchWindow::skillHandedOver, this, [&](numbers::Int16 skill) {
            recorded.append(
                QStringLiteral("skill %1%2").arg(skill).arg(w->isVisible() ? " while open" : ""));
        });
    if (auto* dialog = qobject_cast<Auswahl*>(w)) {
        connect(dialog, &Auswahl::notfallRequested, this, [&] { recorded.append("NOTFALL"); });
        connect(dialog, &Auswahl::normalfallRequested, this,
                [&] { recorded.append("NORMALFALL"); });
    }

    auto* target = w->findChild<QWidget*>(control);
    QVERIFY(target);
    if (escape) {
        target->setFocus();
        QTest::keyClick(target, Qt::Key_Escape);
    } else {
        QTest::mouseClick(target, Qt::LeftButton);
    }
    QCOMPARE(recorded, sent);
    QVERIFY(!alive || !alive->isVisible());
}

SANIVEX_WINDOW_TEST_MAIN(TestSearchWindows)
#include "tst_searchwindows.moc"
