// The windows as their definitions fix them, what they hand to the rules and what their keys
// do. Each window is listed control by control (kind, container, caption, place, own enabled
// flag, check mark, font, red text, drop-down entries in order, focus order, start focus, drawn
// lines, size) and the listing is compared with the fingerprint of the definition, so a control
// moved, resized, renamed, re-captioned, re-enabled, re-filled or taken out of the focus order
// fails; the listing is printed to show what differs. Every control that takes the focus must
// show it, every button must answer Return and Enter. Each control a user sets must reach the one
// input of the rule it belongs to (main window -> HealingInput, the searches -> their search
// inputs), and every window answers Enter, Escape, F2 and F3.

#include "Driver.h"
#include "ScriptedDice.h"
#include "windows/Charts.h"
#include "windows/Form1.h"
#include "windows/NormalVersorgung.h"
#include "windows/NotfallVersorgung.h"
#include "windows/StraightLines.h"

#include <QtTest>
#include <QtWidgets>

// Every field of a rule's input as "name=value", in a fixed order.
static const auto b = [](bool v) { return QString(v ? "1" : "0"); };
static const auto name = [](const auto& v, const QStringList& names) {
    return v ? names.value(int(*v)) : QString();
};
// clang-format off
static QStringList fields(const healing::HealingInput& i) {
    const QStringList care{"daheim", "Krankenhaus", "schlechteUmst", "furchtbareUmst"};
    return {"Schaden=" + i.Schaden, "txtKonstitution=" + i.txtKonstitution,
            "Willenskraft=" + i.Willenskraft, "BioIndex=" + i.BioIndex, "EssenzDok=" + i.EssenzDok,
            "txtBioTech=" + i.txtBioTech, "care=" + care.value(int(i.care)), "lifestyle=" + name(i.lifestyle, {"Strasse", "Squatter",
            "Unterschicht", "Mittelschicht", "Oberschicht", "Luxus"}), "dokBio=" + b(i.dokBio),
            "undokBio=" + b(i.undokBio), "dokCyb=" + b(i.dokCyb), "undokCyb=" + b(i.undokCyb),
            "magischeBetreuung=" + b(i.magischeBetreuung), "Erwachter=" + b(i.Erwachter),
            "Kommunikation=" + b(i.Kommunikation)};
}
static QStringList fields(const care::NormalSearchInput& i) {
    return {"provider=" + name(i.provider, {"Konzern", "Privat", "Illegal", "Oeffentlich", "Klinik",
            "Krankenhaus"}), "connection=" + name(i.connection, {"Schieber", "Strassendoc"}),
            "art=" + i.art, "kategorie=" + i.kategorie, "legalitaet=" + i.legalitaet,
            "gebraeuche=" + i.gebraeuche};
}
static QStringList fields(const care::EmergencySearchInput& i) {
    return {"service=" + name(i.service, {"Sanivex", "Rapidmed", "Privat", "Illegal"}),
            "team=" + name(i.team, {"HTR", "Kriseneinsatz"}), "kontrakt=" + i.kontrakt,
            "gegend=" + i.gegend, "sinlos=" + b(i.sinlos), "arrest=" + b(i.arrest)};
}
// The clicks that open each window from the main window.
const QMap<QString, QStringList> opening{{"Krankenhaus", {"Krankenhaus"}},
    {"Auswahl", {"Krankenhaus", "cmdSuchDoc"}},
    {"NormalVersorgung", {"Krankenhaus", "cmdSuchDoc", "cmdNormalfall"}},
    {"NotfallVersorgung", {"Krankenhaus", "cmdSuchDoc", "cmdNotfall"}},
    {"SanivexInfo", {"cmdSanivexInfo"}}, {"Prognose", {"cmdPrognose"}}, {"Verlauf", {"cmdVerlauf"}}, {"Runde", {"cmdRunde"}}};
// clang-format on

static QString listing(QWidget* top) {
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
            if (auto* combo = qobject_cast<QComboBox*>(w)) // the entries in the order appended
                for (int i = 0; i < combo->count(); ++i)
                    out << (i ? '|' : ' ') << combo->itemText(i);
            next();
        }
    }
    lines.sort();
    return lines.join('\n');
}

class tst_Windows : public QObject {
    Q_OBJECT

    std::unique_ptr<Driver> d;

