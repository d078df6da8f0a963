// The healing press as a whole: worked examples with scripted dice, hospital care, running
// totals, and the refusals that must leave the state untouched and roll no die too early.

#include "LocaleGuard.h"
#include "ScriptedDice.h"
#include "healing/Heilen.h"

#include <QtTest>

using namespace healing;
using Art = HeilenErgebnis::Art;

namespace {

struct Druck {
    HeilenEingabe ein;
    Form1State zustand;
};

// A press written as "Schaden=4 Krankenhaus undokCyb EssenzDok=3 Lebensstilstufe=3": fields
// and state by name with a value, options and check boxes by their bare name.
Druck druck(const QString& beschreibung) {
    Druck d;
    HeilenEingabe& e = d.ein;
    // clang-format off
    const QHash<QString, QString*> texte{
        {"Schaden", &e.Schaden}, {"txtKonstitution", &e.txtKonstitution},
        {"Willenskraft", &e.Willenskraft}, {"BioIndex", &e.BioIndex},
        {"EssenzDok", &e.EssenzDok}, {"txtBioTech", &e.txtBioTech}};
    const QHash<QString, bool*> haken{
        {"dokBio", &e.dokBio}, {"undokBio", &e.undokBio}, {"dokCyb", &e.dokCyb},
        {"undokCyb", &e.undokCyb}, {"magischeBetreuung", &e.magischeBetreuung},
        {"Erwachter", &e.Erwachter}, {"Kommunikation", &e.Kommunikation}};
    const QHash<QString, Pflege> pflege{{"Krankenhaus", Pflege::Krankenhaus},
        {"schlechteUmst", Pflege::schlechteUmst}, {"furchtbareUmst", Pflege::furchtbareUmst}};
    // clang-format on
    for (const QString& teil : beschreibung.split(u' ', Qt::SkipEmptyParts)) {
        const QString name = teil.section(u'=', 0, 0), wert = teil.section(u'=', 1);
        if (texte.contains(name))
            *texte[name] = wert;
        else if (haken.contains(name))
            *haken[name] = true;
        else if (pflege.contains(name))
            e.pflege = pflege[name];
        else if (name == u"Lebensstilstufe")
            d.zustand.Lebensstilstufe = Int16(wert.toInt());
        else if (name == u"Kosten")
            d.zustand.Kosten = numbers::Amount::fromTicks(wert.toLongLong());
        else
            qFatal("unknown part of a press: %s", qPrintable(teil));
    }
    return d;
}

HeilenErgebnis heile(const Druck& d, QList<int> wuerfel, ScriptedSource** quelle = nullptr) {
    return healing::heile(d.ein, d.zustand, *scriptedDice(std::move(wuerfel), quelle));
}

// The outputs after the modifiers, as the user reads them from left to right.
QString ablauf(const HeilenErgebnis& e) {
    return QStringList{e.Modifk,     e.lblGrundzeitraum, e.lstErgebnis.join(u' '),
                       e.lblErfolge, e.lblHeilungsdauer, e.Schaden}
        .join(u" | ");
}

// What a press changes on its way; a refused press must hand back none of it changed.
auto spur(const Form1State& s) {
    return std::tuple(s.Schadenskaestchen, s.Schadensniveau, s.Mindestwurf, s.BioMod,
                      s.Grundzeitraum, s.Heilungsdauer, s.Gesamtzeit, s.Kosten.ticks());
}

} // namespace

class TstHeilen : public QObject {
    Q_OBJECT

    LocaleGuard m_locale{QLocale::c()}; // point as decimal separator unless a row says otherwise

  private slots:

