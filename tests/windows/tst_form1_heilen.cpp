// The main window driven through the healing features as a user drives it: clicking options
// and boxes, typing into fields, pressing "HEILEN!" and reading what the window shows. The
// rules have their own tests; these check the wiring between controls, handlers and rules.

#include "LocaleGuard.h"
#include "RecordingMessageBoxes.h"
#include "ScriptedDice.h"
#include "WindowTestMain.h"
#include "windows/Form1.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QTest>
#include <memory>

class TestForm1Heilen : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();

    void careAndWareSwitches_data();
    void careAndWareSwitches();
    void handOverReplacedOnLeavingHospital();
    void attributeLimits_data();
    void attributeLimits();
    void everyInputIsRead_data();
    void everyInputIsRead();
    void workedExampleAtHome();
    void tenBoxesAtHomeGoToHospital();
    void healedThenNotIll();
    void enterKey();
    void badInputChangesNothing_data();
    void badInputChangesNothing();
    void resetStartsTotalsAgain();

  private:
    void open(QList<int> faces);
    // A user's actions, e.g. "Krankenhaus dokCyb EssenzDok=4,5": a bare name clicks that button,
    // name=text replaces the field's text by typing.
    void act(const QString& actions);
    // What the window should show, e.g. "dokCyb:aus dokCyb:gesperrt EssenzDok=4,5": an/aus for
    // a check mark, frei/gesperrt for whether the user can reach the control, name=text.
    void expect(const QString& expectations);
    template <typename T = QWidget> T* c(const QString& name) {
        T* w = form->findChild<T*>(name);
        if (!w)
            qFatal("no control %s", qPrintable(name));
        return w;
    }
    QString text(const QString& name) {
        if (auto* label = form->findChild<QLabel*>(name))
            return label->text();
        return c<QLineEdit>(name)->text();
    }
    QStringList list(const QString& name) {
        QStringList lines;
        for (int i = 0; i < c<QListWidget>(name)->count(); ++i)
            lines << c<QListWidget>(name)->item(i)->text();
        return lines;
    }
    QStringList snapshot();

    std::unique_ptr<LocaleGuard> locale;
    healing::Form1State state;
    std::unique_ptr<dice::Wuerfelomat> wuerfel;
    RecordingMessageBoxes boxes;
    std::unique_ptr<Form1> form;
};

void TestForm1Heilen::init() {
    locale = std::make_unique<LocaleGuard>(QLocale(QLocale::German, QLocale::Germany));
    state = {};
    open(QList<int>(100, 2)); // no success against a target above 2
}

void TestForm1Heilen::cleanup() {
    form.reset();
    locale.reset();
    boxes.onShow = nullptr;
    QCOMPARE(boxes.take(), QStringList());
}

void TestForm1Heilen::open(QList<int> faces) {
    form.reset();
    wuerfel = scriptedDice(std::move(faces));
    form = std::make_unique<Form1>(state, *wuerfel, boxes);
    form->Form_Load();
    form->show();
    QApplication::setActiveWindow(form.get());
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
}

void TestForm1Heilen::act(const QString& actions) {
    for (const QString& step : actions.split(u' ', Qt::SkipEmptyParts)) {
        const QString name = step.section(u'=', 0, 0);
        if (!step.contains(u'=')) {
            // Near the left edge: on the indicator of a check box or option, inside a button.
            auto* button = c<QAbstractButton>(name);
            QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
            continue;
        }
        auto* field = c<QLineEdit>(name);
        QVERIFY2(field->isEnabled(), qPrintable(name));
        field->setFocus();
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Backspace);
        QTest::keyClicks(field, step.section(u'=', 1));
    }
}

