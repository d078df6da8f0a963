// The five windows against their definitions in definitions/<Window>.tsv, opened the way the
// program opens them: every control with its kind, container, caption, place, own enabled
// flag, start check state, font and colour, and room for its caption; per window the title,
// client size, focus order, start focus, red drawn only where noted, the lines, and no control
// beyond the definition.

#include "RecordingMessageBoxes.h"
#include "ScriptedDice.h"
#include "WindowTestMain.h"
#include "app/Programm.h"
#include "windows/Auswahl.h"
#include "windows/Form1.h"
#include "windows/NormalVersorgung.h"
#include "windows/NotfallVersorgung.h"
#include "windows/ProgramLook.h"
#include "windows/SanivexInfo.h"
#include "windows/StraightLines.h"

#include <QTest>
#include <QtWidgets>
#include <memory>

namespace {

using Row = QStringList; // the cells of one row, indexed by the columns below
enum { Name, Kind, Container, Caption, Left, Top, Width, Height, Enabled, Checked, Tab, Style };

const QStringList windowNames = {"Form1", "Auswahl", "NormalVersorgung", "NotfallVersorgung",
                                 "SanivexInfo"};
const QMap<QString, QByteArray> classOf = {{"frame", "QGroupBox"},     {"label", "QLabel"},
                                           {"textbox", "QLineEdit"},   {"checkbox", "QCheckBox"},
                                           {"option", "QRadioButton"}, {"list", "QListWidget"},
                                           {"dropdown", "QComboBox"},  {"button", "QPushButton"}};

const auto px = [](const QString& twips) { return qRound(twips.toInt() / 15.0); }; // 700: 46.7
const auto pixels = [](const Row& r) {
    return QRect(px(r[Left]), px(r[Top]), px(r[Width]), px(r[Height]));
};
const auto notes = [](const Row& r) { return r[Style].split(' ', Qt::SkipEmptyParts); };

// Reads a definition; any deviation from the format is an error, so a broken file cannot pass.
QString load(const QString& window, QList<Row>& rows) {
    QFile file(QStringLiteral(DEFINITIONS_DIR "/%1.tsv").arg(window));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return file.fileName() + ": " + file.errorString();
    QStringList lines = QString::fromUtf8(file.readAll()).split('\n');
    lines.removeIf([](const QString& l) { return l.isEmpty() || l.startsWith('#'); });
    if (lines.value(0) != "name\tkind\tcontainer\tcaption\tleft\ttop\twidth\theight\tenabled\t"
                          "checked\ttab\tstyle")
        return window + ".tsv: no header";
    static const QRegularExpression shape(
        "^[^\t]+\t(window|line|" + classOf.keys().join('|') +
        ")\t[^\t]*\t[^\t]*\t\\d*\t\\d*\t"
        "\\d+\t\\d+\t(yes|no)\t(yes|no|)\t\\d*\t"
        "((bold|red|resizable|[0-9.]+pt|background=#[0-9a-f]{6})( |$))*$");
    QStringList containers, names;
    for (const QString& line : lines.mid(1)) {
        const Row r = line.split('\t');
        const bool isWindow = r.value(Kind) == "window";
        if (!shape.match(line).hasMatch() ||
            QStringList{"checkbox", "option"}.contains(r[Kind]) == r[Checked].isEmpty() ||
            isWindow != (rows.isEmpty() && r[Name] == window && (r[Left] + r[Top]).isEmpty()) ||
            (!isWindow && (!containers.contains(r[Container]) || r[Left].isEmpty())) ||
            (r[Kind] != "line" && names.contains(r[Name])))
            return window + ".tsv: malformed row: " + line;
        if (r[Kind] == "frame" || isWindow)
            containers.append(r[Name]);
        names.append(r[Name]);
        rows.append(r);
    }
    return rows.size() > 1 ? QString() : window + ".tsv: no controls";
}

// What a control shows: a frame's title, a text, a drop-down list's shown entry, or how many
// entries a list box holds.
QString caption(const QWidget* w) {
    for (const char* shown : {"title", "text", "currentText"})
        if (const QVariant text = w->property(shown); text.isValid())
            return text.toString();
    const int entries = w->property("count").toInt();
    return entries ? QStringLiteral("%1 entries").arg(entries) : QString();
}

// The pixels a text needs in a control, and the pixels the control's style leaves for it.
std::pair<int, int> space(QWidget* w, const QString& text) {
    QStyle* s = w->style();
    const int needed = w->fontMetrics().horizontalAdvance(text);
    if (auto* box = qobject_cast<QGroupBox*>(w)) { // the title must end inside the frame
        QStyleOptionGroupBox o;
        o.initFrom(box);
        o.text = text;
        o.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
        const QRect r = s->subControlRect(QStyle::CC_GroupBox, &o, QStyle::SC_GroupBoxLabel, box);
        return {r.right() + 1, box->width() - 1};
    }
    if (auto* combo = qobject_cast<QComboBox*>(w)) { // an entry is drawn one pixel in
        QStyleOptionComboBox o;
        o.initFrom(combo);
        const auto field = QStyle::SC_ComboBoxEditField;
        return {needed, s->subControlRect(QStyle::CC_ComboBox, &o, field, combo).width() - 1};
    }
    if (qobject_cast<QLabel*>(w) || qobject_cast<QLineEdit*>(w))
        return {needed, w->contentsRect().width()};
    QStyleOptionButton o; // beside the check or option indicator, or inside the button margins
    o.initFrom(w);
    const auto e = qobject_cast<QRadioButton*>(w) ? QStyle::SE_RadioButtonContents
                   : qobject_cast<QCheckBox*>(w)  ? QStyle::SE_CheckBoxContents
                                                  : QStyle::SE_PushButtonContents;
    return {needed, s->subElementRect(e, &o, w).width()};
}

int reddish(const QImage& image, const QRegion& area) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y);
            count +=
                area.contains(QPoint(x, y)) && qRed(c) > 150 && qGreen(c) < 100 && qBlue(c) < 100;
        }
    return count;
}

} // namespace

