#include "HealingTables.h"

#include "HealingTexts.h"
#include "numbers/Text.h"

namespace healing {

namespace {

using numbers::orRefuse;

struct Level {
    const char16_t* name;
    Int16 verletzungsmod;
    const char16_t* mindestlebensstil;
    Int16 stufe;
};

// One row per damage level; the names are compared exactly, accents included.
constexpr Level levels[] = {
    {u"Leicht", 1, u"Unterschicht", 2},
    {u"Mittel", 2, u"Mittelschicht", 3},
    {u"Schwer", 3, u"Oberschicht", 4},
    {u"Tödlich", 4, u"Krankenhaus", 5},
};

std::optional<QString> aboveLimit(const QString& text, double limit, const QString& message) {
    const auto value = numbers::parseDouble(text);
    if (value && *value > limit)
        return message;
    return std::nullopt;
}

// Both essence columns share one shape: below 5.01 the modifier climbs by one per band up to
// `basis` (3 undocumented, 2 documented), a tiny positive essence counts as none, and at 0 or
// below it is basis - e. The bounds are the single-precision values, compared exactly.
Int16 essenceModifier(float e, Int16 basis) {
    Int16 m = 0;
    if (e >= 3.01f && e < 5.01f)
        m = basis - 2;
    if (e >= 1.01f && e < 3.01f)
        m = basis - 1;
    if (e >= 0.01f && e < 1.01f)
        m = basis;
    if (e <= 0.0f) {
        m = orRefuse(
            texts::fieldNearerZero(QStringLiteral("Der Essenzmodifikator"), texts::fieldEssenz),
            [&] { return numbers::roundToInt16(static_cast<float>(basis) - e); });
    }
    return m;
}

} // namespace

void Schadniveau(Form1State& s, Int16 K) {
    const Level& n = K < 3 ? levels[0] : K < 6 ? levels[1] : K < 10 ? levels[2] : levels[3];
    s.Schadensniveau = QString::fromUtf16(n.name);
    s.Verletzungsmod = n.verletzungsmod;
}

void Mindstil(Form1State& s, const QString& K) {
    for (const Level& n : levels) {
        if (K == QString::fromUtf16(n.name)) {
            s.Mindestlebensstil = QString::fromUtf16(n.mindestlebensstil);
            s.MindeststilStufe = n.stufe;
        }
    }
}

Int16 lifestyleLevel(Lifestyle lifestyle) {
    switch (lifestyle) {
    case Lifestyle::Strasse:
        return 0;
    case Lifestyle::Squatter:
        return 1;
    case Lifestyle::Unterschicht:
        return 2;
    case Lifestyle::Mittelschicht:
        return 3;
    case Lifestyle::Oberschicht:
    case Lifestyle::Luxus:
        return 4;
    }
    return 0;
}

std::optional<QString> constitutionAboveLimit(const QString& text) {
    return aboveLimit(text, 30, texts::constitutionAboveLimit);
}

std::optional<QString> willpowerAboveLimit(const QString& text) {
    return aboveLimit(text, 20, texts::willpowerAboveLimit);
}

void addToTarget(Form1State& s, Int16 m) {
    const QString target = QStringLiteral("Der Mindestwurf");
    s.Mindestwurf = orRefuse(m > 0 ? texts::tooLarge(target) : texts::tooSmall(target),
                             [&] { return numbers::add(s.Mindestwurf, m); });
}

void uberprufeBioIndex(Form1State& s, bool undokBio, float bioIndex) {
    s.BioDivisor = undokBio ? 1 : 2;
    if (bioIndex == 0.0f) {
        s.BioMod = 0;
        return;
    }
    s.BioMod = orRefuse(
        texts::fieldNearerZero(QStringLiteral("Der Bioware-Modifikator"), texts::fieldBioIndex),
        [&] {
            const float q = bioIndex / static_cast<float>(s.BioDivisor);
            Int16 r = numbers::roundToInt16(q);
            // Rounding to nearest may have gone down; one step up makes it the ceiling.
            if (static_cast<float>(numbers::mul(s.BioDivisor, r)) < bioIndex)
                r = numbers::add(r, 1);
            return r;
        });
    addToTarget(s, s.BioMod);
}

QString checkcyberware(Form1State& s, bool undokCyb, bool dokCyb, std::optional<float> essenz,
                       ControlChanges& changes) {
    // The undocumented branch unchecks dokCyb before dokCyb is looked at.
    const bool dokStillChecked = dokCyb && !undokCyb;
    Int16 m = 0;
    if (undokCyb) {
        changes.uncheckDokCyb = true;
        changes.enableDokCybFrame = true;
        changes.clearEssenzDok = true; // the value read before is still the one used
        m = essenceModifier(essenz.value(), 3);
    }
    if (dokStillChecked) {
        changes.uncheckUndokCyb = true;
        changes.enableDokCybFrame = true;
        m = essenceModifier(essenz.value(), 2);
    }
    addToTarget(s, m);
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
    addToTarget(s, m);
    return QStringLiteral("Konstitutionsmodifikator: ") + numbers::intText(m);
}

QString checkwille(Form1State& s, Int16 willenskraft) {
    const Int16 m = konstwilltabelle(willenskraft);
    addToTarget(s, m);
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
    addToTarget(s, m);
    return QStringLiteral("Biotech Fertigkeit des Arztes: ") + numbers::intText(m);
}

Int16 doctorShare(Int16 fertigkeit) {
    return orRefuse(texts::fieldNearerZero(QStringLiteral("Der Kostenanteil der "
                                                          "Biotech-Fertigkeit"),
                                           texts::fieldBioTech),
                    [&] { return numbers::mul(fertigkeit, 50); });
}

void checkarztkosten(Form1State& s, Int16 fertigkeit, bool krankenhaus, bool magischeBetreuung) {
    if (!krankenhaus)
        return;
    const float tage = s.Heilungsdauer / 24.0f;
    float kosten = tage * 500.0f;
    if (s.Schadenskaestchen >= 10)
        kosten = tage * 1000.0f + static_cast<float>(doctorShare(fertigkeit));
    s.Kosten = orRefuse(texts::costTooLarge, [&] {
        numbers::Amount sum = s.Kosten.plus(numbers::Amount::fromFloat(kosten));
        if (magischeBetreuung)
            sum = sum.plus(numbers::Amount::fromFloat(tage * 500.0f));
        // The running total is rounded after every press, not only the cost of this one.
        return sum.roundedToCents();
    });
}

} // namespace healing