void TestForm1Heilen::expect(const QString& expectations) {
    for (const QString& item : expectations.split(u' ', Qt::SkipEmptyParts)) {
        const QString name = item.section(QRegularExpression("[:=]"), 0, 0);
        const QString want = item.mid(name.size() + 1);
        QString seen;
        if (item.at(name.size()) == u'=')
            seen = text(name);
        else if (want == u"an" || want == u"aus")
            seen = QString::fromLatin1(c<QAbstractButton>(name)->isChecked() ? "an" : "aus");
        else
            seen = QString::fromLatin1(c(name)->isEnabled() ? "frei" : "gesperrt");
        QVERIFY2(seen == want, qPrintable(item + QStringLiteral(", shown: ") + seen));
    }
}

// Everything a press could change: every control's text, list, check mark and own enabled
// flag, and the window's variables.
QStringList TestForm1Heilen::snapshot() {
    QStringList shot;
    for (QWidget* w : form->findChildren<QWidget*>()) {
        const QString name = w->objectName();
        if (name.isEmpty() || name.startsWith(u"qt_"))
            continue;
        QString value;
        if (auto* button = qobject_cast<QAbstractButton*>(w))
            value = button->isChecked() ? QStringLiteral("[x]") : QStringLiteral("[ ]");
        else if (qobject_cast<QListWidget*>(w))
            value = list(name).join(u'|');
        else if (qobject_cast<QLabel*>(w) || qobject_cast<QLineEdit*>(w))
            value = text(name);
        const bool enabled = w->isEnabledTo(w->parentWidget());
        shot << name + (enabled ? QStringLiteral(" ") : QStringLiteral(" (aus) ")) + value;
    }
    shot << QStringLiteral("Gesamtzeit %1 Kosten %2 Schadenskaestchen %3")
                .arg(state.Gesamtzeit)
                .arg(state.Kosten.text())
                .arg(state.Schadenskaestchen);
    return shot;
}

void TestForm1Heilen::careAndWareSwitches_data() {
    QTest::addColumn<QString>("actions");
    QTest::addColumn<QString>("expected");
    auto row = [](const char* actions, const char* expected) {
        QTest::newRow(actions) << QString::fromUtf8(actions) << QString::fromUtf8(expected);
    };
    // clang-format off
    row("Krankenhaus", "magischeBetreuung:frei Erwachter:frei undokBio:frei "
        "undokCyb:frei dokCyb:frei Kommunikation:frei Willenskraft:frei txtBioTech:frei "
        "cmdSuchDoc:frei Luxus:gesperrt EssenzDok:gesperrt BioIndex:gesperrt");
    row("Krankenhaus Erwachter Willenskraft=7 schlechteUmst Luxus",
        "Willenskraft=3 Willenskraft:gesperrt Erwachter:gesperrt Erwachter:an Luxus:an");
    row("Krankenhaus dokCyb EssenzDok=4,5 daheim",
        "dokCyb:aus dokCyb:gesperrt EssenzDok:gesperrt EssenzDok=4,5");
    // Leaving hospital keeps the bio-index usable unless "zu Hause" finds no documented bioware.
    row("Krankenhaus dokBio daheim", "BioIndex:frei");
    row("Krankenhaus undokBio daheim", "BioIndex:gesperrt");
    row("Krankenhaus undokBio schlechteUmst", "BioIndex:frei");
    row("Krankenhaus undokBio furchtbareUmst", "BioIndex:frei");
    row("Krankenhaus furchtbareUmst", "BioIndex:gesperrt");
    // Each ware box unlocks its field and unticks its partner; unticking locks nothing.
    row("dokBio", "dokBio:an BioIndex:frei");
    row("Krankenhaus undokBio", "undokBio:an BioIndex:frei");
    row("Krankenhaus dokCyb", "dokCyb:an EssenzDok:frei");
    row("Krankenhaus undokCyb", "undokCyb:an EssenzDok:frei");
    row("Krankenhaus undokBio dokBio", "dokBio:an undokBio:aus");
    row("Krankenhaus dokBio undokBio", "undokBio:an dokBio:aus");
    row("Krankenhaus undokCyb dokCyb", "dokCyb:an undokCyb:aus");
    row("Krankenhaus dokCyb undokCyb", "undokCyb:an dokCyb:aus");
    row("Krankenhaus undokBio undokBio", "undokBio:aus BioIndex:frei");
    row("Krankenhaus dokCyb dokCyb", "dokCyb:aus EssenzDok:frei");
    // clang-format on
}

