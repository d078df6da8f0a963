// What the windows hand to the rules and what their keys do. Each control set by a user must
// reach the one input of the rule it belongs to (main window -> HealingInput, the searches ->
// their search inputs), the drop-down lists hold their entries in order, and every window
// answers F2, F3, Escape and Enter as the main window and the others should.

#include "Driver.h"
#include "ScriptedDice.h"
#include "windows/Form1.h"
#include "windows/NormalVersorgung.h"
#include "windows/NotfallVersorgung.h"

#include <QtTest>
#include <QtWidgets>

namespace {

using Fields = QList<std::pair<QString, QString>>;

QString yes(bool b) {
    return b ? "1" : "0";
}
template <class T> QString name(const std::optional<T>& v, const QStringList& names) {
    return v ? names.value(int(*v)) : QString();
}

Fields fields(const healing::HealingInput& i) {
    const QStringList care{"daheim", "Krankenhaus", "schlechteUmst", "furchtbareUmst"};
    return {{"Schaden", i.Schaden},
            {"txtKonstitution", i.txtKonstitution},
            {"Willenskraft", i.Willenskraft},
            {"BioIndex", i.BioIndex},
            {"EssenzDok", i.EssenzDok},
            {"txtBioTech", i.txtBioTech},
            {"care", care.value(int(i.care))},
            {"dokBio", yes(i.dokBio)},
            {"undokBio", yes(i.undokBio)},
            {"dokCyb", yes(i.dokCyb)},
            {"undokCyb", yes(i.undokCyb)},
            {"magischeBetreuung", yes(i.magischeBetreuung)},
            {"Erwachter", yes(i.Erwachter)},
            {"Kommunikation", yes(i.Kommunikation)}};
}

Fields fields(const care::NormalSearchInput& i) {
    return {{"provider", name(i.provider, {"Konzern", "Privat", "Illegal", "Oeffentlich", "Klinik",
                                           "Krankenhaus"})},
            {"connection", name(i.connection, {"Schieber", "Strassendoc"})},
            {"art", i.art},
            {"kategorie", i.kategorie},
            {"legalitaet", i.legalitaet},
            {"gebraeuche", i.gebraeuche}};
}

Fields fields(const care::EmergencySearchInput& i) {
    return {{"service", name(i.service, {"Sanivex", "Rapidmed", "Privat", "Illegal"})},
            {"team", name(i.team, {"HTR", "Kriseneinsatz"})},
            {"kontrakt", i.kontrakt},
            {"gegend", i.gegend},
            {"sinlos", yes(i.sinlos)},
            {"arrest", yes(i.arrest)}};
}

// The fields that differ from `base`, as "name=value".
QString differences(const Fields& now, const Fields& base) {
    QStringList out;
    for (qsizetype k = 0; k < now.size(); ++k)
        if (now[k].second != base[k].second)
            out << now[k].first + '=' + now[k].second;
    return out.join(' ');
}

// The clicks that open each window from the main window.
const QMap<QString, QStringList> opening{
    {"Form1", {}},
    {"Auswahl", {"Krankenhaus", "cmdSuchDoc"}},
    {"NormalVersorgung", {"Krankenhaus", "cmdSuchDoc", "cmdNormalfall"}},
    {"NotfallVersorgung", {"Krankenhaus", "cmdSuchDoc", "cmdNotfall"}},
    {"SanivexInfo", {"cmdSanivexInfo"}},
    {"Prognose", {"cmdPrognose"}},
    {"Verlauf", {"cmdVerlauf"}}};

} // namespace

class tst_Wiring : public QObject {
    Q_OBJECT

    std::unique_ptr<Driver> d;

    // Opens `window`, then clicks each name, or types "text" into "name=text".
    void start(const QString& window, const QStringList& actions) {
        d = std::make_unique<Driver>(scriptedDice(QList<int>(100, 1)));
        for (const QString& a : opening[window] + actions) {
            if (a.contains('='))
                d->type(a.section('=', 0, 0), a.section('=', 1));
            else
                d->click(a);
        }
    }

  private slots:
    void cleanup() {
        d.reset();
        QCOMPARE(Driver::windows(), QStringList());
    }

