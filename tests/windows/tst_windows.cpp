// The five windows as their definitions fix them and as the keyboard reaches them. Each window
// is listed control by control (kind, container, caption, place, own enabled flag, check mark,
// font, red text, focus order, start focus, drawn lines, size) and the listing is compared
// with the fingerprint of the definition, so a control moved, resized, renamed, re-captioned,
// re-enabled or taken out of the focus order fails; the listing is printed to show what
// differs. Every caption must fit its control, every button must answer Return and Enter.

#include "Driver.h"
#include "ScriptedDice.h"
#include "windows/StraightLines.h"

#include <QAccessible>
#include <QCryptographicHash>
#include <QTextStream>
#include <QtTest>
#include <QtWidgets>

namespace {

// Each window, with the clicks that open it from the main window.
const QList<std::pair<QString, QStringList>> windowsToOpen = {
    {"Form1", {}},
    {"Auswahl", {"Krankenhaus", "cmdSuchDoc"}},
    {"NormalVersorgung", {"Krankenhaus", "cmdSuchDoc", "cmdNormalfall"}},
    {"NotfallVersorgung", {"Krankenhaus", "cmdSuchDoc", "cmdNotfall"}},
    {"SanivexInfo", {"cmdSanivexInfo"}}};

QString listing(QWidget* top) {
    QStringList lines;
    QString line;
    QTextStream out(&line);
    const auto next = [&] {
        lines << line;
        line.clear();
    };
    const QWidget* focus = QApplication::focusWidget();
    out << top->objectName() << " '" << top->windowTitle() << "' " << top->width() << 'x'
        << top->height() << " fixed=" << (top->minimumSize() == top->maximumSize())
        << " focus=" << (focus ? focus->objectName() : "")
        << " background=" << top->palette().color(QPalette::Window).name() << " tab";
    for (QWidget* w = top->nextInFocusChain(); w != top; w = w->nextInFocusChain())
        if (w->focusPolicy() != Qt::NoFocus)
            out << ' ' << w->objectName();
    next();
    for (QWidget* w : top->findChildren<QWidget*>()) {
        if (auto* drawn = dynamic_cast<windows::StraightLines*>(w)) {
            for (QLine l : drawn->pixelLines()) {
                out << "line " << w->objectName() << ' ' << l.x1() << ',' << l.y1() << ' ' << l.x2()
                    << ',' << l.y2();
                next();
            }
        } else if (!w->objectName().isEmpty() && !w->objectName().startsWith("qt_")) {
            const QRect g = w->geometry();
            const QFontInfo font(w->font());
            out << w->objectName() << ' ' << w->metaObject()->className() << " in "
                << w->parentWidget()->objectName() << " '" << Driver::text(w) << "' " << g.x()
                << ',' << g.y() << ' ' << g.width() << 'x' << g.height()
                << " enabled=" << w->isEnabledTo(w->parentWidget())
                << " checked=" << w->property("checked").toString()
                << " editable=" << w->property("editable").toString() << ' ' << font.family() << ' '
                << font.pixelSize() << "px" << (font.bold() ? " bold" : "")
                << (w->palette().color(QPalette::WindowText) == Qt::red ? " red" : "");
            next();
        }
    }
    lines.sort();
    return lines.join('\n');
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

} // namespace

class tst_Windows : public QObject {
    Q_OBJECT

    std::unique_ptr<Driver> d;

    QWidget* open(const QString& window) {
        d = std::make_unique<Driver>(scriptedDice({}));
        for (const auto& [name, clicks] : windowsToOpen)
            if (name == window)
                for (const QString& click : clicks)
                    d->click(click);
        QWidget* top = d->find(window + '.');
        QApplication::setActiveWindow(top);
        return QTest::qWaitForWindowActive(top) ? top : nullptr;
    }

  private slots:
    void cleanup() {
        d.reset();
        QCOMPARE(Driver::windows(), QStringList());
    }

