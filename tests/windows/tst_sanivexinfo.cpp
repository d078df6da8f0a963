// The contract information card: the header with its runs of blanks, every cell in its row
// and column, the explanation lines, the drawn grid, captions that fit, and "Close" as the
// only control that takes the focus.

#include "WindowTestMain.h"
#include "windows/ProgramLook.h"
#include "windows/SanivexInfo.h"
#include "windows/StraightLines.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>
#include <QTest>
#include <memory>

namespace {

QRect twips(int x, int y, int w, int h) {
    return QRect(x / 15, y / 15, w / 15, h / 15);
}

// The contract table as the card shows it, row by row.
const QList<QStringList> table = {
    {"Standard", "ja", "ja", "nein", "0", "nein", "nein", "5.000 Y"},
    {"Gold", "ja", "ja", "50%", "1", "nein", "nein", "25.000 Y"},
    {"Platin", "ja", "ja", "ja", "4", "ja", "nein", "50.000 Y"},
    {"Super-Platin", "ja", "ja", "ja", "4", "ja", "ja", "100.000 Y"},
};
const QStringList columns = {"Kontrakt", "Behandlung", "Telefon",      "HTR",
                             "Reanim.",  "T-Prämien",  "Vitalmonitor", "Jahresbeitrag"};

} // namespace

class TestSanivexInfo : public QObject {
    Q_OBJECT

  private slots:
    void init() { m_card = std::make_unique<SanivexInfo>(); }
    void cleanup() { m_card.reset(); }

    void window();
    void header();
    void cells_data();
    void cells();
    void explanation_data();
    void explanation();
    void grid();
    void captionsFit();
    void onlyCloseTakesFocus();

  private:
    std::unique_ptr<SanivexInfo> m_card;
};

void TestSanivexInfo::window() {
    QCOMPARE(m_card->windowTitle(), QStringLiteral("Sanivex Info"));
    QCOMPARE(m_card->size(), QSize(8520, 5415) / 15);
    QCOMPARE(m_card->font(), windows::programFont());
}

void TestSanivexInfo::header() {
    auto* label = m_card->findChild<QLabel*>("Label1");
    QVERIFY(label);
    const QString text = label->text();
    QCOMPARE(text.size(), 104);
    QCOMPARE(text, QStringLiteral("Kontrakt    Behandlung     Telefon     HTR      Reanim.     "
                                  "T-Prämien     Vitalmonitor     Jahresbeitrag"));
    QCOMPARE(text.split(' ', Qt::SkipEmptyParts), columns);
    QCOMPARE(label->geometry(), twips(480, 360, 7095, 255));
}

void TestSanivexInfo::cells_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QRect>("geometry");

    const int tops[] = {960, 1440, 1920, 2400};
    for (int row = 0; row < table.size(); ++row) {
        const QStringList& cells = table.at(row);
        const int top = tops[row];
        auto add = [&](int column, const QString& name, int left, int width) {
            QTest::addRow("%s/%s", qPrintable(cells.first()), qPrintable(columns.at(column)))
                << name << cells.at(column) << twips(left, top, width, 255);
        };
        add(0, QStringLiteral("Label2_%1").arg(row), 120, 975);
        for (int column = 1; column <= 6; ++column) {
            const QString& text = cells.at(column);
            const bool yes = text == QLatin1String("ja");
            const bool wide = text == QLatin1String("nein") || text == QLatin1String("50%");
            const int lefts[] = {
                0, 1560, 2400, yes ? 3240 : 3120, 3960, yes ? 4800 : 4680, yes ? 5880 : 5760};
            add(column, QStringLiteral("Label3_%1").arg(row * 6 + column - 1), lefts[column],
                wide ? 375 : 255);
        }
        add(7, QStringLiteral("Label4_%1").arg(row), 6600, 975);
    }
}

void TestSanivexInfo::cells() {
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QRect, geometry);

    auto* label = m_card->findChild<QLabel*>(name);
    QVERIFY2(label, qPrintable(name));
    QCOMPARE(label->parentWidget(), m_card.get());
    QCOMPARE(label->text(), text);
    QCOMPARE(label->geometry(), geometry);
}