void TestForm1Heilen::careAndWareSwitches() {
    QFETCH(QString, actions);
    QFETCH(QString, expected);
    act(actions);
    expect(expected);
}

void TestForm1Heilen::handOverReplacedOnLeavingHospital() {
    act("Krankenhaus");
    form->uebernehmeFertigkeit(5);
    expect("txtBioTech=5");
    act("furchtbareUmst");
    expect("txtBioTech=8");
}

void TestForm1Heilen::attributeLimits_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message"); // empty: silent
    auto row = [](const char* field, const char* typed, const char* message) {
        QTest::addRow("%s %s", field, typed) << field << typed << QString::fromUtf8(message);
    };
    row("txtKonstitution", "31", "Was bist du für ein Tier?");
    row("txtKonstitution", "30", "");
    row("txtKonstitution", "", ""); // emptied to type a new value
    row("txtKonstitution", "-", "");
    row("Willenskraft", "21", "Ja, klar! Stahlwille!");
    row("Willenskraft", "20", "");
}

void TestForm1Heilen::attributeLimits() {
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, message);
    act("Krankenhaus");
    QString shownWhileOpen;
    boxes.onShow = [&](const QString&) { shownWhileOpen = text(field); };

    act(field + u'=' + typed);
    if (message.isEmpty()) {
        QCOMPARE(boxes.take(), QStringList());
        QCOMPARE(text(field), typed);
        return;
    }
    QCOMPARE(boxes.take(), QStringList{message});
    QCOMPARE(shownWhileOpen, typed);
    QCOMPARE(text(field), QStringLiteral("1"));
    QCOMPARE(c<QLineEdit>(field)->selectedText(), QStringLiteral("1"));
    QTest::keyClick(c(field), Qt::Key_5);
    QCOMPARE(text(field), QStringLiteral("5"));
}

void TestForm1Heilen::everyInputIsRead_data() {
    QTest::addColumn<QString>("actions");
    QTest::addColumn<QString>("line");
    auto row = [](const char* actions, const char* line) {
        QTest::newRow(actions) << QString::fromUtf8(actions) << QString::fromUtf8(line);
    };
    // clang-format off
    row("schlechteUmst", "Schlechte Umstände: +1");
    row("furchtbareUmst", "Furchtbare Umstände: +3");
    row("Luxus", "Lebensstil besser als benötigt: -1");
    row("dokBio BioIndex=4", "Patient hat Bioware: +2");
    row("Krankenhaus magischeBetreuung", "Langfristige magische Betreuung: -2");
    row("Krankenhaus Erwachter", "Patient ist Erwachter: +2");
    row("Krankenhaus Kommunikation", "Patient/Arzt Kommunikation gestört: +2");
    row("Krankenhaus undokBio BioIndex=4", "Patient hat undokumentierte Bioware: +4");
    row("Krankenhaus dokCyb EssenzDok=1", "Essenzmodifikator: +2");
    row("Krankenhaus undokCyb EssenzDok=1", "Essenzmodifikator: +3");
    row("Krankenhaus txtKonstitution=7", "Konstitutionsmodifikator: -2");
    row("Krankenhaus Willenskraft=12", "Willenskraftmodifikator: -3");
    row("Krankenhaus txtBioTech=0", "Biotech Fertigkeit des Arztes: 4");
    // clang-format on
}

void TestForm1Heilen::everyInputIsRead() {
    QFETCH(QString, actions);
    QFETCH(QString, line);
    act(actions + QStringLiteral(" Schaden=4 cmdHeilen"));
    const QStringList meldungen = list(QStringLiteral("Meldungen"));
    QVERIFY2(meldungen.contains(line), qPrintable(meldungen.join(u'|')));
    // The constitution is also the number of dice.
    QCOMPARE(list(QStringLiteral("lstErgebnis")).size(), text("txtKonstitution").toInt());
}

