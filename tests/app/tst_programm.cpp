// The whole program driven as a user drives it: the main window opens the choice dialog, the
// dialog the search windows, the searches roll scripted dice, and "Übernehmen!" hands the
// found skill back. The rules are tested on their own; this is the wiring between the windows
// and their lifetime.

#include "LocaleGuard.h"
#include "RecordingMessageBoxes.h"
#include "ScriptedDice.h"
#include "WindowTestMain.h"
#include "app/Programm.h"
#include "windows/Auswahl.h"
#include "windows/Form1.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

const QString Notfall = u"NotfallVersorgung"_s;
const QString Normal = u"NormalVersorgung"_s;
const QString refusal = u"Keiner will dir helfen! Sorry, Kollego!"_s;

// What a control shows: a label's caption, a text box's text, a list's chosen entry.
QString shown(QWidget* w) {
    if (auto* label = qobject_cast<QLabel*>(w))
        return label->text();
    if (auto* edit = qobject_cast<QLineEdit*>(w))
        return edit->text();
    auto* list = qobject_cast<QComboBox*>(w);
    return list ? list->currentText() : QString();
}

QStringList shown(QWidget* window, const QStringList& names) {
    QStringList texts;
    for (const QString& name : names)
        texts << shown(window->findChild<QWidget*>(name));
    return texts;
}

QStringList items(QWidget* window, const QString& name) {
    QStringList texts;
    for (auto* list = window->findChild<QListWidget*>(name); list && texts.size() < list->count();)
        texts << list->item(texts.size())->text();
    return texts;
}

void click(QWidget* window, const QString& name) {
    auto* button = window ? window->findChild<QAbstractButton*>(name) : nullptr;
    QVERIFY2(button, qPrintable(name));
    button->click();
}

// Inputs in the order the user sets them: "name" clicks, "name=text" chooses or types.
void setInputs(QWidget* window, const QStringList& inputs) {
    for (const QString& input : inputs) {
        const QString name = input.section(u'=', 0, 0), text = input.section(u'=', 1);
        if (auto* list = window->findChild<QComboBox*>(name))
            list->setCurrentIndex(list->findText(text));
        else if (auto* edit = window->findChild<QLineEdit*>(name))
            edit->setText(text);
        else
            click(window, name);
    }
}

// Everything a user can see of a window, to show that a press changed nothing.
QStringList snapshot(QWidget* window) {
    QStringList seen;
    for (auto* w : window->findChildren<QWidget*>()) {
        auto* button = qobject_cast<QAbstractButton*>(w);
        auto* list = qobject_cast<QComboBox*>(w);
        const bool lines = qobject_cast<QListWidget*>(w);
        seen << QStringList{w->objectName(), shown(w),
                            lines ? items(window, w->objectName()).join(u'|') : QString(),
                            QString::number(w->isEnabled() + 2 * (button && button->isChecked())),
                            QString::number(list ? list->count() : 0)}
                    .join(u' ');
    }
    return seen;
}

// The class names of all windows that exist, once closed ones are really deleted.
QStringList openWindows() {
    for (int pass = 0; pass < 2; ++pass) // a deletion may close further windows
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QStringList names;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (!w->parentWidget()) // drop-down popups are windows with a parent
            names << QString::fromLatin1(w->metaObject()->className());
    names.sort();
    return names;
}

} // namespace

class TestProgramm : public QObject {
    Q_OBJECT

  private slots:
    void cleanup();
    void lifecycle();
    void handOver_data();
    void handOver();
    void search_data();
    void search();
    void secondRefusal_data();
    void secondRefusal();
    void firstRefusal();
    void trade();
    void badEtiquette_data();
    void badEtiquette();
    void closingTheMainWindow();
    void realMessageBox();

  private:
    void start(QList<int> faces, bool realBoxes = false);
    // Opens a window through the buttons: a search window by way of the choice dialog.
    QWidget* open(const QString& kind);
    QString bioTech() { return shown(m_main, {u"txtBioTech"_s}).first(); }

    std::unique_ptr<app::Programm> m_programm;
    RecordingMessageBoxes m_boxes;
    ScriptedSource* m_dice = nullptr;
    qsizetype m_faces = 0;
    QPointer<Form1> m_main;
};

void TestProgramm::start(QList<int> faces, bool realBoxes) {
    m_faces = faces.size();
    m_programm = std::make_unique<app::Programm>(scriptedDice(std::move(faces), &m_dice),
                                                 realBoxes ? nullptr : &m_boxes);
    m_main = m_programm->start();
    click(m_main, u"Krankenhaus"_s); // "Suche Arzt!" works only in hospital
}