void TestSanivexInfo::explanation_data() {
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("text");

    const QStringList lines = {
        "Behandlung = medizinische Behandlung wird gewährleistet",
        "Telefon = versiegeltes Handgelenktelefon inklusive",
        "HTR = High Threat Response Einsätze kostenlos",
        "Reanim. = Anzahl kostenloser Wiederbelebungen pro Jahr",
        "T-Prämien = Todesprämien für verstorbenes Sanivex Personal werden übernommen",
        "Vitalmonitor = Ihr Handgelenktelefon verständigt Sanivex automatisch bei kritischen "
        "Vitalfunktionen",
    };
    for (int i = 0; i < lines.size(); ++i)
        QTest::addRow("%s", qPrintable(columns.at(i + 1))) << i << lines.at(i);
}

void TestSanivexInfo::explanation() {
    QFETCH(int, line);
    QFETCH(QString, text);

    auto* frame = m_card->findChild<QGroupBox*>("Frame1");
    QVERIFY(frame);
    QCOMPARE(frame->title(), QStringLiteral("Erklärung"));
    QCOMPARE(frame->geometry(), twips(120, 3000, 8295, 1815));
    auto* label = frame->findChild<QLabel*>(QStringLiteral("Label5_%1").arg(line));
    QVERIFY(label);
    QCOMPARE(label->text(), text);
    QCOMPARE(label->geometry(), twips(120, 240 + 240 * line, 7695, 255));
}

void TestSanivexInfo::grid() {
    auto lines = [this](const char* name) {
        auto* l = m_card->findChild<windows::StraightLines*>(name);
        return l ? l->pixelLines() : QList<QLine>();
    };
    auto vertical = [](int x) { return QLine(x / 15, 720 / 15, x / 15, 2760 / 15); };

    QCOMPARE(lines("Line1"), QList<QLine>{QLine(120 / 15, 720 / 15, 7560 / 15, 720 / 15)});
    QCOMPARE(lines("Line2"), (QList<QLine>{vertical(1200), vertical(2160), vertical(3000),
                                           vertical(3600), vertical(4440), vertical(5400)}));
    QCOMPARE(lines("Line3"), QList<QLine>{vertical(6360)});
}

void TestSanivexInfo::captionsFit() {
    for (auto* label : m_card->findChildren<QLabel*>()) {
        const QFontMetrics fm = label->fontMetrics();
        QVERIFY2(fm.horizontalAdvance(label->text()) <= label->contentsRect().width(),
                 qPrintable(label->objectName()));
        QVERIFY2(fm.height() <= label->height(), qPrintable(label->objectName()));
    }

    auto* frame = m_card->findChild<QGroupBox*>("Frame1");
    QStyleOptionGroupBox box;
    box.initFrom(frame);
    box.text = frame->title();
    box.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    QVERIFY(frame->style()
                ->subControlRect(QStyle::CC_GroupBox, &box, QStyle::SC_GroupBoxLabel, frame)
                .right() < frame->width() - 1);

    auto* close = m_card->findChild<QPushButton*>("cmdClose");
    QStyleOptionButton button;
    button.initFrom(close);
    button.text = close->text();
    QVERIFY(close->fontMetrics().horizontalAdvance(close->text()) <=
            close->style()->subElementRect(QStyle::SE_PushButtonContents, &button, close).width());
}

void TestSanivexInfo::onlyCloseTakesFocus() {
    QStringList focusable;
    for (auto* w : m_card->findChildren<QWidget*>())
        if (w->focusPolicy() != Qt::NoFocus)
            focusable.append(w->objectName());
    QCOMPARE(focusable, QStringList{"cmdClose"});

    auto* close = m_card->findChild<QPushButton*>("cmdClose");
    QCOMPARE(close->text(), QStringLiteral("Close"));
    QCOMPARE(close->geometry(), twips(3240, 4920, 1935, 375));
    m_card->show();
    QTest::mouseClick(close, Qt::LeftButton);
    QVERIFY(!m_card->isVisible());
}

SANIVEX_WINDOW_TEST_MAIN(TestSanivexInfo)
#include "tst_sanivexinfo.moc"