    // One row per control: how it is set, and what the rule's input then holds beyond the
    // window's start. A lifestyle shows in the press it was chosen for.
    void inputs_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QStringList>("actions");
        QTest::addColumn<QString>("input");
        const auto row = [](const char* window, QStringList actions, const char* input) {
            QTest::addRow("%s %s", window, qPrintable(actions.join(' ')))
                << window << actions << QString::fromUtf8(input);
        };
        // clang-format off
        row("Form1", {"Schaden=7"}, "Schaden=7");
        row("Form1", {"txtKonstitution=5"}, "txtKonstitution=5");
        row("Form1", {"dokBio", "BioIndex=2"}, "BioIndex=2 dokBio=1");
        row("Form1", {"schlechteUmst"}, "care=schlechteUmst");
        row("Form1", {"furchtbareUmst"}, "care=furchtbareUmst");
        row("Form1", {"Krankenhaus", "Willenskraft=6"}, "Willenskraft=6 care=Krankenhaus");
        row("Form1", {"Krankenhaus", "txtBioTech=5"}, "txtBioTech=5 care=Krankenhaus");
        row("Form1", {"Krankenhaus", "dokCyb", "EssenzDok=4"}, "EssenzDok=4 care=Krankenhaus dokCyb=1");
        row("Form1", {"Krankenhaus", "undokBio"}, "care=Krankenhaus undokBio=1");
        row("Form1", {"Krankenhaus", "undokCyb"}, "care=Krankenhaus undokCyb=1");
        row("Form1", {"Krankenhaus", "magischeBetreuung"}, "care=Krankenhaus magischeBetreuung=1");
        row("Form1", {"Krankenhaus", "Erwachter"}, "care=Krankenhaus Erwachter=1");
        row("Form1", {"Krankenhaus", "Kommunikation"}, "care=Krankenhaus Kommunikation=1");
        row("Form1", {"Krankenhaus", "daheim"}, "");
        row("Form1", {"Strasse", "Luxus", "Strasse"}, "Lebensstil schlechter als benötigt: +4");
        row("Form1", {"Squatter"}, "Lebensstil schlechter als benötigt: +2");
        row("Form1", {"Unterschicht"}, "Lebensstil ausreichend");
        row("Form1", {"Mittelschicht"}, "Lebensstil besser als benötigt: -1");
        row("Form1", {"Oberschicht"}, "Lebensstil besser als benötigt: -2");
        row("Form1", {"Luxus"}, "Lebensstil besser als benötigt: -2");
        row("NormalVersorgung", {"optKonzern"}, "provider=Konzern");
        row("NormalVersorgung", {"optPrivat"}, "provider=Privat");
        row("NormalVersorgung", {"optIllegal"}, "provider=Illegal");
        row("NormalVersorgung", {"optoeffentlich"}, "provider=Oeffentlich");
        row("NormalVersorgung", {"optKlinik"}, "provider=Klinik");
        row("NormalVersorgung", {"optKrankenhaus"}, "provider=Krankenhaus");
        row("NormalVersorgung", {"optSchieber"}, "connection=Schieber");
        row("NormalVersorgung", {"optStrassendoc"}, "connection=Strassendoc");
        row("NormalVersorgung", {"cmbArt=Trauma"}, "art=Trauma");
        row("NormalVersorgung", {"cmbKategorie=Nanoware"}, "kategorie=Nanoware");
        row("NormalVersorgung", {"cmbLegalität=Legal"}, "legalitaet=Legal");
        row("NormalVersorgung", {"txtGebräuche=5"}, "gebraeuche=5");
        row("NotfallVersorgung", {}, "service=Illegal");
        row("NotfallVersorgung", {"optSanivex"}, "service=Sanivex");
        row("NotfallVersorgung", {"optRapidmed"}, "service=Rapidmed");
        row("NotfallVersorgung", {"optPrivat"}, "service=Privat");
        row("NotfallVersorgung", {"optHTR"}, "service=Illegal team=HTR");
        row("NotfallVersorgung", {"optKriseneinsatz"}, "service=Illegal team=Kriseneinsatz");
        row("NotfallVersorgung", {"cmbKontrakt=Gold"}, "service=Illegal kontrakt=Gold");
        row("NotfallVersorgung", {"cmbGegend=C oder D"}, "service=Illegal gegend=C oder D");
        row("NotfallVersorgung", {"chkSIN"}, "service=Illegal sinlos=1");
        row("NotfallVersorgung", {"chkArrest"}, "service=Illegal arrest=1");
        // clang-format on
    }
    void inputs() {
        QFETCH(QString, window);
        QFETCH(QStringList, actions);
        QFETCH(QString, input);
        start(window, actions);
        auto& p = d->program();
        QString got;
        if (window == "Form1" && input.startsWith("Lebensstil")) {
            d->type("Schaden", "2"); // needs Unterschicht, level 2
            d->click("cmdHeilen");
            got = d->text("Meldungen").section('|', 2, 2);
        } else if (window == "Form1") {
            got = differences(fields(p.form1.window()->input()), fields(healing::HealingInput{}));
        } else if (window == "NormalVersorgung") {
            got = differences(fields(p.normalVersorgung.window()->input()),
                              fields(care::NormalSearchInput{.gebraeuche = "1"}));
        } else {
            got = differences(fields(p.notfallVersorgung.window()->input()),
                              fields(care::EmergencySearchInput{}));
        }
        QCOMPARE(got, input);
    }

    // The drop-down lists hold their entries in the order the rules give them.
    void lists() {
        start("NormalVersorgung", {"Form1.cmdSuchDoc", "cmdNotfall"});
        const auto entries = [this](const QString& list) {
            auto* box = static_cast<QComboBox*>(d->find(list));
            QStringList texts;
            for (int i = 0; i < box->count(); ++i)
                texts << box->itemText(i);
            return list + ": " + texts.join('|');
        };
        // clang-format off
        QCOMPARE(entries("cmbArt"), "cmbArt: Kosmetisch|Implantat|Therapeutisch|Transimplantat|"
                                    "Trauma|Nanochirugie");
        QCOMPARE(entries("cmbKategorie"), "cmbKategorie: Standardcyberware|Alphaware|Betaware|"
                 "Deltaware|Standardbioware|Kosmetische Bioware|Kultivierte Bioware|Nanoware");
        QCOMPARE(entries("cmbLegalität"), QString::fromUtf8("cmbLegalität: Legal|Paralegal/Klasse A|"
                 "Sicherheit/Klasse B|Militärisch/Klasse C"));
        QCOMPARE(entries("cmbKontrakt"), "cmbKontrakt: Keiner|Super-Platin|Platin|Gold|Basis");
        QCOMPARE(entries("cmbGegend"), "cmbGegend: AAA oder AA|A oder B|C oder D|E oder Z");
        // clang-format on
    }

    // One row per key where it is pressed: the windows open afterwards and the damage boxes.
    void keys_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("where");
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<QString>("effect");
        const auto row = [](const char* window, const char* where, QList<int> keys,
                            const char* effect) {
            QTest::addRow("%s %s %d", window, where, keys.first())
                << window << where << keys << effect;
        };
        const int keypadEnter = Qt::Key_Enter | Qt::KeypadModifier;
        // clang-format off
        row("Form1", "Schaden", {keypadEnter}, "Form1 3");
        row("Form1", "txtKonstitution", {keypadEnter}, "Form1 3");
        row("Form1", "Schaden", {Qt::Key_Return}, "Form1 3");
        row("Form1", "Schaden", {Qt::Key_Escape, Qt::Key_F2, Qt::Key_F3}, "Form1 Prognose Verlauf 4");
        row("Auswahl", "Auswahl.", {Qt::Key_F2, Qt::Key_F3}, "Auswahl Form1 Prognose Verlauf 4");
        row("NormalVersorgung", "NormalVersorgung.", {Qt::Key_F2, Qt::Key_F3},
            "Form1 NormalVersorgung Prognose Verlauf 4");
        row("NotfallVersorgung", "NotfallVersorgung.", {Qt::Key_F2, Qt::Key_F3},
            "Form1 NotfallVersorgung Prognose Verlauf 4");
        row("SanivexInfo", "SanivexInfo.", {Qt::Key_F2, Qt::Key_F3},
            "Form1 Prognose SanivexInfo Verlauf 4");
        row("Prognose", "Prognose.", {Qt::Key_F3}, "Form1 Prognose Verlauf 4");
        row("Verlauf", "Verlauf.", {Qt::Key_F2}, "Form1 Prognose Verlauf 4");
        row("Prognose", "Prognose.", {Qt::Key_Escape}, "Form1 4");
        row("Verlauf", "Verlauf.", {Qt::Key_Escape}, "Form1 4");
        // clang-format on
    }
    void keys() {
        QFETCH(QString, window);
        QFETCH(QString, where);
        QFETCH(QList<int>, keys);
        QFETCH(QString, effect);
        start(window, {});
        d->type("Schaden", "4");
        QWidget* w = d->find(where);
        w->activateWindow();
        w->setFocus();
        for (int key : keys)
            QTest::keyClick(w->focusWidget() ? w->focusWidget() : w,
                            Qt::Key(key & ~Qt::KeyboardModifierMask),
                            Qt::KeyboardModifiers(key & Qt::KeyboardModifierMask));
        QCOMPARE(Driver::windows().join(' ') + ' ' + d->text("Schaden"), effect);
        d->messages();
    }

    // Reset blanks the running cost in the open forecast too.
    void resetReachesForecast() {
        start("Prognose", {"Krankenhaus", "Schaden=4", "cmdHeilen"});
        QTRY_VERIFY(d->text("lblBisZurHeilung").contains(QRegularExpression("bisherigen [1-9]")));
        d->click("cmdReset");
        QTRY_VERIFY(d->text("lblBisZurHeilung").contains("bisherigen 0 "));
    }
};

SANIVEX_WINDOW_TEST_MAIN(tst_Wiring)
#include "tst_wiring.moc"