// Every test states its message boxes and rolls exactly the dice it scripted.
void TestProgramm::cleanup() {
    const qsizetype rolled = m_dice ? m_dice->rolled() : 0;
    m_dice = nullptr;
    m_programm.reset();
    m_boxes.onShow = nullptr;
    QCOMPARE(m_boxes.take(), QStringList());
    QCOMPARE(rolled, m_faces);
}

QWidget* TestProgramm::open(const QString& kind) {
    click(m_main, kind == u"SanivexInfo" ? u"cmdSanivexInfo"_s : u"cmdSuchDoc"_s);
    if (kind == Notfall || kind == Normal)
        click(m_programm->auswahl.window(), kind == Notfall ? u"cmdNotfall"_s : u"cmdNormalfall"_s);
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && kind == QLatin1String(w->metaObject()->className()))
            return w;
    return nullptr;
}

void TestProgramm::lifecycle() {
    start({3, 4, 6, 1, 2, 6, 6}); // emergency: 0 + 7, skill 5; normal: one success, 12, skill 7
    QWidget* dialog = open(u"Auswahl"_s);
    QCOMPARE(open(u"Auswahl"_s), dialog);
    QCOMPARE(openWindows(), QStringList({"Auswahl", "Form1"}));
    QWidget* notfall = open(Notfall); // the dialog closes behind its answer
    QCOMPARE(openWindows(), QStringList({"Form1", Notfall}));
    QWidget* normal = open(Normal);
    setInputs(notfall, {"optSanivex", "cmbGegend=A oder B", "chkSIN", "cmdSuchDoc"});
    setInputs(normal, {"optKonzern", "cmbArt=Trauma", "txtGebräuche=2", "cmdSuchDoc"});

    // Answering again while a search window is open leaves it as it is: no reload, no refill.
    const QStringList before = snapshot(notfall) + snapshot(normal);
    QCOMPARE(open(Notfall), notfall);
    QCOMPARE(open(Normal), normal);
    QCOMPARE(snapshot(notfall) + snapshot(normal), before);
    QWidget* info = open(u"SanivexInfo"_s);
    QCOMPARE(open(u"SanivexInfo"_s), info);
    QCOMPARE(openWindows(), QStringList({"Form1", Normal, Notfall, "SanivexInfo"}));

    // Each window hands over its own skill; the later hand-over wins.
    click(notfall, u"cmdUebernehmen"_s);
    QCOMPARE(bioTech(), u"5"_s);
    click(normal, u"cmdUebernehmen"_s);
    QCOMPARE(bioTech(), u"7"_s);
}

void TestProgramm::handOver_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QList<int>>("faces"); // no dice: no search
    QTest::addColumn<QString>("then");     // between the search and leaving the window
    QTest::addColumn<QString>("leave");    // a button, the close box or Escape
    QTest::addColumn<QString>("expected");
    // Emergency: -2 + 12, skill 6. Normal: one success against 4, then 12, skill 7.
    const QList<int> none, notfall{6, 6}, normal{4, 6, 6};
    const QString take = u"cmdUebernehmen"_s;
    for (const QString& then : {u"at once"_s, u"hospital deselected"_s, u"window reopened"_s}) {
        QTest::addRow("emergency, %s", qPrintable(then))
            << Notfall << notfall << then << take << u"6"_s;
        QTest::addRow("normal, %s", qPrintable(then)) << Normal << normal << then << take << u"7"_s;
    }
    QTest::newRow("emergency, no search") << Notfall << none << QString() << take << u"0"_s;
    QTest::newRow("normal, no search") << Normal << none << QString() << take << u"0"_s;
    QTest::newRow("emergency, Cancel")
        << Notfall << notfall << QString() << u"cmdCancel"_s << u"8"_s;
    QTest::newRow("normal, close box") << Normal << normal << QString() << u"close box"_s << u"8"_s;
    QTest::newRow("normal, Escape") << Normal << normal << QString() << u"Escape"_s << u"8"_s;
}

void TestProgramm::handOver() {
    QFETCH(QString, kind);
    QFETCH(QList<int>, faces);
    QFETCH(QString, then);
    QFETCH(QString, leave);
    QFETCH(QString, expected);
    start(faces);
    QWidget* search = open(kind);
    const QStringList fresh = snapshot(search);
    if (!faces.isEmpty())
        click(search, u"cmdSuchDoc"_s);
    if (then == u"hospital deselected") {
        click(m_main, u"daheim"_s);
        QVERIFY(!m_main->findChild<QWidget*>(u"frmBioTech"_s)->isEnabled());
    } else if (then == u"window reopened") {
        click(search, u"cmdCancel"_s);
        QCOMPARE(openWindows(), QStringList{"Form1"});
        search = open(kind);
        QCOMPARE(snapshot(search), fresh); // empty labels, lists filled once
    }
    if (leave == u"close box")
        search->close();
    else if (leave == u"Escape")
        QTest::keyClick(search->focusWidget(), Qt::Key_Escape);
    else
        click(search, leave);
    QCOMPARE(bioTech(), expected);
    QCOMPARE(openWindows(), QStringList{"Form1"});
}