    void zuHause_data() {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QList<int>>("faces");
        QTest::addColumn<QStringList>("meldungen");
        QTest::addColumn<QString>("ablauf");
        const QString g = "Grundmindestwurf: %1", v = "Verletzungsmod.: %1";
        QTest::newRow("Mittel, ein Erfolg")
            << "Schaden=4" << QList{6, 6, 1, 3, 2}
            << QStringList{g.arg(4), v.arg(2), "Lebensstil schlechter als benötigt: +6"}
            << "12 | 288 hrs = 12 Tage | 13 3 2 | 1 | 288 hrs = 12 Tage | 3";
        QTest::newRow("Leicht, zwei Erfolge")
            << "Schaden=2 Lebensstilstufe=3" << QList{2, 1, 6, 3}
            << QStringList{g.arg(2), v.arg(1), "Lebensstil besser als benötigt: -1"}
            << "2 | 48 hrs = 2 Tage | 2 1 9 | 2 | 24 hrs = 1 Tage | 1";
        // Raised to 2 for the dice; the base period is that of 0, raised to 2 hours.
        QTest::newRow("letztes Kästchen")
            << "Schaden=1 Lebensstilstufe=4" << QList{1, 2, 4}
            << QStringList{g.arg(1), v.arg(1), "Lebensstil besser als benötigt: -2"}
            << "2  (0) | 2 hrs = 0.08333334 Tage | 1 2 4 | 2 | 1 hrs = 0.04166667 Tage | 0";
        QTest::newRow("Mindestwurf 1")
            << "Schaden=2 Lebensstilstufe=4" << QList{1, 1, 1}
            << QStringList{g.arg(2), v.arg(1), "Lebensstil besser als benötigt: -2"}
            << "2  (1) | 24 hrs = 1 Tage | 1 1 1 | 0 | 48 hrs = 2 Tage | 1";
        QTest::newRow("negative Kästchen")
            << "Schaden=-3" << QList{1, 1, 1}
            << QStringList{g.arg(-3), v.arg(1), "Lebensstil schlechter als benötigt: +4"}
            << "2 | 48 hrs = 2 Tage | 1 1 1 | 0 | 96 hrs = 4 Tage | -4";
        QTest::newRow("schlechte Umstände")
            << "Schaden=4 Lebensstilstufe=3 schlechteUmst" << QList{6, 1, 2, 3}
            << QStringList{g.arg(4), v.arg(2), "Lebensstil ausreichend", "Schlechte Umstände: +1"}
            << "7 | 168 hrs = 7 Tage | 7 2 3 | 1 | 168 hrs = 7 Tage | 3";
        QTest::newRow("furchtbare Umstände, keine Würfel")
            << "Schaden=4 Lebensstilstufe=3 furchtbareUmst txtKonstitution=0" << QList<int>{}
            << QStringList{g.arg(4), v.arg(2), "Lebensstil ausreichend", "Furchtbare Umstände: +3"}
            << "9 | 216 hrs = 9 Tage |  | 0 | 432 hrs = 18 Tage | 3";
        // Both bioware boxes at home: the documented line, divisor 2, undokBio unchecked.
        QTest::newRow("beide Bioware-Boxen")
            << "Schaden=4 Lebensstilstufe=3 dokBio undokBio BioIndex=4" << QList{1, 1, 1}
            << QStringList{g.arg(4), v.arg(2), "Patient hat Bioware: +2", "Lebensstil ausreichend"}
            << "8 | 192 hrs = 8 Tage | 1 1 1 | 0 | 384 hrs = 16 Tage | 3";
    }
    void zuHause() {
        QFETCH(QString, setup);
        QFETCH(QList<int>, faces);
        const Druck d = druck(setup);
        const HeilenErgebnis e = heile(d, faces);
        QCOMPARE(e.art, Art::Durchgefuehrt);
        QTEST(e.Meldungen, "meldungen");
        QTEST(ablauf(e), "ablauf");
        QCOMPARE(e.niveaulabel, "Schadensniveau ist " + e.zustand.Schadensniveau);
        QCOMPARE(e.Stillabel, "Benötigter Lebensstil " + e.zustand.Mindestlebensstil);
        QCOMPARE(QString::number(e.zustand.Mindestwurf), e.Modifk.section(u' ', 0, 0));
        QCOMPARE(QString::number(e.zustand.Schadenskaestchen), e.Schaden);
        QCOMPARE(e.lblGesamtzeit, e.lblHeilungsdauer); // the first press since start
        QVERIFY(!e.lblKosten);
        QCOMPARE(e.zustand.Kosten, numbers::Amount{});
        QCOMPARE(e.geheilt, e.zustand.Schadenskaestchen < 1);
        QCOMPARE(e.meldung, e.geheilt ? QStringLiteral("Sie sind geheilt!") : QString());
        Steueraenderungen erwartet;
        erwartet.uncheckUndokBio = d.ein.dokBio;
        QCOMPARE(e.steuerung, erwartet);
    }

