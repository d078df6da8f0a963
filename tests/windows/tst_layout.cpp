// The five windows against their definitions in definitions/<Window>.tsv, opened the way the
// program opens them: every control with its kind, container, caption, place, own enabled
// flag, start check state, font and colour, and room for its caption; per window the title,
// client size, focus order, start focus, red drawn only where noted, the lines, and no control
// beyond the definition.

#include "ProgramDriver.h"
#include "WindowTestMain.h"
#include "windows/ProgramLook.h"
#include "windows/StraightLines.h"

namespace {

using Row = QStringList; // the cells of one row, indexed by the columns below
enum { Name, Kind, Container, Caption, Left, Top, Width, Height, Enabled, Checked, Tab, Style };

// Each window, with the clicks that open it from the main window.
const QMap<QString, QString> opening = {
    {"Form1", ""},
    {"Auswahl", "Krankenhaus; cmdSuchDoc"},
    {"NormalVersorgung", "Krankenhaus; cmdSuchDoc; cmdNormalfall"},
    {"NotfallVersorgung", "Krankenhaus; cmdSuchDoc; cmdNotfall"},
    {"SanivexInfo", "cmdSanivexInfo"}};
const QMap<QString, QByteArray> classOf = {{"frame", "QGroupBox"},     {"label", "QLabel"},
                                           {"textbox", "QLineEdit"},   {"checkbox", "QCheckBox"},
                                           {"option", "QRadioButton"}, {"list", "QListWidget"},
                                           {"dropdown", "QComboBox"},  {"button", "QPushButton"}};

const auto px = [](const QString& twips) { return qRound(twips.toInt() / 15.0); }; // 700: 46.7
const auto pixels = [](const Row& r) {
    return QRect(px(r[Left]), px(r[Top]), px(r[Width]), px(r[Height]));
};
const auto notes = [](const Row& r) { return r[Style].split(' ', Qt::SkipEmptyParts); };

// Reads a definition; a row out of shape is an error, so a broken file cannot pass. A wrong
// container, a missing or a repeated control shows when the window is compared with it.
QString load(const QString& window, QList<Row>& rows) {
    QFile file(QStringLiteral(DEFINITIONS_DIR "/%1.tsv").arg(window));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return file.fileName() + ": " + file.errorString();
    static const QRegularExpression shape(
        "^[^\t]+\t(window|line|" + classOf.keys().join('|') +
        ")\t[^\t]*\t[^\t]*\t\\d*\t\\d*\t\\d+\t\\d+\t(yes|no)\t(yes|no|)\t\\d*\t"
        "((bold|red|resizable|[0-9.]+pt|background=#[0-9a-f]{6})( |$))*$");
    for (const QString& line : QString::fromUtf8(file.readAll()).split('\n'))
        if (!line.isEmpty() && !line.startsWith('#') && !line.startsWith("name\t"))
            rows.append(line.split('\t'));
    for (const Row& r : rows)
        if (!shape.match(r.join('\t')).hasMatch() || (r[Kind] == "window") != (&r == &rows[0]) ||
            QStringList{"checkbox", "option"}.contains(r[Kind]) == r[Checked].isEmpty())
            return window + ".tsv: malformed row: " + r.join('\t');
    return rows.size() > 1 ? QString() : window + ".tsv: no controls";
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

int reddish(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += qRed(image.pixel(x, y)) > 150 && qGreen(image.pixel(x, y)) < 100 &&
                     qBlue(image.pixel(x, y)) < 100;
    return count;
}

} // namespace

class TestLayout : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        for (const QString& window : opening.keys()) {
            const QString error = load(window, m_definitions[window]);
            QVERIFY2(error.isEmpty(), qPrintable(error));
        }
    }
    void init() { d.start(); }
    void cleanup() { QCOMPARE(d.stop(), QString()); }
    void controls_data();
    void controls();
    void windows_data();
    void windows();

  private:
    // Opens a window the way the user does and makes it the active one.
    QWidget* open(const QString& window) {
        d.act(opening[window]);
        QWidget* top = d.find(window + '.');
        return ProgramDriver::activate(top) ? top : nullptr;
    }

    QMap<QString, QList<Row>> m_definitions; // per window, its own row first
    ProgramDriver d;
};

void TestLayout::controls_data() {
    QTest::addColumn<Row>("row");
    for (const QString& window : opening.keys())
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
    QCOMPARE(ProgramDriver::text(w), row[Caption]);
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

    // The caption fits, and for a drop-down list every entry its load handler added.
    QStringList texts = {ProgramDriver::text(w)};
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
    for (const QString& window : opening.keys())
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
        if (!r[Tab].isEmpty() && !QStringList{"window", "line", "frame", "label"}.contains(r[Kind]))
            byTab.insert(r[Tab].toInt(), r[Name]);
    QStringList chain;
    for (QWidget* w = top->nextInFocusChain(); w != top; w = w->nextInFocusChain())
        if (w->focusPolicy() != Qt::NoFocus)
            chain.append(w->objectName());
    QCOMPARE(chain, byTab.values());
    QCOMPARE(d.seen("focus=").section('[', 0, 0), "focus=" + byTab.first());

    // Red is seen in every red caption and nowhere outside the controls noted red.
    QImage rest = shot;
    QPainter blank(&rest);
    for (const Row& r : rows)
        if (const QWidget* w = top->findChild<QWidget*>(r[Name]); notes(r).contains("red")) {
            const QRect at(w->mapTo(top, QPoint()), w->size());
            QVERIFY2(r[Caption].isEmpty() || reddish(shot.copy(at)) > 0, qPrintable(r[Name]));
            blank.fillRect(at, Qt::white);
        }
    blank.end();
    QCOMPARE(reddish(rest), 0);

    // The lines lie where given and show in their middle; no other control is there.
    QStringList given, drawn, defined, named;
    const auto line = [](const QString& name, QLine l) {
        return QString("%1 %2,%3 %4,%5").arg(name).arg(l.x1()).arg(l.y1()).arg(l.x2()).arg(l.y2());
    };
    for (const Row& r : rows.mid(1)) {
        const QRect e = pixels(r); // for a line: x1, y1, x2, y2
        if (r[Kind] != "line") {
            defined.append(r[Name]);
            continue;
        }
        given.append(line(r[Name], QLine(e.x(), e.y(), e.width(), e.height())));
        const QPoint middle((e.x() + e.width()) / 2, (e.y() + e.height()) / 2);
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