    // The main window's controls that care mode and ware boxes lock and unlock.
    QStringList usable() const {
        QStringList on;
        for (const char* c : {"magischeBetreuung", "Erwachter", "undokBio", "undokCyb", "dokCyb",
                              "Kommunikation", "WillenFrame", "LebensstilFrame", "frmBioTech",
                              "dokCybFrame", "BioIndexFrame", "BioIndex"})
            on << (d->find(c)->isEnabledTo(d->find(c)->parentWidget()) ? "+" : "-") + QString(c);
        return on;
    }
    // The fields of the rule input the window gives, or with `opening` the input it must give as
    // it opens; for the main window also which lockable controls are usable.
    QStringList given(const QString& window, bool opening = false) const {
        auto& p = d->program();
        using namespace care;
        using C = healing::CareCondition;
        if (window == "NormalVersorgung")
            return fields(opening ? NormalSearchInput{.gebraeuche = "1"}
                                  : p.normalVersorgung.window()->input());
        if (window == "NotfallVersorgung")
            return fields(opening ? EmergencySearchInput{.service = RescueService::Illegal}
                                  : p.notfallVersorgung.window()->input());
        const healing::HealingInput first{.care = window == "Form1" ? C::daheim : C::Krankenhaus,
                                          .lifestyle = healing::Lifestyle::Strasse};
        return fields(opening ? first : p.form1.window()->input()) + usable();
    }
    QStringList m_opened; // given(window, true) once the window opened

    // Opens `window`, then clicks each name, or types "text" into "name=text".
    void start(const QString& window, const QStringList& actions = {}) {
        d = std::make_unique<Driver>(scriptedDice(QList<int>(100, 1)));
        for (const QString& a : opening.value(window))
            d->click(a);
        m_opened = given(window, true);
        for (const QString& a : actions)
            a.contains('=') ? d->type(a.section('=', 0, 0), a.section('=', 1)) : d->click(a);
    }