    void zehnKaestchenGehenInsKrankenhaus() {
        const HeilenErgebnis e = heile(druck("Schaden=10"), {6, 4, 3, 2});
        QCOMPARE(
            e.Meldungen,
            (QStringList{"Grundmindestwurf: 10", "Verletzungsmod.: 4", "Sie sind im Krankenhaus!",
                         "Essenzmodifikator: +0", "Konstitutionsmodifikator: 0",
                         "Willenskraftmodifikator: 0", "Biotech Fertigkeit des Arztes: -5"}));
        QVERIFY(e.steuerung.selectKrankenhaus);
        QCOMPARE(ablauf(e),
                 QStringLiteral("9 | 432 hrs = 18 Tage | 10 3 2 | 1 | 432 hrs = 18 Tage | 9"));
        // Priced by the 10 boxes before the press: 18 days x 1000 + 8 x 50.
        QCOMPARE(e.lblKosten.value_or(QString()), QStringLiteral("18400 Nuyen"));
    }

    void krankenhausMitAllenModifikatoren() {
        const Druck d =
            druck("Schaden=4 Krankenhaus magischeBetreuung Erwachter undokBio dokBio "
                  "BioIndex=2.2 undokCyb dokCyb EssenzDok=3 Kommunikation txtKonstitution=7 "
                  "Willenskraft=12 txtBioTech=0 Kosten=5000");
        const HeilenErgebnis e = heile(d, {6, 6, 1, 1, 1, 1, 1, 1, 1});
        QCOMPARE(
            e.Meldungen,
            (QStringList{"Grundmindestwurf: 4", "Verletzungsmod.: 2", "Sie sind im Krankenhaus!",
                         "Langfristige magische Betreuung: -2", "Patient ist Erwachter: +2",
                         "Patient hat undokumentierte Bioware: +3", "Essenzmodifikator: +2",
                         "Patient/Arzt Kommunikation gestört: +2", "Konstitutionsmodifikator: -2",
                         "Willenskraftmodifikator: -3", "Biotech Fertigkeit des Arztes: 4"}));
        Steueraenderungen erwartet;
        erwartet.selectKrankenhaus = erwartet.enableBioIndex = erwartet.uncheckDokBio = true;
        erwartet.uncheckDokCyb = erwartet.enableDokCybFrame = erwartet.clearEssenzDok = true;
        QCOMPARE(e.steuerung, erwartet);
        QCOMPARE(
            ablauf(e),
            QStringLiteral("12 | 576 hrs = 24 Tage | 13 1 1 1 1 1 1 | 1 | 576 hrs = 24 Tage | 3"));
        // 24 days x 500, the same again for magical care, on top of 0.5 already spent.
        QCOMPARE(e.lblKosten.value_or(QString()), QStringLiteral("24000.5 Nuyen"));

        // The emptied essence field refuses the next press with undocumented cyberware.
        Druck naechster{d.ein, e.zustand};
        naechster.ein.EssenzDok = QString();
        const HeilenErgebnis f = heile(naechster, {});
        QCOMPARE(f.art, Art::Verweigert);
        QCOMPARE(f.meldung, QStringLiteral("Bitte im Feld „Essenz“ eine Zahl eingeben."));
    }