class TestLayout : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase();
    void init() { m_programm = std::make_unique<app::Programm>(scriptedDice({}), &m_boxes); }
    void cleanup();
    void controls_data();
    void controls();
    void windows_data();
    void windows();

  private:
    QWidget* open(const QString& window); // as the program opens it, with the focus

    QMap<QString, QList<Row>> m_definitions; // per window, its own row first
    RecordingMessageBoxes m_boxes;
    std::unique_ptr<app::Programm> m_programm;
};

void TestLayout::initTestCase() {
    for (const QString& window : windowNames) {
        const QString error = load(window, m_definitions[window]);
        QVERIFY2(error.isEmpty(), qPrintable(error));
    }
}

void TestLayout::cleanup() {
    m_programm.reset();
    QCOMPARE(m_boxes.take(), QStringList());
}

QWidget* TestLayout::open(const QString& window) {
    app::Programm& p = *m_programm;
    QWidget* w = window == "Form1"               ? static_cast<QWidget*>(p.start())
                 : window == "Auswahl"           ? p.openAuswahl()
                 : window == "NormalVersorgung"  ? p.openNormalVersorgung()
                 : window == "NotfallVersorgung" ? static_cast<QWidget*>(p.openNotfallVersorgung())
                                                 : p.openSanivexInfo();
    QApplication::setActiveWindow(w);
    return QTest::qWaitForWindowActive(w) ? w : nullptr;
}

void TestLayout::controls_data() {
    QTest::addColumn<Row>("row");
    for (const QString& window : windowNames)
        for (const Row& r : m_definitions[window].mid(1))
            if (r[Kind] != "line")
                QTest::addRow("%s/%s", qPrintable(window), qPrintable(r[Name])) << r;
}

void TestLayout::controls() {
    QFETCH(Row, row);
    QWidget* top = open(QString::fromUtf8(QTest::currentDataTag()).section('/', 0, 0));
    QVERIFY(top);
    top->resize(top->size() + QSize(120, 90)); // the controls keep their places when it grows

    auto* w = top->findChild<QWidget*>(row[Name]);
    QVERIFY(w);
    QCOMPARE(QByteArray(w->metaObject()->className()), classOf[row[Kind]]);
    QCOMPARE(w->parentWidget()->objectName(), row[Container]);
    QCOMPARE(caption(w), row[Caption]);
    QCOMPARE(w->geometry(), pixels(row));
    QCOMPARE(w->isEnabledTo(w->parentWidget()), row[Enabled] == "yes");
    if (!row[Checked].isEmpty())
        QCOMPARE(static_cast<QAbstractButton*>(w)->isChecked(), row[Checked] == "yes");
    if (auto* combo = qobject_cast<QComboBox*>(w))
        QVERIFY(!combo->isEditable()); // accepts only its entries

    // The program font unless a size is noted; bold and red exactly where noted.
    const QFont font = w->font(), program = windows::programFont();
    QCOMPARE(QFontInfo(font).family(), program.family());
    QCOMPARE(font.bold(), notes(row).contains("bold"));
    const QStringList size = notes(row).filter(QRegularExpression("pt$"));
    QCOMPARE(size.isEmpty() ? font.pixelSize() : font.pointSizeF(),
             size.isEmpty() ? program.pixelSize() : size.value(0).chopped(2).toDouble());
    QCOMPARE(w->palette().color(QPalette::WindowText) == QColor(255, 0, 0),
             notes(row).contains("red"));

    QStringList texts = {caption(w)}; // for a drop-down list every entry its load handler added
    if (auto* combo = qobject_cast<QComboBox*>(w))
        for (int i = 0; i < combo->count(); ++i)
            texts.append(combo->itemText(i));
    texts.removeAll(QString());
    for (const QString& text : texts) {
        const auto [needed, available] = space(w, text);
        QVERIFY2(needed <= available && w->fontMetrics().height() <= w->height(),
                 qPrintable(QString("%1: %2 > %3 px").arg(text).arg(needed).arg(available)));
    }
}