  private slots:
    void definition_data() {
        QTest::addColumn<QByteArray>("fingerprint"); // each row is named after its window
        QTest::newRow("Form1") << QByteArray("837b73dbcff3193b");
        QTest::newRow("Auswahl") << QByteArray("62ed0232410565b8");
        QTest::newRow("NormalVersorgung") << QByteArray("37fbcb50eca84bf0");
        QTest::newRow("NotfallVersorgung") << QByteArray("59984a4c0e3ba7b2");
        QTest::newRow("SanivexInfo") << QByteArray("ecba22d16067c077");
    }
    void definition() {
        QFETCH(QByteArray, fingerprint);
        start(QTest::currentDataTag());
        QWidget* top = d->find(QString(QTest::currentDataTag()) + '.');
        QApplication::setActiveWindow(top);
        QVERIFY(QTest::qWaitForWindowActive(top));
        const QString shown = listing(top);
        const QByteArray hash =
            QCryptographicHash::hash(shown.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
        QVERIFY2(hash == fingerprint, qPrintable(hash + " for\n" + shown));

        // Every control that takes the focus shows it (a text field beyond its caret: by its
        // frame); every button answers Return and Enter and tells a screen reader what it does.
        for (QWidget* w = top->nextInFocusChain(); w != top; w = w->nextInFocusChain()) {
            if (!(w->focusPolicy() & Qt::TabFocus))
                continue;
            for (QWidget* p = w; p != top; p = p->parentWidget())
                p->setEnabled(true);
            top->setFocus();
            const QImage unfocused = w->grab().toImage();
            if (auto* box = qobject_cast<QComboBox*>(w)) { // text and arrow side by side, inside
                QStyleOptionComboBox o;
                o.initFrom(box);
                const auto part = [&](QStyle::SubControl sc) {
                    return box->style()->subControlRect(QStyle::CC_ComboBox, &o, sc, box);
                };
                const QRect field = part(QStyle::SC_ComboBoxEditField);
                const QRect arrow = part(QStyle::SC_ComboBoxArrow);
                QVERIFY2(field.right() + 1 == arrow.left() && box->rect().contains(field) &&
                             box->rect().contains(arrow),
                         qPrintable(box->objectName()));
            }
            w->setFocus(Qt::TabFocusReason);
            const QImage focused = w->grab().toImage();
            const bool framed = // fields and lists: the whole frame in the highlight colour
                (!qobject_cast<QLineEdit*>(w) && !qobject_cast<QAbstractItemView*>(w)) ||
                focused.pixelColor(0, 0) == w->palette().color(QPalette::Highlight);
            QVERIFY2(framed && w->hasFocus() && focused != unfocused, qPrintable(w->objectName()));
            if (auto* button = qobject_cast<QPushButton*>(w)) {
                QObject::disconnect(button, &QPushButton::clicked, nullptr, nullptr);
                QSignalSpy clicked(button, &QPushButton::clicked);
                for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter})
                    QTest::keyClick(button, key);
                const QString name =
                    QAccessible::queryAccessibleInterface(button)->text(QAccessible::Name);
                QVERIFY2(clicked.count() == 2 && name.size() > 1, qPrintable(w->objectName()));
            }
        }
    }

    // One row per control: how it is set, and what the rule's input then holds beyond the rule's
    // defaults and the window's first choices (one etiquette die, the service
    // "Öffentlich/Illegal", the lifestyle "Strasse", hospital care in "Krankenhaus"); for the
    // main window also which lockable controls the actions unlocked (+) or locked (-).
    void inputs_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QStringList>("actions");
        QTest::addColumn<QString>("input");
        const auto row = [](const char* window, QStringList actions, const char* input) {
            QTest::addRow("%s %s", window, qPrintable(actions.join(' ')))
                << window << actions << QString::fromUtf8(input);
        };
        const char *f = "Form1", *h = "Krankenhaus", *n = "NormalVersorgung",
                   *e = "NotfallVersorgung";
        // clang-format off
        row(f, {"Schaden=7"}, "Schaden=7"); row(f, {"txtKonstitution=5"}, "txtKonstitution=5");
        row(f, {"dokBio", "BioIndex=2"}, "BioIndex=2 dokBio=1 +BioIndexFrame +BioIndex");
        row(f, {"Krankenhaus"}, "care=Krankenhaus +magischeBetreuung +Erwachter +undokBio "
            "+undokCyb +dokCyb +Kommunikation +WillenFrame -LebensstilFrame +frmBioTech");
        row(f, {"Krankenhaus", "magischeBetreuung", "Erwachter", "undokBio", "undokCyb", "Kommunikation",
            "Willenskraft=7", "txtBioTech=5", "schlechteUmst"},
            "care=schlechteUmst magischeBetreuung=1 Erwachter=1 +BioIndexFrame +BioIndex");
        // "zu Hause" takes the bio-index away, unless documented bioware counts.
        row(f, {"Krankenhaus", "undokBio", "daheim"}, "");
        row(f, {"dokBio", "Krankenhaus", "dokCyb", "daheim"}, "dokBio=1 +BioIndexFrame +BioIndex");
        row(f, {"Krankenhaus", "dokCyb", "furchtbareUmst"}, "care=furchtbareUmst");
        row(h, {"Willenskraft=6"}, "Willenskraft=6"); row(h, {"txtBioTech=5"}, "txtBioTech=5");
        row(h, {"dokCyb", "EssenzDok=4"}, "EssenzDok=4 dokCyb=1 +dokCybFrame");
        row(h, {"dokCyb", "undokCyb"}, "undokCyb=1 +dokCybFrame");
        row(h, {"undokCyb", "dokCyb"}, "dokCyb=1 +dokCybFrame");
        row(h, {"dokBio", "undokBio"}, "undokBio=1 +BioIndexFrame +BioIndex");
        row(h, {"undokBio", "dokBio"}, "dokBio=1 +BioIndexFrame +BioIndex");
        row(h, {"magischeBetreuung"}, "magischeBetreuung=1"); row(h, {"Erwachter"}, "Erwachter=1");
        row(h, {"Kommunikation"}, "Kommunikation=1");
        // "Übernehmen!" before any search hands over the skill of none found yet.
        row(h, {"cmdSuchDoc", "cmdNotfall", "cmdUebernehmen"}, "txtBioTech=0");
        // What a press changes in them: forced hospital care, the essence used up.
        row(f, {"Schaden=10", "cmdHeilen"}, "Schaden=9 care=Krankenhaus +magischeBetreuung "
            "+Erwachter +undokBio +undokCyb +dokCyb +Kommunikation +WillenFrame -LebensstilFrame +frmBioTech");
        row(h, {"undokCyb", "EssenzDok=4", "Schaden=2", "cmdHeilen"},
            "Schaden=1 EssenzDok= undokCyb=1 +dokCybFrame");
        row(f, {"Squatter"}, "lifestyle=Squatter"); row(f, {"Unterschicht"}, "lifestyle=Unterschicht");
        row(f, {"Mittelschicht"}, "lifestyle=Mittelschicht");
        row(f, {"Oberschicht"}, "lifestyle=Oberschicht"); row(f, {"Luxus", "Strasse"}, "");
        row(f, {"Strasse", "Luxus"}, "lifestyle=Luxus");
        row(n, {"optKonzern"}, "provider=Konzern"); row(n, {"optPrivat"}, "provider=Privat");
        row(n, {"optIllegal"}, "provider=Illegal"); row(n, {"optoeffentlich"}, "provider=Oeffentlich");
        row(n, {"optKlinik"}, "provider=Klinik"); row(n, {"optKrankenhaus"}, "provider=Krankenhaus");
        row(n, {"optSchieber"}, "connection=Schieber"); row(n, {"optStrassendoc"}, "connection=Strassendoc");
        row(n, {"cmbArt=Trauma"}, "art=Trauma"); row(n, {"cmbKategorie=Nanoware"}, "kategorie=Nanoware");
        row(n, {"cmbLegalität=Legal"}, "legalitaet=Legal"); row(n, {"txtGebräuche=5"}, "gebraeuche=5");
        row(e, {"optSanivex"}, "service=Sanivex"); row(e, {"optPrivat"}, "service=Privat");
        row(e, {"optRapidmed"}, "service=Rapidmed"); row(e, {"optHTR"}, "team=HTR");
        row(e, {"optKriseneinsatz"}, "team=Kriseneinsatz"); row(e, {"cmbKontrakt=Gold"}, "kontrakt=Gold");
        row(e, {"cmbGegend=C oder D"}, "gegend=C oder D");
        row(e, {"chkSIN"}, "sinlos=1"); row(e, {"chkArrest"}, "arrest=1");
        // clang-format on
    }
    void inputs() {
        QFETCH(QString, window);
        QFETCH(QStringList, actions);
        QFETCH(QString, input);
        start(window, actions);
        QStringList got = given(window);
        for (qsizetype k = got.size() - 1; k >= 0; --k)
            if (got[k] == m_opened[k])
                got.removeAt(k);
        QCOMPARE(got.join(' '), input);
    }

    // One row per key and where it is pressed: the windows open afterwards and the damage
    // boxes left of 4.
    void keys_data() {
        QTest::addColumn<QString>("where");
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<QString>("effect");
        const auto row = [](const char* where, QList<int> keys, const char* effect) {
            QTest::addRow("%s %d", where, keys.first()) << where << keys << effect;
        };
        const int keypadEnter = int(Qt::Key_Enter) | int(Qt::KeypadModifier);
        const int f2 = Qt::Key_F2, f3 = Qt::Key_F3, f4 = Qt::Key_F4, escape = Qt::Key_Escape;
        // clang-format off
        row("Form1.Schaden", {keypadEnter}, "Form1 3"); row("Form1.Schaden", {Qt::Key_Return}, "Form1 3");
        row("Form1.txtKonstitution", {keypadEnter}, "Form1 3");
        row("Form1.Schaden", {escape, f2, f3, f4}, "Form1 Prognose Runde Verlauf 4");
        row("Auswahl.", {f2, escape}, "Form1 Prognose 4");
        row("NormalVersorgung.", {f3, escape}, "Form1 Verlauf 4");
        row("NotfallVersorgung.", {f2, escape}, "Form1 Prognose 4");
        row("SanivexInfo.", {f3, escape}, "Form1 Verlauf 4");
        row("Prognose.", {f3, f4, escape}, "Form1 Runde Verlauf 4");
        row("Verlauf.", {f2, escape}, "Form1 Prognose 4"); row("Runde.", {f2, escape}, "Form1 Prognose 4");
        // clang-format on
    }
    void keys() {
        QFETCH(QString, where);
        QFETCH(QList<int>, keys);
        QFETCH(QString, effect);
        start(where.section('.', 0, 0), {"Form1.Schaden=4"});
        QWidget* w = d->find(where);
        w->setFocus();
        for (int key : keys)
            QTest::keyClick(w->focusWidget() ? w->focusWidget() : w,
                            Qt::Key(key & ~Qt::KeyboardModifierMask),
                            Qt::KeyboardModifiers(key & Qt::KeyboardModifierMask));
        QCOMPARE(Driver::windows().join(' ') + ' ' + d->text("Schaden"), effect);
    }

    // What the open forecast shows as the main window changes: the actions, the label, and a
    // text it holds (after "!": does not hold) once the forecast has caught up.
    void forecast_data() {
        QTest::addColumn<QStringList>("actions");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("holds");
        const QStringList pressed{"Krankenhaus", "Schaden=4", "cmdHeilen"};
        // clang-format off
        QTest::newRow("cost in hospital") << QStringList{"Krankenhaus", "Schaden=4"}
            << "lblNaechsterWurf" << "erwartete Kosten dieses";
        QTest::newRow("hospital not cheapest") << QStringList{"Krankenhaus", "Schaden=4"}
            << "lblVergleich" << "jetzt</td>";
        QTest::newRow("after a press") << pressed << "lblBisZurHeilung" << QStringLiteral("!bisherigen 0\u00a0");
        QTest::newRow("reset") << pressed + QStringList{"cmdReset"} << "lblBisZurHeilung"
            << QStringLiteral("bisherigen 0\u00a0Nuyen");
        QTest::newRow("no box") << QStringList{} << "lblBisZurHeilung" << "Nichts zu heilen.";
        QTest::newRow("no cost at home") << QStringList{"Schaden=4"} << "lblNaechsterWurf"
            << "!Kosten";
        QTest::newRow("marks") << QStringList{"Schaden=4"} << "lblVergleich"
            << "<td>jetzt, günstigste</td>";
        QTest::newRow("essence used up") << QStringList{"Krankenhaus", "undokCyb", "Schaden=2"}
            << "lblBisZurHeilung" << "Essenz nach jedem Wurf neu eingetragen";
        QTest::newRow("normal search") << QStringList{"Krankenhaus", "Form1.cmdSuchDoc",
            "cmdNormalfall"} << "frmNormalSuche" << "Die Balken zählen die Suchen, die zum 2W6";
        QTest::newRow("emergency search") << QStringList{"Krankenhaus", "Form1.cmdSuchDoc",
            "cmdNotfall"} << "frmNotfallSuche" << "Fertigkeitsstufe 4: ";
        // Few boxes and many dice: the rare counts merged by their range, hours under a day.
        const QStringList many{"Krankenhaus", "txtKonstitution=30", "Schaden=3"};
        QTest::newRow("rare counts merged") << many << "lblNaechsterWurf"
            << QStringLiteral("\n1–17\u00a0Erfolge zusammen: ");
        QTest::newRow("hours") << many << "lblNaechsterWurfKurz"
            << QStringLiteral("\u00a0Stunden, Kosten 2\u00a0Nuyen");
        // Only a later press would be refused: it is named, the figures count those before.
        QTest::newRow("later refusal") << many + QStringList{"dokBio", "Willenskraft=20",
            "txtBioTech=7", "BioIndex=-2700", "Schaden=1370"} << "lblBisZurHeilung"
            << "für die 696 Heilungswürfe davor";
        // Many presses of one die each: the recovery is a normal curve.
        QTest::newRow("normal curve") << QStringList{"Schaden=300", "txtKonstitution=1"}
            << "lblBisZurHeilung" << QStringLiteral("Noch 300\u00a0Kästchen");
        // clang-format on
    }
    // Then the chance to be healed rises from no time at all to near certainty, with the median
    // and 90 % marked where it reaches them, in a chart as high as its axes and marks need.
    void forecast() {
        QFETCH(QStringList, actions);
        QFETCH(QString, label);
        QFETCH(QString, holds);
        start("Prognose", actions);
        QTest::qWait(1); // the forecast follows at the next pass, its comparison rows later
        QTRY_VERIFY(!d->text("lblVergleich").contains(QString::fromUtf8("…")));
        QWidget* shown = d->find(label); // a label, or a section with its labels and charts
        QString text = Driver::text(shown);
        for (const QWidget* w : shown->findChildren<QWidget*>())
            text += '\n' + Driver::text(w) + '\n' + w->accessibleDescription();
        QCOMPARE(text.contains(holds.mid(holds.startsWith('!'))), !holds.startsWith('!'));
        const auto* chart = static_cast<windows::CurveChart*>(d->find("chartGeheilt"));
        if (!chart->isVisibleTo(d->find("Prognose."))) // nothing to heal
            return;
        const QList<QPointF>& p = chart->points();
        const auto& marks = chart->marks();
        QVERIFY(p.size() > 2 && p.first() == QPointF(0, 0) && p.last().y() > 0.99);
        QVERIFY(marks.size() == 2 && marks[0].label.startsWith("Median: ") &&
                marks[1].label.startsWith("90 %: "));
        for (qsizetype i = 1; i < p.size(); ++i) {
            QVERIFY(p[i].x() >= p[i - 1].x() && p[i].y() >= p[i - 1].y());
            for (int m = 0; m < 2; ++m)
                QVERIFY((p[i].x() < marks[m].x) == (p[i].y() < (m ? 0.9 : 0.5)));
        }
        QVERIFY(chart->height() >= chart->minimumSizeHint().height());
        // The days axis ends on a round step a little past the last value.
        QVERIFY(windows::CurveChart::axis(0, 9.6) == std::pair(15.0, 5.0));
    }
};

SANIVEX_WINDOW_TEST_MAIN(tst_Windows)
#include "tst_windows.moc"
