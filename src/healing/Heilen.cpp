#include "Heilen.h"

#include "Meldetexte.h"
#include "Modifikatoren.h"
#include "Schadensniveau.h"
#include "Verweigerung.h"
#include "ZeitUndKosten.h"
#include "numbers/Text.h"

namespace healing {

namespace {

using namespace meldetexte;

// The numbers of the input fields, read before anything is computed. Fields that do not
// matter for this press stay empty and are never looked at.
struct Werte {
    bool krankenhaus = false;
    std::optional<float> bioIndex;
    std::optional<float> essenz;
    Int16 konstitution = 0;
    std::optional<Int16> willenskraft;
    Int16 fertigkeit = 0;
};

Int16 ganzeZahl(const QString& text, const QString& feld) {
    const auto wert = numbers::parseDouble(text);
    if (!wert)
        throw Verweigerung(keineGanzeZahl(feld));
    try {
        return numbers::roundToInt16(*wert);
    } catch (const numbers::Overflow&) {
        throw Verweigerung(ganzeZahlAusserhalb(feld));
    }
}

float zahl(const QString& text, const QString& feld) {
    const auto wert = numbers::parseSingle(text);
    if (!wert)
        throw Verweigerung(keineZahl(feld));
    return *wert;
}

// Runs one checked 16-bit step; `aufwaerts` tells which way it would leave the range.
template <typename Schritt> Int16 geprueft(const QString& wert, bool aufwaerts, Schritt schritt) {
    try {
        return schritt();
    } catch (const numbers::Overflow&) {
        throw Verweigerung(aufwaerts ? zuGross(wert) : zuKlein(wert));
    }
}

// Read in the order the press meets the fields, so the first unusable one is named.
Werte lies(const HeilenEingabe& ein, bool krankenhaus) {
    Werte w;
    w.krankenhaus = krankenhaus;
    // At home only documented bioware counts; undokBio is unchecked there before it is read.
    if (ein.dokBio || (krankenhaus && ein.undokBio))
        w.bioIndex = zahl(ein.BioIndex, feldBioIndex);
    if (krankenhaus && (ein.undokCyb || ein.dokCyb))
        w.essenz = zahl(ein.EssenzDok, feldEssenz);
    w.konstitution = ganzeZahl(ein.txtKonstitution, feldKonstitution);
    if (w.konstitution > dice::Wuerfelomat::maxDice)
        throw Verweigerung(zuVieleWuerfel());
    if (krankenhaus)
        w.willenskraft = ganzeZahl(ein.Willenskraft, feldWillenskraft);
    w.fertigkeit = ganzeZahl(ein.txtBioTech, feldBioTech);
    return w;
}

void modifikatorenDaheim(const HeilenEingabe& ein, const Werte& w, Int16 d, Form1State& s,
                         HeilenErgebnis& erg) {
    if (ein.dokBio) {
        erg.steuerung.uncheckUndokBio = true;
        uberprufeBioIndex(s, false, w.bioIndex.value());
        erg.Meldungen << QStringLiteral("Patient hat Bioware: +") + numbers::intText(s.BioMod);
    }
    if (d < 0) {
        erhoeheMindestwurf(s, d);
        erg.Meldungen << QStringLiteral("Lebensstil besser als benötigt: ") + numbers::intText(d);
    }
    if (d > 0) {
        const Int16 doppelt = geprueft(QStringLiteral("Der Lebensstil-Unterschied"), true,
                                       [d] { return numbers::mul(2, d); });
        erhoeheMindestwurf(s, doppelt);
        erg.Meldungen << QStringLiteral("Lebensstil schlechter als benötigt: +") +
                             numbers::intText(doppelt);
    }
    if (d == 0)
        erg.Meldungen << QStringLiteral("Lebensstil ausreichend");
    if (ein.pflege == Pflege::schlechteUmst) {
        s.Umstaende = 1;
        erg.Meldungen << QStringLiteral("Schlechte Umstände: +1");
    }
    if (ein.pflege == Pflege::furchtbareUmst) {
        s.Umstaende = 3;
        erg.Meldungen << QStringLiteral("Furchtbare Umstände: +3");
    }
    erhoeheMindestwurf(s, s.Umstaende);
}

void modifikatorenKrankenhaus(const HeilenEingabe& ein, const Werte& w, Form1State& s,
                              HeilenErgebnis& erg) {
    erg.Meldungen << QStringLiteral("Sie sind im Krankenhaus!");
    erg.steuerung.selectKrankenhaus = true;
    if (ein.magischeBetreuung) {
        erhoeheMindestwurf(s, -2);
        erg.Meldungen << QStringLiteral("Langfristige magische Betreuung: -2");
    }
    if (ein.Erwachter) {
        erhoeheMindestwurf(s, 2);
        erg.Meldungen << QStringLiteral("Patient ist Erwachter: +2");
    }
    bool dokBio = ein.dokBio;
    if (ein.undokBio) {
        erg.steuerung.enableBioIndex = true;
        erg.steuerung.uncheckDokBio = true;
        dokBio = false; // so the documented row below no longer sees it
        uberprufeBioIndex(s, true, w.bioIndex.value());
        erg.Meldungen << QStringLiteral("Patient hat undokumentierte Bioware: +") +
                             numbers::intText(s.BioMod);
    }
    if (dokBio) {
        erg.steuerung.enableBioIndex = true;
        erg.steuerung.uncheckUndokBio = true;
        uberprufeBioIndex(s, false, w.bioIndex.value());
        erg.Meldungen << QStringLiteral("Patient hat Bioware: +") + numbers::intText(s.BioMod);
    }
    erg.Meldungen << checkcyberware(s, ein.undokCyb, ein.dokCyb, w.essenz, erg.steuerung);
    if (ein.Kommunikation) {
        erhoeheMindestwurf(s, 2);
        erg.Meldungen << QStringLiteral("Patient/Arzt Kommunikation gestört: +2");
    }
    erg.Meldungen << checkkonst(s, w.konstitution);
    erg.Meldungen << checkwille(s, w.willenskraft.value());
    erg.Meldungen << checkarzt(s, w.fertigkeit);
}

void fuehreDurch(const HeilenEingabe& ein, const Werte& w, Form1State& s,
                 dice::Wuerfelomat& wuerfel, HeilenErgebnis& erg) {
    Schadniveau(s, s.Schadenskaestchen);
    erg.niveaulabel = QStringLiteral("Schadensniveau ist ") + s.Schadensniveau;
    Mindstil(s, s.Schadensniveau);
    erg.Stillabel = QStringLiteral("Benötigter Lebensstil ") + s.Mindestlebensstil;

    // Positive: the patient lives worse than the wound needs.
    const Int16 d = geprueft(QStringLiteral("Der Lebensstil-Unterschied"), s.Lebensstilstufe < 0,
                             [&s] { return numbers::sub(s.MindeststilStufe, s.Lebensstilstufe); });

    erg.Meldungen << QStringLiteral("Grundmindestwurf: ") + numbers::intText(s.Schadenskaestchen)
                  << QStringLiteral("Verletzungsmod.: ") + numbers::intText(s.Verletzungsmod);
    erhoeheMindestwurf(s, s.Schadenskaestchen);
    erhoeheMindestwurf(s, s.Verletzungsmod);

    if (w.krankenhaus)
        modifikatorenKrankenhaus(ein, w, s, erg);
    else
        modifikatorenDaheim(ein, w, d, s, erg);

    // The base period comes from the target number before it is raised to 2.
    const Int16 stunden =
        geprueft(QStringLiteral("Der Grundzeitraum"), s.Mindestwurf > 0, [&s, &w] {
            const Int16 tage = numbers::mul(s.Mindestwurf, 24);
            return w.krankenhaus ? numbers::mul(tage, 2) : tage;
        });
    s.Grundzeitraum = static_cast<float>(stunden);
    if (s.Grundzeitraum < 2.0f)
        s.Grundzeitraum = 2.0f;

    if (s.Mindestwurf < 2) {
        erg.Modifk = numbers::intText(2) + QStringLiteral("  (") + numbers::intText(s.Mindestwurf) +
                     QStringLiteral(")");
        s.Mindestwurf = 2;
    } else {
        erg.Modifk = numbers::intText(s.Mindestwurf);
    }
    erg.lblGrundzeitraum = ZeigeGrundzeitraum(s);

    s.Konstitution = w.konstitution;
    dice::RecordingSink sink;
    Int16 erfolge = 0;
    try {
        erfolge = wuerfel.ZaehleErfolge(s.Mindestwurf, s.Konstitution, sink);
    } catch (const numbers::Overflow&) {
        throw Verweigerung(wurfZuGross());
    }
    erg.lstErgebnis = sink.lines;
    erg.lblErfolge = numbers::intText(erfolge);

    s.Heilungsdauer =
        erfolge > 0 ? s.Grundzeitraum / static_cast<float>(erfolge) : s.Grundzeitraum * 2.0f;
    erg.lblHeilungsdauer = numbers::timeLine(s.Heilungsdauer);

    erg.lblKosten = checkarztkosten(s, w.fertigkeit, w.krankenhaus, ein.magischeBetreuung);

    try {
        s.Schadenskaestchen = numbers::sub(s.Schadenskaestchen, 1);
    } catch (const numbers::Overflow&) {
        throw Verweigerung(
            feldNaeherAnNull(QStringLiteral("Die Zahl der Schadenskästchen"), feldSchaden));
    }
    erg.Schaden = numbers::intText(s.Schadenskaestchen);

    s.Gesamtzeit += s.Heilungsdauer;
    erg.lblGesamtzeit = numbers::timeLine(s.Gesamtzeit);

    erg.geheilt = s.Schadenskaestchen < 1;
    if (erg.geheilt)
        erg.meldung = geheilt;
}

} // namespace

HeilenErgebnis heile(const HeilenEingabe& eingabe, const Form1State& zustand,
                     dice::Wuerfelomat& wuerfel) {
    HeilenErgebnis erg;
    erg.zustand = zustand;
    try {
        Form1State s = zustand;
        s.Mindestwurf = 0;
        s.Umstaende = 0;
        s.Schadenskaestchen = ganzeZahl(eingabe.Schaden, feldSchaden);
        if (s.Schadenskaestchen == 0) {
            erg.art = HeilenErgebnis::Art::NichtKrank;
            erg.meldung = nichtKrank;
            erg.zustand = s;
            return erg;
        }
        const bool krankenhaus = eingabe.pflege == Pflege::Krankenhaus || s.Schadenskaestchen >= 10;
        const Werte werte = lies(eingabe, krankenhaus);
        fuehreDurch(eingabe, werte, s, wuerfel, erg);
        erg.art = HeilenErgebnis::Art::Durchgefuehrt;
        erg.zustand = s;
        return erg;
    } catch (const Verweigerung& v) {
        HeilenErgebnis verweigert;
        verweigert.meldung = v.meldung();
        verweigert.zustand = zustand;
        return verweigert;
    }
}

} // namespace healing