    void definition_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QByteArray>("fingerprint");
        QTest::newRow("Form1") << "Form1" << QByteArray("837b73dbcff3193b");
        QTest::newRow("Auswahl") << "Auswahl" << QByteArray("62ed0232410565b8");
        QTest::newRow("NormalVersorgung") << "NormalVersorgung" << QByteArray("632611b6410aa3c4");
        QTest::newRow("NotfallVersorgung") << "NotfallVersorgung" << QByteArray("95ea781629b78c1b");
        QTest::newRow("SanivexInfo") << "SanivexInfo" << QByteArray("ecba22d16067c077");
    }
    void definition() {
        QFETCH(QString, window);
        QFETCH(QByteArray, fingerprint);
        QWidget* top = open(window);
        QVERIFY(top);
        const QString shown = listing(top);
        const QByteArray hash =
            QCryptographicHash::hash(shown.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
        if (hash != fingerprint)
            qInfo().noquote() << shown;
        QCOMPARE(hash, fingerprint);

        // Every caption fits, and for a drop-down list every entry its load handler added.
        for (QWidget* w : top->findChildren<QWidget*>()) {
            QStringList texts = {Driver::text(w)};
            if (auto* combo = qobject_cast<QComboBox*>(w))
                for (int i = 0; i < combo->count(); ++i)
                    texts.append(combo->itemText(i));
            texts.removeAll(QString());
            if (qobject_cast<QListWidget*>(w) || w->objectName().startsWith("qt_"))
                continue;
            for (const QString& text : texts) {
                const auto [needed, available] = space(w, text);
                QVERIFY2(
                    needed <= available && w->fontMetrics().height() <= w->height(),
                    qPrintable(QString("%1: %2 > %3 px").arg(text).arg(needed).arg(available)));
            }
        }
    }

    // Return and Enter click the focused button in every window; Escape closes every window
    // but the main one. Every control that takes the focus shows it, beyond a text field's
    // blinking caret, and looks as the plain Windows style draws it while it has no focus.
    void keyboard_data() {
        QTest::addColumn<QString>("window");
        for (const auto& [window, clicks] : windowsToOpen)
            QTest::newRow(qPrintable(window)) << window;
    }
    void keyboard() {
        QFETCH(QString, window);
        QWidget* top = open(window);
        QVERIFY(top);
        const std::unique_ptr<QStyle> plain(QStyleFactory::create("Windows"));
        for (QWidget* w = top->nextInFocusChain(); w != top; w = w->nextInFocusChain()) {
            if (!(w->focusPolicy() & Qt::TabFocus))
                continue;
            for (QWidget* p = w; p != top; p = p->parentWidget())
                p->setEnabled(true);
            top->setFocus();
            const QImage unfocused = w->grab().toImage();
            w->setStyle(plain.get());
            const bool plainLook = // but for the drop-down lists' slimmer arrow
                qobject_cast<QComboBox*>(w) || w->grab().toImage() == unfocused;
            w->setStyle(nullptr);
            w->setFocus(Qt::TabFocusReason);
            QImage focused = w->grab().toImage();
            if (qobject_cast<QLineEdit*>(w)) { // the caret blinks, it does not count
                const QRect caret = w->inputMethodQuery(Qt::ImCursorRectangle).toRect();
                QPainter(&focused).drawImage(caret, unfocused, caret);
            }
            const bool framed = // fields and lists: the whole frame in the highlight colour
                (!qobject_cast<QLineEdit*>(w) && !qobject_cast<QAbstractItemView*>(w)) ||
                focused.pixelColor(0, 0) == w->palette().color(QPalette::Highlight);
            QVERIFY2(plainLook && framed && w->hasFocus() && focused != unfocused,
                     qPrintable(w->objectName()));
        }
        int buttons = 0;
        for (QPushButton* button : top->findChildren<QPushButton*>()) {
            for (QWidget* w = button; w != top; w = w->parentWidget())
                w->setEnabled(true);
            QObject::disconnect(button, &QPushButton::clicked, nullptr, nullptr);
            QSignalSpy clicked(button, &QPushButton::clicked);
            for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space}) {
                button->setFocus();
                QTest::keyClick(button, key);
            }
            QVERIFY2(clicked.count() == 3, qPrintable(button->objectName()));
            // A screen reader says what a button does, not just "+" or "-".
            const QString name =
                QAccessible::queryAccessibleInterface(button)->text(QAccessible::Name);
            QVERIFY2(name.size() > 1, qPrintable(button->objectName()));
            ++buttons;
        }
        QVERIFY(buttons > 0);
        QTest::keyClick(top, Qt::Key_Escape);
        QCOMPARE(Driver::windows().contains(window), window == "Form1");
    }
};

SANIVEX_WINDOW_TEST_MAIN(tst_Windows)
#include "tst_windows.moc"