void TestForm1Heilen::workedExampleAtHome() {
    open({6, 6, 1, 3, 2}); // 13 against 12 is the one success
    act("Schaden=4 cmdHeilen");
    QCOMPARE(list("Meldungen"), (QStringList{"Grundmindestwurf: 4", "Verletzungsmod.: 2",
                                             "Lebensstil schlechter als benötigt: +6"}));
    QCOMPARE(text("niveaulabel"), QStringLiteral("Schadensniveau ist Mittel"));
    QCOMPARE(text("Stillabel"), QStringLiteral("Benötigter Lebensstil Mittelschicht"));
    QCOMPARE(text("Modifk"), QStringLiteral("12"));
    QCOMPARE(text("lblGrundzeitraum"), QStringLiteral("288 hrs = 12 Tage"));
    QCOMPARE(list("lstErgebnis"), (QStringList{"13", "3", "2"}));
    QCOMPARE(text("lblErfolge"), QStringLiteral("1"));
    QCOMPARE(text("lblHeilungsdauer"), QStringLiteral("288 hrs = 12 Tage"));
    QCOMPARE(text("Schaden"), QStringLiteral("3"));
    QCOMPARE(text("lblGesamtzeit"), QStringLiteral("288 hrs = 12 Tage"));
    QCOMPARE(text("lblKosten"), QString());
}

void TestForm1Heilen::tenBoxesAtHomeGoToHospital() {
    open({6, 4, 2, 1}); // 10 against 9 is the one success
    act("Schaden=10 cmdHeilen");
    QCOMPARE(list("Meldungen").value(2), QStringLiteral("Sie sind im Krankenhaus!"));
    expect("Krankenhaus:an daheim:aus magischeBetreuung:frei Erwachter:frei Willenskraft:frei "
           "cmdSuchDoc:frei Luxus:gesperrt Schaden=9");
    QCOMPARE(text("lblGrundzeitraum"), QStringLiteral("432 hrs = 18 Tage"));
    QCOMPARE(text("lblKosten"), QStringLiteral("18400 Nuyen"));
}

void TestForm1Heilen::healedThenNotIll() {
    QStringList seenWithMessage;
    boxes.onShow = [&](const QString&) {
        seenWithMessage = {text("Schaden"), text("lblGesamtzeit")};
    };
    act("Schaden=2 cmdHeilen");
    QCOMPARE(boxes.take(), QStringList());
    act("cmdHeilen");
    // The message comes after the window shows the healed state.
    QCOMPARE(boxes.take(), QStringList{"Sie sind geheilt!"});
    QCOMPARE(seenWithMessage, (QStringList{"0", text("lblGesamtzeit")}));

    // Only Meldungen is cleared; the variables are left out, as the press starts by zeroing
    // the target number.
    QStringList expected = snapshot();
    expected.removeLast();
    expected.replaceInStrings(QRegularExpression("^Meldungen .*$"), "Meldungen ");
    c("cmdHeilen")->setFocus();
    act("cmdHeilen");
    QCOMPARE(boxes.take(), QStringList{"Sind Sie überhaupt krank???"});
    QCOMPARE(QApplication::focusWidget(), c("Schaden"));
    QCOMPARE(snapshot().mid(0, expected.size()), expected);
}

void TestForm1Heilen::enterKey() {
    act("Schaden=4");
    QCOMPARE(QApplication::focusWidget(), c("Schaden"));
    QTest::keyClick(c("Schaden"), Qt::Key_Return);
    QCOMPARE(text("Schaden"), QStringLiteral("3"));
    QVERIFY(!text("lblGesamtzeit").isEmpty());

    // A focused button takes Enter for itself: Reset resets and nothing heals.
    c("cmdReset")->setFocus();
    QTest::keyClick(c("cmdReset"), Qt::Key_Return);
    QCOMPARE(text("lblGesamtzeit"), QString());
    QCOMPARE(text("Schaden"), QStringLiteral("3"));
}

