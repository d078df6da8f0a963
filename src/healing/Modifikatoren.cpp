#include "Modifikatoren.h"

#include "Meldetexte.h"
#include "Verweigerung.h"
#include "numbers/Text.h"

namespace healing {

namespace {

// Both essence columns share one shape: below 5.01 the modifier climbs by one per band up to
// `basis` (3 undocumented, 2 documented), a tiny positive essence counts as none, and at 0 or
// below it is basis - e. The bounds are the single-precision values, compared exactly.
Int16 essenzModifikator(float e, Int16 basis) {
    Int16 m = 0;
    if (e >= 3.01f && e < 5.01f)
        m = basis - 2;
    if (e >= 1.01f && e < 3.01f)
        m = basis - 1;
    if (e >= 0.01f && e < 1.01f)
        m = basis;
    if (e <= 0.0f) {
        try {
            m = numbers::roundToInt16(static_cast<float>(basis) - e);
        } catch (const numbers::Overflow&) {
            throw Verweigerung(meldetexte::feldNaeherAnNull(QStringLiteral("Der Essenzmodifikator"),
                                                            meldetexte::feldEssenz));
        }
    }
    return m;
}

} // namespace

void erhoeheMindestwurf(Form1State& s, Int16 m) {
    try {
        s.Mindestwurf = numbers::add(s.Mindestwurf, m);
    } catch (const numbers::Overflow&) {
        const QString wert = QStringLiteral("Der Mindestwurf");
        throw Verweigerung(m > 0 ? meldetexte::zuGross(wert) : meldetexte::zuKlein(wert));
    }
}

void uberprufeBioIndex(Form1State& s, bool undokBio, float bioIndex) {
    s.BioDivisor = undokBio ? 1 : 2;
    if (bioIndex == 0.0f) {
        s.BioMod = 0;
        return;
    }
    Int16 r = 0;
    try {
        const float q = bioIndex / static_cast<float>(s.BioDivisor);
        r = numbers::roundToInt16(q);
        // Rounding to nearest may have gone down; one step up makes it the ceiling.
        if (static_cast<float>(numbers::mul(s.BioDivisor, r)) < bioIndex)
            r = numbers::add(r, 1);
    } catch (const numbers::Overflow&) {
        throw Verweigerung(meldetexte::feldNaeherAnNull(QStringLiteral("Der Bioware-Modifikator"),
                                                        meldetexte::feldBioIndex));
    }
    s.BioMod = r;
    erhoeheMindestwurf(s, r);
}

QString checkcyberware(Form1State& s, bool undokCyb, bool dokCyb, std::optional<float> essenz,
                       Steueraenderungen& aenderungen) {
    // The undocumented branch unchecks dokCyb before dokCyb is looked at.
    const bool dokNochGesetzt = dokCyb && !undokCyb;
    Int16 m = 0;
    if (undokCyb) {
        aenderungen.uncheckDokCyb = true;
        aenderungen.enableDokCybFrame = true;
        aenderungen.clearEssenzDok = true; // the value read above is still the one used
        m = essenzModifikator(essenz.value(), 3);
    }
    if (dokNochGesetzt) {
        aenderungen.uncheckUndokCyb = true;
        aenderungen.enableDokCybFrame = true;
        m = essenzModifikator(essenz.value(), 2);
    }
    erhoeheMindestwurf(s, m);
    return QStringLiteral("Essenzmodifikator: +") + numbers::intText(m);
}

Int16 konstwilltabelle(const Int16& wert) {
    if (wert >= 10)
        return -3;
    if (wert >= 7)
        return -2;
    if (wert >= 4)
        return -1;
    return 0;
}

QString checkkonst(Form1State& s, Int16 konstitution) {
    const Int16 m = konstwilltabelle(konstitution);
    erhoeheMindestwurf(s, m);
    return QStringLiteral("Konstitutionsmodifikator: ") + numbers::intText(m);
}

QString checkwille(Form1State& s, Int16 willenskraft) {
    const Int16 m = konstwilltabelle(willenskraft);
    erhoeheMindestwurf(s, m);
    return QStringLiteral("Willenskraftmodifikator: ") + numbers::intText(m);
}

QString checkarzt(Form1State& s, Int16 fertigkeit) {
    Int16 m = 0; // a negative skill changes nothing, and neither does skill 1
    if (fertigkeit == 0)
        m = 4;
    else if (fertigkeit == 2)
        m = -2;
    else if (fertigkeit == 3 || fertigkeit == 4)
        m = -3;
    else if (fertigkeit == 5 || fertigkeit == 6)
        m = -4;
    else if (fertigkeit >= 7)
        m = -5;
    erhoeheMindestwurf(s, m);
    return QStringLiteral("Biotech Fertigkeit des Arztes: ") + numbers::intText(m);
}

} // namespace healing
