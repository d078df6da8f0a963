// What the windows hand to the rules and what their keys do: each control a user sets must
// reach the one input of the rule it belongs to (main window -> HealingInput, the searches ->
// their search inputs), the drop-down lists hold their entries in order, and every window
// answers Enter, Escape, F2 and F3.

#include "Driver.h"
#include "ScriptedDice.h"
#include "windows/Form1.h"
#include "windows/NormalVersorgung.h"
#include "windows/NotfallVersorgung.h"

#include <QtTest>
#include <QtWidgets>

namespace {

// Every field of a rule's input as "name=value", in a fixed order.
QString b(bool v) {
    return v ? "1" : "0";
}
template <class T> QString name(const std::optional<T>& v, const QStringList& names) {
    return v ? names.value(int(*v)) : QString();
}
// clang-format off
QStringList fields(const healing::HealingInput& i) {
    const QStringList care{"daheim", "Krankenhaus", "schlechteUmst", "furchtbareUmst"};
    return {"Schaden=" + i.Schaden, "txtKonstitution=" + i.txtKonstitution,
            "Willenskraft=" + i.Willenskraft, "BioIndex=" + i.BioIndex, "EssenzDok=" + i.EssenzDok,
            "txtBioTech=" + i.txtBioTech, "care=" + care.value(int(i.care)), "dokBio=" + b(i.dokBio),
            "undokBio=" + b(i.undokBio), "dokCyb=" + b(i.dokCyb), "undokCyb=" + b(i.undokCyb),
            "magischeBetreuung=" + b(i.magischeBetreuung), "Erwachter=" + b(i.Erwachter),
            "Kommunikation=" + b(i.Kommunikation)};
}
QStringList fields(const care::NormalSearchInput& i) {
    return {"provider=" + name(i.provider, {"Konzern", "Privat", "Illegal", "Oeffentlich", "Klinik",
            "Krankenhaus"}), "connection=" + name(i.connection, {"Schieber", "Strassendoc"}),
            "art=" + i.art, "kategorie=" + i.kategorie, "legalitaet=" + i.legalitaet,
            "gebraeuche=" + i.gebraeuche};
}
QStringList fields(const care::EmergencySearchInput& i) {
    return {"service=" + name(i.service, {"Sanivex", "Rapidmed", "Privat", "Illegal"}),
            "team=" + name(i.team, {"HTR", "Kriseneinsatz"}), "kontrakt=" + i.kontrakt,
            "gegend=" + i.gegend, "sinlos=" + b(i.sinlos), "arrest=" + b(i.arrest)};
}
// The clicks that open each window from the main window.
const QMap<QString, QStringList> opening{{"Krankenhaus", {"Krankenhaus"}},
    {"Auswahl", {"Krankenhaus", "cmdSuchDoc"}},
    {"NormalVersorgung", {"Krankenhaus", "cmdSuchDoc", "cmdNormalfall"}},
    {"NotfallVersorgung", {"Krankenhaus", "cmdSuchDoc", "cmdNotfall"}},
    {"SanivexInfo", {"cmdSanivexInfo"}}, {"Prognose", {"cmdPrognose"}}, {"Verlauf", {"cmdVerlauf"}}};
// clang-format on

// The fields that differ from the rule's own defaults (for the normal search: one die).
template <class Input> QString changed(const Input& now, const Input& base = {}) {
    QStringList out;
    for (qsizetype k = 0; k < fields(now).size(); ++k)
        if (fields(now)[k] != fields(base)[k])
            out << fields(now)[k];
    return out.join(' ');
}

} // namespace

class tst_Wiring : public QObject {
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
    QStringList m_usable;

    // Opens `window`, then clicks each name, or types "text" into "name=text".
    void start(const QString& window, const QStringList& actions) {
        d = std::make_unique<Driver>(scriptedDice(QList<int>(100, 1)));
        for (const QString& a : opening.value(window))
            d->click(a);
        m_usable = usable();
        for (const QString& a : actions)
            a.contains('=') ? d->type(a.section('=', 0, 0), a.section('=', 1)) : d->click(a);
    }

  private slots:
    void cleanup() {
        d.reset();
        QCOMPARE(Driver::windows(), QStringList());
    }

