#pragma once
// The tables and procedures the healing test is built from: the damage level and the
// lifestyle it needs, the lifestyle levels, the plausibility limits of constitution and
// willpower, the patient and doctor modifiers and the hospital tariff. Each modifier adds to
// the state's Mindestwurf; all but the bioware one return their line for Meldungen (the
// healing test words the bioware line itself). Values arrive already read from their fields;
// a step that leaves the 16-bit range refuses the press with the message for the user.

#include "Healing.h"

#include <optional>

namespace healing {

// Writes Schadensniveau and Verletzungsmod for K filled boxes (negative counts are light).
void Schadniveau(Form1State& s, Int16 K);

// Writes Mindestlebensstil and MindeststilStufe for the damage level name K; a name that is
// none of the four levels leaves both as they were.
void Mindstil(Form1State& s, const QString& K);

// The level of a lifestyle option.
Int16 lifestyleLevel(Lifestyle lifestyle);

// The message for a field text that is a number above the limit of natural constitution (30)
// or willpower (20). Empty or half-typed text ("", "-", "3,") is no number yet and passes
// silently, as does the limit itself; a number too large for any type is above it.
std::optional<QString> constitutionAboveLimit(const QString& text);
std::optional<QString> willpowerAboveLimit(const QString& text);

// Mindestwurf + m; refused, naming the target number, when it leaves 16 bits.
void addToTarget(Form1State& s, Int16 m);

// BioMod = the bio-index divided by 1 (undocumented) or 2 (documented), rounded up; adds it to
// Mindestwurf. Also writes BioDivisor.
void uberprufeBioIndex(Form1State& s, bool undokBio, float bioIndex);

// The essence modifier for the checked cyberware box; undocumented wins over documented.
// `essenz` holds a value whenever one of the boxes is checked.
QString checkcyberware(Form1State& s, bool undokCyb, bool dokCyb, std::optional<float> essenz,
                       ControlChanges& changes);

// The shared table of natural constitution and willpower: 0, -1, -2 or -3.
Int16 konstwilltabelle(const Int16& wert);

QString checkkonst(Form1State& s, Int16 konstitution);
QString checkwille(Form1State& s, Int16 willenskraft);
QString checkarzt(Form1State& s, Int16 fertigkeit);

// The doctor's share of the higher tariff, skill x 50; refused, naming the field, beyond 16
// bits. Checked at every press that could pay it, before any die is rolled.
Int16 doctorShare(Int16 fertigkeit);

// In hospital, adds the cost of Heilungsdauer at the tariff of Schadenskaestchen (the boxes
// before this press lowers them) to Kosten and rounds the running total to whole hundredths.
// At home nothing changes.
void checkarztkosten(Form1State& s, Int16 fertigkeit, bool krankenhaus, bool magischeBetreuung);

} // namespace healing