void TestProgramm::search_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QStringList>("inputs");
    QTest::addColumn<QList<int>>("faces");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QStringList>("results"); // Modif, dice and sum, skill and equipment
    QTest::addColumn<QStringList>("mainDice");
    QTest::newRow("emergency, start state")
        << Notfall << QStringList() << QList<int>{3, 4}
        << QStringList{"Öffentlich/Illegal: -1", "Keiner: -1"}
        << QStringList{"-2", "3", "4", "5", "4", "2"} << QStringList();
    QTest::newRow("emergency, inputs set backwards")
        << Notfall << QStringList{"chkArrest",        "chkSIN",           "cmbGegend=C oder D",
                                  "cmbKontrakt=Gold", "optKriseneinsatz", "optSanivex"}
        << QList<int>{6, 5}
        << QStringList{"Sanivex: +2",         "Std/Kriseinsatz: +0", "Gold: +1",
                       "Gegend C oder D: -1", "SINlos: -1",          "Unter Arrest: -2"}
        << QStringList{"-1", "6", "5", "10", "6", "4"} << QStringList();
    QTest::newRow("normal, inputs set backwards")
        << Normal << QStringList{"txtGebräuche=2",   "cmbLegalität=Legal", "cmbKategorie=Betaware",
                                 "cmbArt=Implantat", "optStrassendoc",     "optPrivat"}
        << QList<int>{6, 2, 3, 5, 6}
        << QStringList{"Privat: +1", "Strassendoc: -2", "Implantat: +1", "Betaware: +4",
                       "Legal: -1"}
        << QStringList{"3", "5", "6", "12", "7", "5", "1", "7", "14 Tage", "1"}
        << QStringList{"8", "3"};
}

void TestProgramm::search() {
    QFETCH(QString, kind);
    QFETCH(QStringList, inputs);
    QFETCH(QList<int>, faces);
    QFETCH(QStringList, messages);
    QFETCH(QStringList, results);
    QFETCH(QStringList, mainDice);
    start(faces);
    QWidget* search = open(kind);
    setInputs(search, inputs);
    click(search, u"cmdSuchDoc"_s);
    QCOMPARE(items(search, u"lstModifMeld"_s), messages);
    QStringList labels{"lblModif", "lblWurf1",      "lblWurf2",
                       "lblSumme", "lblFertigkeit", "lblEquipment"};
    if (kind == Normal)
        labels += {"lblFertMod", "lblMindestwurf", "lblZeitraum", "lblErfolge"};
    QCOMPARE(shown(search, labels), results);
    // The emergency search shows its contract default from now on.
    if (kind == Notfall)
        QCOMPARE(shown(search, {"cmbKontrakt"}), QStringList{inputs.isEmpty() ? "Keiner" : "Gold"});
    // The etiquette dice land in the main window's list.
    QCOMPARE(items(m_main, u"lstErgebnis"_s), mainDice);
}

void TestProgramm::secondRefusal_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QStringList>("inputs");
    QTest::addColumn<QList<int>>("faces"); // a search that finds skill 6, then 1 + 1
    QTest::addColumn<QString>("modif");
    QTest::newRow("emergency") << Notfall << QStringList() << QList<int>{6, 6, 1, 1} << u"-2"_s;
    QTest::newRow("normal") << Normal << QStringList{"optIllegal"} << QList<int>{3, 6, 6, 3, 1, 1}
                            << u"-1"_s;
}

void TestProgramm::secondRefusal() {
    QFETCH(QString, kind);
    QFETCH(QStringList, inputs);
    QFETCH(QList<int>, faces);
    QFETCH(QString, modif);
    start(faces);
    QWidget* search = open(kind);
    setInputs(search, inputs << "cmdSuchDoc");
    const QStringList labels{"lblModif", "lblWurf1",      "lblWurf2",
                             "lblSumme", "lblFertigkeit", "lblEquipment"};
    QStringList whileOpen;
    m_boxes.onShow = [&](const QString&) { whileOpen = shown(search, labels); };
    click(search, u"cmdSuchDoc"_s);
    QCOMPARE(m_boxes.take(), QStringList{refusal});
    QCOMPARE(whileOpen, QStringList({modif, "1", "1", "0", "6", "4"}));
    QCOMPARE(shown(search, labels), QStringList({modif, "1", "1", "0", "0", "0"}));
    click(search, u"cmdUebernehmen"_s);
    QCOMPARE(bioTech(), u"0"_s);
}