    // One row per control: how it is set, and what the rule's input then holds beyond the
    // rule's defaults; for the main window, after "|", which lockable controls the actions
    // unlocked (+) or locked (-) since the window (in "Krankenhaus": hospital care) opened. A
    // lifestyle shows in the line of the press it was chosen for.
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
        row(f, {"Schaden=7"}, "Schaden=7 |"); row(f, {"txtKonstitution=5"}, "txtKonstitution=5 |");
        row(f, {"dokBio", "BioIndex=2"}, "BioIndex=2 dokBio=1 | +BioIndexFrame +BioIndex");
        row(f, {"Krankenhaus"}, "care=Krankenhaus | +magischeBetreuung +Erwachter +undokBio "
            "+undokCyb +dokCyb +Kommunikation +WillenFrame -LebensstilFrame +frmBioTech");
        row(f, {"Krankenhaus", "magischeBetreuung", "Erwachter", "undokBio", "undokCyb", "Kommunikation",
            "Willenskraft=7", "txtBioTech=5", "schlechteUmst"},
            "care=schlechteUmst magischeBetreuung=1 Erwachter=1 | +BioIndexFrame +BioIndex");
        // "zu Hause" takes the bio-index away, unless documented bioware counts.
        row(f, {"Krankenhaus", "undokBio", "daheim"}, "|");
        row(f, {"dokBio", "Krankenhaus", "dokCyb", "daheim"}, "dokBio=1 | +BioIndexFrame +BioIndex");
        row(f, {"Krankenhaus", "dokCyb", "furchtbareUmst"}, "care=furchtbareUmst |");
        row(h, {"Willenskraft=6"}, "Willenskraft=6 care=Krankenhaus |");
        row(h, {"txtBioTech=5"}, "txtBioTech=5 care=Krankenhaus |");
        row(h, {"dokCyb", "EssenzDok=4"}, "EssenzDok=4 care=Krankenhaus dokCyb=1 | +dokCybFrame");
        row(h, {"dokCyb", "undokCyb"}, "care=Krankenhaus undokCyb=1 | +dokCybFrame");
        row(h, {"undokCyb", "dokCyb"}, "care=Krankenhaus dokCyb=1 | +dokCybFrame");
        row(h, {"dokBio", "undokBio"}, "care=Krankenhaus undokBio=1 | +BioIndexFrame +BioIndex");
        row(h, {"undokBio", "dokBio"}, "care=Krankenhaus dokBio=1 | +BioIndexFrame +BioIndex");
        row(h, {"magischeBetreuung"}, "care=Krankenhaus magischeBetreuung=1 |");
        row(h, {"Erwachter"}, "care=Krankenhaus Erwachter=1 |");
        row(h, {"Kommunikation"}, "care=Krankenhaus Kommunikation=1 |");
        // What a press changes in them: forced hospital care, the essence used up.
        row(f, {"Schaden=10", "cmdHeilen"}, "Schaden=9 care=Krankenhaus | +magischeBetreuung "
            "+Erwachter +undokBio +undokCyb +dokCyb +Kommunikation +WillenFrame -LebensstilFrame +frmBioTech");
        row(h, {"undokCyb", "EssenzDok=4", "Schaden=2", "cmdHeilen"},
            "Schaden=1 EssenzDok= care=Krankenhaus undokCyb=1 | +dokCybFrame");
        row(f, {"Strasse", "Luxus", "Strasse"}, "Lebensstil schlechter als benötigt: +4");
        row(f, {"Squatter"}, "Lebensstil schlechter als benötigt: +2");
        row(f, {"Unterschicht"}, "Lebensstil ausreichend");
        row(f, {"Mittelschicht"}, "Lebensstil besser als benötigt: -1");
        row(f, {"Oberschicht"}, "Lebensstil besser als benötigt: -2");
        row(f, {"Luxus"}, "Lebensstil besser als benötigt: -2");
        row(n, {"optKonzern"}, "provider=Konzern"); row(n, {"optPrivat"}, "provider=Privat");
        row(n, {"optIllegal"}, "provider=Illegal"); row(n, {"optoeffentlich"}, "provider=Oeffentlich");
        row(n, {"optKlinik"}, "provider=Klinik"); row(n, {"optKrankenhaus"}, "provider=Krankenhaus");
        row(n, {"optSchieber"}, "connection=Schieber"); row(n, {"optStrassendoc"}, "connection=Strassendoc");
        row(n, {"cmbArt=Trauma"}, "art=Trauma"); row(n, {"cmbKategorie=Nanoware"}, "kategorie=Nanoware");
        row(n, {"cmbLegalität=Legal"}, "legalitaet=Legal"); row(n, {"txtGebräuche=5"}, "gebraeuche=5");
        row(e, {}, "service=Illegal"); row(e, {"optSanivex"}, "service=Sanivex");
        row(e, {"optRapidmed"}, "service=Rapidmed"); row(e, {"optPrivat"}, "service=Privat");
        row(e, {"optHTR"}, "service=Illegal team=HTR");
        row(e, {"optKriseneinsatz"}, "service=Illegal team=Kriseneinsatz");
        row(e, {"cmbKontrakt=Gold"}, "service=Illegal kontrakt=Gold");
        row(e, {"cmbGegend=C oder D"}, "service=Illegal gegend=C oder D");
        row(e, {"chkSIN"}, "service=Illegal sinlos=1"); row(e, {"chkArrest"}, "service=Illegal arrest=1");
        // clang-format on
    }
    void inputs() {
        QFETCH(QString, window);
        QFETCH(QStringList, actions);
        QFETCH(QString, input);
        start(window, actions);
        auto& p = d->program();
        QString got;
        if (input.startsWith("Lebensstil")) {
            d->type("Schaden", "2"); // needs Unterschicht, level 2
            d->click("cmdHeilen");
            got = d->text("Meldungen").section('|', 2, 2);
        } else if (window == "Form1" || window == "Krankenhaus") {
            got = changed(p.form1.window()->input()) + " |";
            for (qsizetype k = 0; k < m_usable.size(); ++k)
                if (usable()[k] != m_usable[k])
                    got += ' ' + usable()[k];
            got = got.trimmed();
        } else if (window == "NormalVersorgung") {
            got = changed(p.normalVersorgung.window()->input(), {.gebraeuche = "1"});
        } else {
            got = changed(p.notfallVersorgung.window()->input());
        }
        QCOMPARE(got, input);
    }

    // The drop-down lists hold their entries in the order the rules give them.
    void lists() {
        start("NormalVersorgung", {"Form1.cmdSuchDoc", "cmdNotfall"});
        QStringList lists;
        for (const char* list :
             {"cmbArt", "cmbKategorie", "cmbLegalität", "cmbKontrakt", "cmbGegend"}) {
            auto* box = static_cast<QComboBox*>(d->find(list));
            for (int i = 0; i < box->count(); ++i)
                lists << box->itemText(i);
        }
        // clang-format off
        QCOMPARE(lists.join('|'), QString::fromUtf8("Kosmetisch|Implantat|Therapeutisch|Transimplantat|"
            "Trauma|Nanochirugie|Standardcyberware|Alphaware|Betaware|Deltaware|Standardbioware|"
            "Kosmetische Bioware|Kultivierte Bioware|Nanoware|Legal|Paralegal/Klasse A|"
            "Sicherheit/Klasse B|Militärisch/Klasse C|Keiner|Super-Platin|Platin|Gold|Basis|"
            "AAA oder AA|A oder B|C oder D|E oder Z"));
        // clang-format on
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
        const QList<int> f2f3{Qt::Key_F2, Qt::Key_F3};
        // clang-format off
        row("Form1.Schaden", {keypadEnter}, "Form1 3"); row("Form1.Schaden", {Qt::Key_Return}, "Form1 3");
        row("Form1.txtKonstitution", {keypadEnter}, "Form1 3");
        row("Form1.Schaden", {Qt::Key_Escape, Qt::Key_F2, Qt::Key_F3}, "Form1 Prognose Verlauf 4");
        row("Auswahl.", f2f3, "Auswahl Form1 Prognose Verlauf 4");
        row("NormalVersorgung.", f2f3, "Form1 NormalVersorgung Prognose Verlauf 4");
        row("NotfallVersorgung.", f2f3, "Form1 NotfallVersorgung Prognose Verlauf 4");
        row("SanivexInfo.", f2f3, "Form1 Prognose SanivexInfo Verlauf 4");
        row("Prognose.", {Qt::Key_F3}, "Form1 Prognose Verlauf 4");
        row("Verlauf.", {Qt::Key_F2}, "Form1 Prognose Verlauf 4");
        row("Prognose.", {Qt::Key_Escape}, "Form1 4"); row("Verlauf.", {Qt::Key_Escape}, "Form1 4");
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
        QTest::newRow("cost at home") << QStringList{"Schaden=4"} << "lblNaechsterWurf" << "!Kosten";
        QTest::newRow("cost in hospital") << QStringList{"Krankenhaus", "Schaden=4"}
            << "lblNaechsterWurf" << "erwartete Kosten dieses";
        QTest::newRow("one box") << QStringList{"Schaden=1"} << "lblBisZurHeilung" << "!Nichts zu";
        QTest::newRow("no box") << QStringList{"Schaden=0"} << "lblBisZurHeilung" << "Nichts zu";
        QTest::newRow("after a press") << pressed << "lblBisZurHeilung" << QStringLiteral("!bisherigen 0\u00a0");
        QTest::newRow("reset") << pressed + QStringList{"cmdReset"} << "lblBisZurHeilung"
            << QStringLiteral("bisherigen 0\u00a0Nuyen");
        // clang-format on
    }
    void forecast() {
        QFETCH(QStringList, actions);
        QFETCH(QString, label);
        QFETCH(QString, holds);
        start("Prognose", actions);
        QTest::qWait(1);
        QCOMPARE(d->text(label).contains(holds.mid(holds.startsWith('!'))), !holds.startsWith('!'));
    }
};

SANIVEX_WINDOW_TEST_MAIN(tst_Wiring)
#include "tst_wiring.moc"
