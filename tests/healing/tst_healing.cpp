// The healing rules: the tables of damage level, lifestyle and the patient and doctor
// modifiers, the hospital tariff, and whole presses of "HEILEN!" with scripted dice.

#include "../numbers/TableRows.h"
#include "LocaleGuard.h"
#include "ScriptedDice.h"
#include "healing/Eingaben.h"
#include "healing/Heilen.h"
#include "healing/Meldetexte.h"
#include "healing/Modifikatoren.h"
#include "healing/Schadensniveau.h"
#include "healing/ZeitUndKosten.h"
#include "numbers/Text.h"

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
    // Six text fields, seven check boxes, then the four care options in enum order.
    const QList<QString*> texte{&e.Schaden,  &e.txtKonstitution, &e.Willenskraft,
                                &e.BioIndex, &e.EssenzDok,       &e.txtBioTech};
    const QList<bool*> haken{&e.dokBio,       &e.undokBio,          &e.dokCyb,
                             &e.undokCyb,     &e.magischeBetreuung, &e.Erwachter,
                             &e.Kommunikation};
    const QStringList namen{
        "Schaden",           "txtKonstitution", "Willenskraft",  "BioIndex",    "EssenzDok",
        "txtBioTech",        "dokBio",          "undokBio",      "dokCyb",      "undokCyb",
        "magischeBetreuung", "Erwachter",       "Kommunikation", "Krankenhaus", "daheim",
        "schlechteUmst",     "furchtbareUmst"};
    for (const QString& teil : beschreibung.split(u' ', Qt::SkipEmptyParts)) {
        const QString name = teil.section(u'=', 0, 0), wert = teil.section(u'=', 1);
        const qsizetype i = namen.indexOf(name);
        if (i >= 0 && i < 6)
            *texte[i] = wert;
        else if (i >= 6 && i < 13)
            *haken[i - 6] = true;
        else if (i >= 13)
            e.pflege = Pflege(i - 13);
        else if (name == u"Lebensstilstufe")
            d.zustand.Lebensstilstufe = wert.toShort();
        else if (name == u"Kosten")
            d.zustand.Kosten = numbers::Amount::fromTicks(wert.toLongLong());
        else if (name != u"de_DE")
            qFatal("unknown part of a press: %s", qPrintable(teil));
    }
    return d;
}

// The outputs of a press that was carried out, in the form of the presses table.
QString ausgaben(const HeilenErgebnis& e) {
    QString flags;
    const Steueraenderungen& s = e.steuerung;
    for (bool b : {s.selectKrankenhaus, s.enableBioIndex, s.uncheckDokBio, s.uncheckUndokBio,
                   s.uncheckDokCyb, s.uncheckUndokCyb, s.enableDokCybFrame, s.clearEssenzDok})
        flags += b ? u'1' : u'0';
    return QStringList{
        e.Modifk,           e.lblGrundzeitraum, e.lstErgebnis.join(u' '),  e.lblErfolge,
        e.lblHeilungsdauer, e.Schaden,          e.lblKosten.value_or("-"), flags}
        .join(u" | ");
}

} // namespace

class tst_Healing : public QObject {
    Q_OBJECT

    LocaleGuard m_locale{QLocale::c()}; // a point as decimal separator unless a row says otherwise

  private slots:
    void damageLevel_data() { tsvRows("damage.tsv", 5); }
    void damageLevel() {
        QFETCH(QStringList, t);
        Form1State s;
        Schadniveau(s, t[0].toShort());
        Mindstil(s, s.Schadensniveau);
        Mindstil(s, QStringLiteral("Todlich")); // no accent: no level, changes nothing
        QCOMPARE((QStringList{s.Schadensniveau, QString::number(s.Verletzungsmod),
                              s.Mindestlebensstil, QString::number(s.MindeststilStufe)}),
                 t.mid(1));
        // Luxus shares level 4 with Oberschicht; no lifestyle reaches 5.
        for (int stil = 0; stil < 6; ++stil)
            QCOMPARE(Lebensstilstufe(Lebensstil(stil)), (QList{0, 1, 2, 3, 4, 4}[stil]));
    }