    void gesamtzeitSummiert() {
        Druck d = druck("Schaden=4 Lebensstilstufe=3 schlechteUmst");
        for (const int runde : {1, 2, 3}) {
            const HeilenErgebnis e = heile(d, {6, 1, 1, 1});
            QCOMPARE(e.zustand.Gesamtzeit, d.zustand.Gesamtzeit + e.zustand.Heilungsdauer);
            // Circumstances count only while selected at this press.
            QCOMPARE(e.zustand.Umstaende, Int16(runde == 1 ? 1 : 0));
            d = {d.ein, e.zustand};
            d.ein.Schaden = e.Schaden;
            d.ein.pflege = Pflege::daheim;
        }
        QCOMPARE(d.zustand.Gesamtzeit, 168.0f + 120.0f + 48.0f); // target numbers 7, 5 and 2
    }

    void keinSchaden() {
        Druck d = druck("Schaden=0 txtKonstitution=x txtBioTech=");
        d.zustand.Mindestwurf = 9;
        ScriptedSource* quelle = nullptr;
        const HeilenErgebnis e = heile(d, {}, &quelle);
        QCOMPARE(e.art, Art::NichtKrank);
        QCOMPARE(e.meldung, QStringLiteral("Sind Sie überhaupt krank???"));
        QCOMPARE(e.zustand.Mindestwurf, Int16(0));
        QCOMPARE(quelle->rolled(), 0);
    }

    void deutscheZahlen() {
        LocaleGuard guard{QLocale(QLocale::German, QLocale::Germany)};
        // 1 + 1, bioware 1, essence 1, constitution 4,6 -> 5: -1, doctor -2: target 1, 48 hours
        // over five successes.
        const HeilenErgebnis e =
            heile(druck("Schaden=1 Krankenhaus dokBio BioIndex=0,5 dokCyb EssenzDok=1,5 "
                        "txtKonstitution=4,6 txtBioTech=2"),
                  {2, 2, 2, 2, 2});
        QCOMPARE(ablauf(e), QStringLiteral("2  (1) | 48 hrs = 2 Tage | 2 2 2 2 2 | 5 | "
                                           "9,6 hrs = 0,4 Tage | 0"));
        QCOMPARE(e.lblKosten.value_or(QString()), QStringLiteral("200 Nuyen"));
    }