void TestForm1Heilen::badInputChangesNothing_data() {
    QTest::addColumn<QString>("before"); // the actions up to and including a good press
    QTest::addColumn<QString>("bad");    // what the user then types
    QTest::addColumn<QString>("caption");
    auto row = [](const char* name, const char* before, const char* bad, const char* caption) {
        QTest::newRow(name) << QString::fromUtf8(before) << QString::fromUtf8(bad)
                            << QString::fromUtf8(caption);
    };
    // clang-format off
    row("Schaden abc", "Schaden=4 cmdHeilen", "Schaden=abc", "Schadenskästchen");
    row("Schaden 40000", "Schaden=4 cmdHeilen", "Schaden=40000", "Schadenskästchen");
    row("Schaden leer", "Schaden=4 cmdHeilen", "Schaden=", "Schadenskästchen");
    // The change handler stops values above 30 but lets these through to the press.
    row("Konstitution x", "Schaden=4 cmdHeilen", "txtKonstitution=x", "natürliche Konstitution");
    row("Konstitution -40000", "Schaden=4 cmdHeilen", "txtKonstitution=-40000",
        "natürliche Konstitution");
    row("Willenskraft abc", "Krankenhaus Schaden=4 cmdHeilen", "Willenskraft=abc",
        "natürliche Willenskraft");
    row("Biotech abc", "Krankenhaus Schaden=4 cmdHeilen", "txtBioTech=abc",
        "Biotech-Fertigkeit des Arztes");
    // Skill x 50 leaves 16 bits only at the tariff of 10 boxes or more.
    row("Biotech 999", "Schaden=12 cmdHeilen", "txtBioTech=999", "Biotech-Fertigkeit des Arztes");
    // The first press empties the essence field; the box stays ticked.
    row("Essenz leer", "Krankenhaus undokCyb Schaden=4 cmdHeilen", "", "Essenz");
    row("Bio-Index 1e30", "Krankenhaus undokBio Schaden=4 cmdHeilen", "BioIndex=1e30", "Bio-Index");
    // clang-format on
}

void TestForm1Heilen::badInputChangesNothing() {
    QFETCH(QString, before);
    QFETCH(QString, bad);
    QFETCH(QString, caption);
    act(before);
    QCOMPARE(boxes.take(), QStringList());
    QVERIFY(!list("lstErgebnis").isEmpty());
    act(bad);
    const QStringList shot = snapshot();

    act("cmdHeilen");
    const QStringList shown = boxes.take();
    QCOMPARE(shown.size(), 1);
    QVERIFY2(shown.first().contains(u'„' + caption + u'“'), qPrintable(shown.first()));
    QCOMPARE(snapshot(), shot);
}

void TestForm1Heilen::resetStartsTotalsAgain() {
    // With no success the presses are alike, so only the totals tell them apart.
    act("Krankenhaus Schaden=4 cmdHeilen");
    const QString gesamt = text("lblGesamtzeit");
    const QString kosten = text("lblKosten");
    QCOMPARE(gesamt, text("lblHeilungsdauer"));
    QVERIFY(kosten.endsWith(u" Nuyen"));

    act("Schaden=4 cmdHeilen");
    QVERIFY(text("lblGesamtzeit") != gesamt);
    QVERIFY(text("lblKosten") != kosten);

    act("cmdReset");
    QCOMPARE(text("lblGesamtzeit"), QString());
    QCOMPARE(text("lblKosten"), QString());
    act("Schaden=4 cmdHeilen");
    QCOMPARE(text("lblGesamtzeit"), gesamt);
    QCOMPARE(text("lblKosten"), kosten);
}

SANIVEX_WINDOW_TEST_MAIN(TestForm1Heilen)
#include "tst_form1_heilen.moc"