    void modifiers_data() { tsvRows("modifiers.tsv", 4); }
    void modifiers() {
        QFETCH(QStringList, t);
        LocaleGuard guard{QLocale(t[1])};
        Form1State s;
        Steueraenderungen a;
        const QString& m = t[3];
        if (t[0] == u"attribute") {
            QCOMPARE(checkkonst(s, t[2].toShort()), "Konstitutionsmodifikator: " + m);
            QCOMPARE(checkwille(s, t[2].toShort()), "Willenskraftmodifikator: " + m);
            s.Mindestwurf /= 2;
        } else if (t[0] == u"doctor") {
            QCOMPARE(checkarzt(s, t[2].toShort()), "Biotech Fertigkeit des Arztes: " + m);
        } else if (t[0].endsWith(u"Cyb")) {
            const bool undok = t[0] == u"undokCyb";
            QCOMPARE(checkcyberware(s, undok, !undok, numbers::parseSingle(t[2]), a),
                     "Essenzmodifikator: +" + m);
            QCOMPARE(a.clearEssenzDok, undok); // only undocumented ware empties the field
        } else {
            uberprufeBioIndex(s, t[0] == u"undokBio", numbers::parseSingle(t[2]).value());
            QCOMPARE(s.BioMod, m.toShort());
        }
        QCOMPARE(s.Mindestwurf, m.toShort());
    }

    void cost_data() { tsvRows("cost.tsv", 6); }
    void cost() {
        QFETCH(QStringList, t);
        Form1State s;
        s.Schadenskaestchen = t[0].toShort();
        s.Heilungsdauer = t[1].toFloat();
        s.Kosten = numbers::Amount::fromTicks(t[4].toLongLong());
        const auto label = checkarztkosten(s, t[2].toShort(), t[3] != u"H", t[3] == u"KM");
        QCOMPARE(label.value_or("-"), t[5] == u"-" ? t[5] : t[5] + " Nuyen");
        QCOMPARE(s.Kosten.text(), t[3] == u"H" ? QStringLiteral("1.2345") : t[5]);
    }

    void attributeLimits() {
        for (const char* silent : {"30", "", "-", "3,"})
            QVERIFY(!ueberGrenze(silent, konstitutionsgrenze));
        QCOMPARE(ueberGrenze("31", konstitutionsgrenze).value(), "Was bist du für ein Tier?");
        QVERIFY(!ueberGrenze("20", willensgrenze));
        QCOMPARE(ueberGrenze("20.5", willensgrenze).value(), "Ja, klar! Stahlwille!");
    }

    void press_data() { tsvRows("presses.tsv", 6); }
    void press() {
        QFETCH(QStringList, t);
        LocaleGuard guard{QLocale(t[1].startsWith(u"de_DE") ? "de_DE" : "C")};
        const Druck d = druck(t[1]);
        // Dice that were not scripted throw: a refusal must come before the first die.
        const HeilenErgebnis e = heile(d.ein, d.zustand, *scriptedDice(faces(t[2])));
        QCOMPARE(e.meldung, t[5]);
        QCOMPARE(e.art, !t[4].isEmpty()                  ? Art::Durchgefuehrt
                        : t[5] == meldetexte::nichtKrank ? Art::NichtKrank
                                                         : Art::Verweigert);
        if (t[3] != u"*")
            QCOMPARE(e.Meldungen.join(u"; "), t[3]);
        if (e.art != Art::Durchgefuehrt || t[4] == u"*")
            return;
        QCOMPARE(ausgaben(e), t[4]);
        QCOMPARE(e.niveaulabel, "Schadensniveau ist " + e.zustand.Schadensniveau);
        QCOMPARE(e.Stillabel, "Benötigter Lebensstil " + e.zustand.Mindestlebensstil);
        QCOMPARE(e.lblGesamtzeit, e.lblHeilungsdauer); // the first press since start
    }

    void totalTimeAndCircumstances() {
        Druck d = druck("Schaden=4 Lebensstilstufe=3 schlechteUmst");
        for (const int runde : {1, 2, 3}) {
            const HeilenErgebnis e = heile(d.ein, d.zustand, *scriptedDice({6, 1, 1, 1}));
            // Circumstances count only while selected at this press.
            QCOMPARE(e.Meldungen.contains("Schlechte Umstände: +1"), runde == 1);
            d = {d.ein, e.zustand};
            d.ein.Schaden = e.Schaden;
            d.ein.pflege = Pflege::daheim;
        }
        QCOMPARE(d.zustand.Gesamtzeit, 168.0f + 120.0f + 48.0f); // target numbers 7, 5 and 2
    }
};

QTEST_GUILESS_MAIN(tst_Healing)
#include "tst_healing.moc"