void TestProgramm::firstRefusal() {
    start({4, 6, 6, 3}); // skill 7 found, then no success against 4
    QWidget* search = open(Normal);
    setInputs(search, {"cmdSuchDoc", "cmdSuchDoc"});
    QCOMPARE(m_boxes.take(), QStringList{"Sorry, Kollego, keiner will dich behandeln!"});
    QCOMPARE(openWindows(), QStringList{"Form1"});
    QCOMPARE(items(m_main, u"lstErgebnis"_s), QStringList{"3"});
    QCOMPARE(bioTech(), u"8"_s);
    // The refused search never reached the doctor table: the skill found before is kept.
    click(open(Normal), u"cmdUebernehmen"_s);
    QCOMPARE(bioTech(), u"7"_s);
}

void TestProgramm::trade() {
    const LocaleGuard german(QLocale(QLocale::German, QLocale::Germany));
    // One success (skill 5); three successes (skill 5, equipment 3); one success (skill 7).
    start({4, 3, 4, 4, 4, 4, 3, 4, 4, 6, 6});
    QWidget* search = open(Normal);
    const QStringList buttons{"cmdImproveTime", "cmdImproveQual", "cmdDiminTime", "cmdDiminQual"};
    const auto enabled = [&] { // how many of the four buttons can be used
        return int(std::ranges::count_if(buttons, [&](const QString& name) {
            return search->findChild<QWidget*>(name)->isEnabled();
        }));
    };
    const QStringList results{"lblZeitraum", "lblErfolge", "lblEquipment", "lblFertigkeit"};
    click(search, u"cmdSuchDoc"_s);
    QCOMPARE(enabled(), 0);
    setInputs(search, {"txtGebräuche=3", "cmdSuchDoc"});
    QCOMPARE(enabled(), 4);
    setInputs(search, {"cmdImproveTime", "cmdImproveQual"});
    QCOMPARE(shown(search, results), QStringList({"3,5 Tage", "1", "4", "5"}));

    // Once open, the trade stays open after a search with a single success.
    setInputs(search, {"txtGebräuche=1", "cmdSuchDoc"});
    QCOMPARE(enabled(), 4);
    setInputs(search, {"cmdDiminTime", "cmdDiminQual"});
    QCOMPARE(shown(search, results), QStringList({"14 Tage", "3", "4", "7"}));
    click(search, u"cmdUebernehmen"_s);
    QCOMPARE(bioTech(), u"7"_s);
}

void TestProgramm::badEtiquette_data() {
    QTest::addColumn<QString>("etiquette");
    QTest::newRow("empty") << "";
    QTest::newRow("no number") << "abc";
    QTest::newRow("more than 100 dice") << "101";
}

void TestProgramm::badEtiquette() {
    QFETCH(QString, etiquette);
    start({4, 3, 4});
    QWidget* search = open(Normal);
    setInputs(search, {"cmdSuchDoc", "optKonzern", "cmbKategorie=Deltaware"});
    setInputs(search, {"txtGebräuche=" + etiquette});
    const QStringList before = snapshot(search) + snapshot(m_main);
    click(search, u"cmdSuchDoc"_s);
    const QStringList boxes = m_boxes.take();
    QCOMPARE(boxes.size(), 1);
    QVERIFY2(boxes.first().contains(u"„Gebräuchefertigkeit“"), qPrintable(boxes.first()));
    QCOMPARE(snapshot(search) + snapshot(m_main), before);
}

void TestProgramm::closingTheMainWindow() {
    start({6, 6});
    QPointer<QWidget> notfall = open(Notfall);
    for (const QString& kind : {Normal, u"SanivexInfo"_s, u"Auswahl"_s})
        open(kind);
    click(notfall, u"cmdSuchDoc"_s);
    m_main->close();
    // A hand-over that comes too late must not bring the main window back.
    if (notfall)
        click(notfall, u"cmdUebernehmen"_s);
    QCOMPARE(openWindows(), QStringList());
}

void TestProgramm::realMessageBox() {
    start({1, 1}, true); // -2 + 2: the refusal
    QWidget* search = open(Notfall);
    QStringList seen; // title, text, number of buttons, whether one is OK
    const QObject guard;
    QTimer::singleShot(0, &guard, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        QAbstractButton* ok = box->button(QMessageBox::Ok);
        seen << box->windowTitle() << box->text() << QString::number(box->buttons().size())
             << (ok ? u"OK"_s : u"no OK"_s);
        ok ? ok->click() : box->done(0);
    });
    click(search, u"cmdSuchDoc"_s);
    QCOMPARE(seen, QStringList({"Sanivex_Genesor", refusal, "1", "OK"}));
    QCOMPARE(shown(search, {"lblFertigkeit"}), QStringList{"0"});
}

SANIVEX_WINDOW_TEST_MAIN(TestProgramm)
#include "tst_programm.moc"