    void eingabefehler_data() {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("meldung"); // empty: the press is carried out
        QTest::addColumn<bool>("gewuerfelt");
        const QString ganz = "Bitte im Feld „%1“ eine ganze Zahl eingeben.";
        const QString zahl = "Bitte im Feld „%1“ eine Zahl eingeben.";
        const QString naeher = "%1 passt nicht in den Zahlenbereich. Bitte im Feld „%2“ eine "
                               "Zahl näher an 0 eingeben.";
        const QString gross = "%1 ist zu groß geworden. Bitte kleinere Werte eingeben.";
        const QString klein = "%1 ist zu klein geworden. Bitte größere Werte eingeben.";
        const QString mw = "Der Mindestwurf", gz = "Der Grundzeitraum";
        auto row = [](const char* name, const char* setup, const QString& meldung,
                      bool gewuerfelt) {
            QTest::newRow(name) << QString(setup) << meldung << gewuerfelt;
        };
        row("Schaden leer", "Schaden=", ganz.arg("Schadenskästchen"), false);
        row("Schaden 32768", "Schaden=32768",
            "Bitte im Feld „Schadenskästchen“ eine ganze Zahl von -32768 bis 32767 eingeben.",
            false);
        row("Konstitution -", "Schaden=4 txtKonstitution=-", ganz.arg("natürliche Konstitution"),
            false);
        row("101 Würfel", "Schaden=4 txtKonstitution=101",
            "Mehr als 100 Würfel können nicht geworfen werden. Bitte im Feld „natürliche "
            "Konstitution“ höchstens 100 eingeben.",
            false);
        row("100 Würfel", "Schaden=4 txtKonstitution=100", "", true);
        row("Willenskraft",
            "Schaden=4 Krankenhaus Willenskraft=", ganz.arg("natürliche Willenskraft"), false);
        row("Biotech zu Hause", "Schaden=4 txtBioTech=acht",
            ganz.arg("Biotech-Fertigkeit des Arztes"), false);
        row("Bio-Index dok", "Schaden=4 dokBio BioIndex=x", zahl.arg("Bio-Index"), false);
        row("Bio-Index undok", "Schaden=4 Krankenhaus undokBio BioIndex=", zahl.arg("Bio-Index"),
            false);
        row("Essenz dok", "Schaden=4 Krankenhaus dokCyb EssenzDok=,", zahl.arg("Essenz"), false);
        row("unbenutzte Felder", "Schaden=4 undokBio BioIndex=x undokCyb EssenzDok= Willenskraft=x",
            "", true);
        row("Bio-Index riesig", "Schaden=4 dokBio BioIndex=1e6",
            naeher.arg("Der Bioware-Modifikator", "Bio-Index"), false);
        row("Essenz -40000", "Schaden=4 Krankenhaus undokCyb EssenzDok=-40000",
            naeher.arg("Der Essenzmodifikator", "Essenz"), false);
        row("Mindestwurf zu groß", "Schaden=32767", gross.arg(mw), false);
        row("Mindestwurf zu klein", "Schaden=-32768 Lebensstilstufe=4", klein.arg(mw), false);
        // 4 + 2 + 6 + bioware: 1365 x 24 still fits, 1366 x 24 does not.
        row("x24 größter", "Schaden=4 dokBio BioIndex=2706", "", true);
        row("x24 zu groß", "Schaden=4 dokBio BioIndex=2708", gross.arg(gz), false);
        row("x24 zu klein", "Schaden=-32768", klein.arg(gz), false);
        // Boxes + 4 - 5: 682 x 48 still fits, 683 x 48 does not.
        row("x48 größter", "Schaden=683", "", true);
        row("x48 zu groß", "Schaden=684", gross.arg(gz), false);
        row("Fertigkeit 655 bei 10", "Schaden=10 txtBioTech=655", "", true);
        row("Fertigkeit 656 bei 9", "Schaden=9 Krankenhaus txtBioTech=656", "", true);
        row("Fertigkeit 656 bei 10", "Schaden=10 txtBioTech=656",
            naeher.arg("Der Kostenanteil der Biotech-Fertigkeit", "Biotech-Fertigkeit des Arztes"),
            true);
        row("Kästchen unter -32768", "Schaden=-32768 Krankenhaus undokBio BioIndex=32767",
            naeher.arg("Die Zahl der Schadenskästchen", "Schadenskästchen"), true);
        row("Kosten", "Schaden=4 Krankenhaus Kosten=9223372036854775000",
            "Die Krankenhauskosten sind zu groß geworden. Bitte mit „Reset“ auf 0 setzen.", true);
    }
    void eingabefehler() {
        QFETCH(QString, setup);
        QFETCH(QString, meldung);
        QFETCH(bool, gewuerfelt);
        Druck d = druck(setup);
        d.zustand.Gesamtzeit = 5.0f;
        ScriptedSource* quelle = nullptr;
        const HeilenErgebnis e = heile(d, QList<int>(100, 1), &quelle);
        QCOMPARE(e.meldung, meldung);
        // The dice come only after every check that can be made before them.
        QCOMPARE(quelle->rolled() > 0, gewuerfelt);
        QCOMPARE(e.art, meldung.isEmpty() ? Art::Durchgefuehrt : Art::Verweigert);
        if (meldung.isEmpty())
            return;
        QVERIFY(spur(e.zustand) == spur(d.zustand));
        QVERIFY(e.Meldungen.isEmpty() && e.lstErgebnis.isEmpty() && e.Schaden.isEmpty());
        QCOMPARE(e.steuerung, Steueraenderungen{});
    }
};

QTEST_GUILESS_MAIN(TstHeilen)
#include "tst_heilen.moc"