void TestLayout::windows_data() {
    QTest::addColumn<QString>("window");
    for (const QString& window : windowNames)
        QTest::newRow(qPrintable(window)) << window;
}

void TestLayout::windows() {
    QFETCH(QString, window);
    const QList<Row>& rows = m_definitions[window];
    QWidget* top = open(window);
    QVERIFY(top);
    QCOMPARE(top->objectName(), window);
    QCOMPARE(top->windowTitle(), rows[0][Caption]);
    QCOMPARE(top->size(), pixels(rows[0]).size());
    if (notes(rows[0]).contains("resizable"))
        QVERIFY(top->maximumSize() == QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX) &&
                top->windowFlags().testFlags(Qt::WindowMinMaxButtonsHint));
    const QImage shot = top->grab().toImage();
    for (const QString& note : notes(rows[0]).filter("background="))
        QCOMPARE(QColor(shot.pixel(2, 2)), QColor(note.mid(11)));

    // Tab visits every focusable control in the given order, starting where the focus is.
    QMap<int, QString> byTab;
    for (const Row& r : rows)
        if (!r[Tab].isEmpty() && classOf.contains(r[Kind]) && r[Kind] != "frame" &&
            r[Kind] != "label")
            byTab.insert(r[Tab].toInt(), r[Name]);
    const QStringList order = byTab.values();
    QStringList chain;
    for (QWidget* w = top->nextInFocusChain(); w != top; w = w->nextInFocusChain())
        if (w->focusPolicy() != Qt::NoFocus)
            chain.append(w->objectName());
    QCOMPARE(chain, order);
    QCOMPARE(QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : "",
             order.value(0));

    // Red is seen in every red caption and nowhere outside the controls noted red.
    QRegion red;
    for (const Row& r : rows)
        if (notes(r).contains("red")) {
            const QWidget* w = top->findChild<QWidget*>(r[Name]);
            const QRect at(w->mapTo(top, QPoint()), w->size());
            red += at;
            QVERIFY2(r[Caption].isEmpty() || reddish(shot, at) > 0, qPrintable(r[Name]));
        }
    QCOMPARE(reddish(shot, QRegion(top->rect()) - red), 0);

    // The lines lie where given and show in their middle; no other control is there.
    QStringList given, drawn, defined, named;
    const auto line = [](const QString& name, QLine l) {
        return QString("%1 %2,%3 %4,%5").arg(name).arg(l.x1()).arg(l.y1()).arg(l.x2()).arg(l.y2());
    };
    for (const Row& r : rows.mid(1)) {
        const QRect ends = pixels(r); // for a line: x1, y1, x2, y2
        if (r[Kind] != "line") {
            defined.append(r[Name]);
            continue;
        }
        given.append(line(r[Name], QLine(ends.x(), ends.y(), ends.width(), ends.height())));
        const QPoint middle((ends.x() + ends.width()) / 2, (ends.y() + ends.height()) / 2);
        QVERIFY2(shot.pixel(middle) != shot.pixel(1, 1), qPrintable(given.last()));
    }
    for (QWidget* w : top->findChildren<QWidget*>()) {
        const QString name = w->objectName();
        if (auto* lines = dynamic_cast<windows::StraightLines*>(w))
            for (QLine l : lines->pixelLines())
                drawn.append(line(name.isEmpty() ? "-" : name, l));
        else if (!name.isEmpty() && !name.startsWith("qt_"))
            named.append(name);
    }
    for (QStringList* list : {&given, &drawn, &defined, &named})
        list->sort();
    QCOMPARE(drawn, given);
    QCOMPARE(named, defined);
}

SANIVEX_WINDOW_TEST_MAIN(TestLayout)
#include "tst_layout.moc"
