#include "Healing.h"

#include "HealingTables.h"
#include "HealingTexts.h"
#include "numbers/Text.h"

namespace healing {

namespace {

using numbers::orRefuse;
using numbers::readSingle;
using numbers::readWholeNumber;

// The numbers of the input fields, read before anything is computed, in the order the press
// meets the fields so that the first unusable one is named. Fields that do not matter for this
// press stay empty and are never looked at.
struct Fields {
    std::optional<float> bioIndex;
    std::optional<float> essenz;
    Int16 konstitution = 0;
    Int16 willenskraft = 0;
    Int16 fertigkeit = 0;
};

Fields readFields(const HealingInput& in, bool hospital) {
    Fields f;
    // At home only documented bioware counts; undokBio is unchecked there before it is read.
    if (in.dokBio || (hospital && in.undokBio))
        f.bioIndex = readSingle(in.BioIndex, texts::fieldBioIndex);
    if (hospital && (in.undokCyb || in.dokCyb))
        f.essenz = readSingle(in.EssenzDok, texts::fieldEssenz);
    f.konstitution = readWholeNumber(in.txtKonstitution, texts::fieldKonstitution);
    if (f.konstitution > dice::Wuerfelomat::maxDice)
        numbers::refuse(texts::tooManyDice());
    if (hospital)
        f.willenskraft = readWholeNumber(in.Willenskraft, texts::fieldWillenskraft);
    f.fertigkeit = readWholeNumber(in.txtBioTech, texts::fieldBioTech);
    return f;
}

void homeModifiers(const HealingInput& in, const Fields& f, Int16 d, Press& p) {
    Form1State& s = p.state;
    if (in.dokBio) {
        p.changes.uncheckUndokBio = true;
        uberprufeBioIndex(s, false, f.bioIndex.value());
        p.Meldungen << QStringLiteral("Patient hat Bioware: +") + numbers::intText(s.BioMod);
    }
    if (d < 0) {
        addToTarget(s, d);
        p.Meldungen << QStringLiteral("Lebensstil besser als benötigt: ") + numbers::intText(d);
    }
    if (d > 0) {
        const Int16 twice = numbers::mul(2, d);
        addToTarget(s, twice);
        p.Meldungen << QStringLiteral("Lebensstil schlechter als benötigt: +") +
                           numbers::intText(twice);
    }
    if (d == 0)
        p.Meldungen << QStringLiteral("Lebensstil ausreichend");
    if (in.care == CareCondition::schlechteUmst) {
        s.Umstaende = 1;
        p.Meldungen << QStringLiteral("Schlechte Umstände: +1");
    }
    if (in.care == CareCondition::furchtbareUmst) {
        s.Umstaende = 3;
        p.Meldungen << QStringLiteral("Furchtbare Umstände: +3");
    }
    addToTarget(s, s.Umstaende);
}

void hospitalModifiers(const HealingInput& in, const Fields& f, Press& p) {
    Form1State& s = p.state;
    p.Meldungen << QStringLiteral("Sie sind im Krankenhaus!");
    p.changes.selectKrankenhaus = true;
    if (in.magischeBetreuung) {
        addToTarget(s, -2);
        p.Meldungen << QStringLiteral("Langfristige magische Betreuung: -2");
    }
    if (in.Erwachter) {
        addToTarget(s, 2);
        p.Meldungen << QStringLiteral("Patient ist Erwachter: +2");
    }
    bool dokBio = in.dokBio;
    if (in.undokBio) {
        p.changes.enableBioIndex = true;
        p.changes.uncheckDokBio = true;
        dokBio = false; // so the documented row below no longer sees it
        uberprufeBioIndex(s, true, f.bioIndex.value());
        p.Meldungen << QStringLiteral("Patient hat undokumentierte Bioware: +") +
                           numbers::intText(s.BioMod);
    }
    if (dokBio) {
        p.changes.enableBioIndex = true;
        p.changes.uncheckUndokBio = true;
        uberprufeBioIndex(s, false, f.bioIndex.value());
        p.Meldungen << QStringLiteral("Patient hat Bioware: +") + numbers::intText(s.BioMod);
    }
    p.Meldungen << checkcyberware(s, in.undokCyb, in.dokCyb, f.essenz, p.changes);
    if (in.Kommunikation) {
        addToTarget(s, 2);
        p.Meldungen << QStringLiteral("Patient/Arzt Kommunikation gestört: +2");
    }
    p.Meldungen << checkkonst(s, f.konstitution);
    p.Meldungen << checkwille(s, f.willenskraft);
    p.Meldungen << checkarzt(s, f.fertigkeit);
}

Press preparePress(const HealingInput& in, const Form1State& state) {
    Press p;
    Form1State& s = p.state;
    s = state;
    if (in.lifestyle)
        s.Lebensstilstufe = lifestyleLevel(*in.lifestyle);
    s.Mindestwurf = 0;
    s.Umstaende = 0;
    s.Schadenskaestchen = readWholeNumber(in.Schaden, texts::fieldSchaden);
    if (s.Schadenskaestchen == 0) {
        p.notIll = true;
        return p;
    }
    p.hospital = in.care == CareCondition::Krankenhaus || s.Schadenskaestchen >= 10;
    const Fields f = readFields(in, p.hospital);
    p.skill = f.fertigkeit;
    p.magischeBetreuung = in.magischeBetreuung;

    Schadniveau(s, s.Schadenskaestchen);
    Mindstil(s, s.Schadensniveau);
    // Positive: the patient lives worse than the wound needs.
    const Int16 d = numbers::sub(s.MindeststilStufe, s.Lebensstilstufe);

    p.Meldungen << QStringLiteral("Grundmindestwurf: ") + numbers::intText(s.Schadenskaestchen)
                << QStringLiteral("Verletzungsmod.: ") + numbers::intText(s.Verletzungsmod);
    addToTarget(s, s.Schadenskaestchen);
    addToTarget(s, s.Verletzungsmod);

    if (p.hospital)
        hospitalModifiers(in, f, p);
    else
        homeModifiers(in, f, d, p);

    // The base period comes from the target number before it is raised to 2.
    const QString period = QStringLiteral("Der Grundzeitraum");
    const Int16 hours =
        orRefuse(s.Mindestwurf > 0 ? texts::tooLarge(period) : texts::tooSmall(period), [&] {
            const Int16 days = numbers::mul(s.Mindestwurf, 24);
            return p.hospital ? numbers::mul(days, 2) : days;
        });
    s.Grundzeitraum = static_cast<float>(hours);
    if (s.Grundzeitraum < 2.0f)
        s.Grundzeitraum = 2.0f;

    p.unraisedTarget = s.Mindestwurf;
    if (s.Mindestwurf < 2)
        s.Mindestwurf = 2;
    s.Konstitution = f.konstitution;
    if (p.hospital && s.Schadenskaestchen >= 10)
        doctorShare(f.fertigkeit); // the higher tariff must be payable before anyone rolls
    return p;
}

Press finishPress(Press p, const dice::Roll& roll) {
    Form1State& s = p.state;
    p.roll = roll;
    const float successes = roll.successes;
    s.Heilungsdauer = successes > 0 ? s.Grundzeitraum / successes : s.Grundzeitraum * 2.0f;
    checkarztkosten(s, p.skill, p.hospital, p.magischeBetreuung);
    s.Schadenskaestchen =
        orRefuse(texts::fieldNearerZero(QStringLiteral("Die Zahl der Schadenskästchen"),
                                        texts::fieldSchaden),
                 [&] { return numbers::sub(s.Schadenskaestchen, 1); });
    s.Gesamtzeit += s.Heilungsdauer;
    return p;
}

// Every number of successes the press's dice can bring, finished: a refusal that only some
// dice would meet (a cost or a box count beyond the range) comes before anyone rolls.
SurePress sure(const HealingInput& in, const Form1State& state) {
    SurePress sure{preparePress(in, state), {}};
    if (!sure.prepared.notIll)
        // No dice (a count of 0 or less) still bring the one outcome of no success.
        for (int successes = 0; successes <= std::max(0, int(sure.prepared.state.Konstitution));
             ++successes)
            sure.finished.append(finishPress(sure.prepared, dice::Roll{{}, Int16(successes)}));
    return sure;
}

} // namespace

Result<Press> prepare(const HealingInput& input, const Form1State& state) {
    return numbers::decide(texts::outOfRange, [&] { return preparePress(input, state); });
}

Result<SurePress> prepareSure(const HealingInput& input, const Form1State& state) {
    return numbers::decide(texts::outOfRange, [&] { return sure(input, state); });
}

Result<Press> finish(const Press& prepared, const dice::Roll& roll) {
    return numbers::decide(texts::outOfRange, [&] { return finishPress(prepared, roll); });
}

Result<Press> heal(const HealingInput& input, const Form1State& state, dice::Dice& dice) {
    return numbers::decide(texts::outOfRange, [&] {
        SurePress p = sure(input, state);
        if (p.prepared.notIll)
            return p.prepared;
        const auto roll = orRefuse(texts::runOfSixes, [&] {
            return dice::ZaehleErfolge(dice, p.prepared.state.Mindestwurf,
                                       p.prepared.state.Konstitution, dice::Purpose::Healing);
        });
        if (!roll)
            numbers::abandon();
        Press done = p.finished.at(roll->successes);
        done.roll = *roll;
        return done;
    });
}

} // namespace healing
