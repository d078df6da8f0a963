// The care choice dialog: two equal buttons on orange, the emergency answer focused first,
// one request per button, and Escape leaving without a request.

#include "WindowTestMain.h"
#include "windows/Auswahl.h"
#include "windows/ProgramLook.h"

#include <QApplication>
#include <QPushButton>
#include <QSignalSpy>
#include <QStyleOptionButton>
#include <QTest>
#include <memory>

class TestAuswahl : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup() { m_dialog.reset(); }

    void window();
    void buttons_data();
    void buttons();
    void focus();
    void requests_data();
    void requests();
    void escapeLeaves();

  private:
    std::unique_ptr<Auswahl> m_dialog;
};

void TestAuswahl::init() {
    m_dialog = std::make_unique<Auswahl>();
}

void TestAuswahl::window() {
    QCOMPARE(m_dialog->windowTitle(), QStringLiteral("Suche nach medizinischer Versorgung"));
    QCOMPARE(m_dialog->size(), QSize(3315, 960) / 15);
    QCOMPARE(m_dialog->font(), windows::programFont());

    // The background is seen orange between and around the buttons.
    const QImage image = m_dialog->grab().toImage();
    QCOMPARE(QColor(image.pixel(2, 2)), QColor(255, 128, 0));
    QCOMPARE(QColor(image.pixel(image.width() / 2, image.height() / 2)), QColor(255, 128, 0));
}

void TestAuswahl::buttons_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QPoint>("twipsPosition");

    QTest::newRow("cmdNotfall") << "cmdNotfall"
                                << "NOTFALL" << QPoint(120, 120);
    QTest::newRow("cmdNormalfall") << "cmdNormalfall"
                                   << "NORMALFALL" << QPoint(1680, 120);
}

void TestAuswahl::buttons() {
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QPoint, twipsPosition);

    auto* button = m_dialog->findChild<QPushButton*>(name);
    QVERIFY(button);
    QCOMPARE(button->parentWidget(), m_dialog.get());
    QCOMPARE(button->text(), text);
    QCOMPARE(button->pos(), twipsPosition / 15);
    // 1500 x 700 twips; 700 / 15 = 46.7 is rounded to the nearest pixel.
    QCOMPARE(button->size(), QSize(100, 47));

    QStyleOptionButton opt;
    opt.initFrom(button);
    opt.text = button->text();
    const int available =
        button->style()->subElementRect(QStyle::SE_PushButtonContents, &opt, button).width();
    QVERIFY(button->fontMetrics().horizontalAdvance(text) <= available);
}

void TestAuswahl::focus() {
    QCOMPARE(m_dialog->nextInFocusChain()->objectName(), QStringLiteral("cmdNotfall"));
    QCOMPARE(m_dialog->nextInFocusChain()->nextInFocusChain()->objectName(),
             QStringLiteral("cmdNormalfall"));

    m_dialog->show();
    QApplication::setActiveWindow(m_dialog.get());
    QVERIFY(QTest::qWaitForWindowActive(m_dialog.get()));
    QVERIFY(QApplication::focusWidget());
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("cmdNotfall"));
}

void TestAuswahl::requests_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("notfall");
    QTest::addColumn<int>("normalfall");

    QTest::newRow("NOTFALL") << "cmdNotfall" << 1 << 0;
    QTest::newRow("NORMALFALL") << "cmdNormalfall" << 0 << 1;
}

void TestAuswahl::requests() {
    QFETCH(QString, button);
    QFETCH(int, notfall);
    QFETCH(int, normalfall);

    m_dialog->show();
    QSignalSpy notfallSpy(m_dialog.get(), &Auswahl::notfallRequested);
    QSignalSpy normalfallSpy(m_dialog.get(), &Auswahl::normalfallRequested);
    QTest::mouseClick(m_dialog->findChild<QPushButton*>(button), Qt::LeftButton);
    QCOMPARE(notfallSpy.count(), notfall);
    QCOMPARE(normalfallSpy.count(), normalfall);
    // Closing is left to the application, after it has opened the search window.
    QVERIFY(m_dialog->isVisible());
}

void TestAuswahl::escapeLeaves() {
    m_dialog->show();
    QSignalSpy notfallSpy(m_dialog.get(), &Auswahl::notfallRequested);
    QSignalSpy normalfallSpy(m_dialog.get(), &Auswahl::normalfallRequested);
    auto* focused = m_dialog->findChild<QPushButton*>("cmdNormalfall");
    focused->setFocus();
    QTest::keyClick(focused, Qt::Key_Escape);
    QVERIFY(!m_dialog->isVisible());
    QCOMPARE(notfallSpy.count() + normalfallSpy.count(), 0);
}

SANIVEX_WINDOW_TEST_MAIN(TestAuswahl)
#include "tst_auswahl.moc"
