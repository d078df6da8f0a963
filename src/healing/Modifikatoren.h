#pragma once
// The modifiers of the healing test that come from the patient's body and the treating doctor:
// bioware, essence, constitution, willpower and the doctor's Biotech skill. Each adds to the
// state's Mindestwurf; all but the bioware one return their line for Meldungen (the healing
// test words the bioware line itself). The values arrive already read from their fields. A sum
// that leaves 16 bits throws Verweigerung with the message for the user.

#include "Form1State.h"
#include "Steueraenderungen.h"

#include <optional>

namespace healing {

// Mindestwurf + m, refused (naming the target number) when it leaves 16 bits.
void erhoeheMindestwurf(Form1State& s, Int16 m);

// BioMod = the bio-index divided by 1 (undocumented) or 2 (documented), rounded up; adds it to
// Mindestwurf. Also writes BioDivisor.
void uberprufeBioIndex(Form1State& s, bool undokBio, float bioIndex);

// The essence modifier for the checked cyberware box; undocumented wins over documented.
// `essenz` must hold a value whenever one of the boxes is checked.
QString checkcyberware(Form1State& s, bool undokCyb, bool dokCyb, std::optional<float> essenz,
                       Steueraenderungen& aenderungen);

// The shared table of natural constitution and willpower: 0, -1, -2 or -3.
Int16 konstwilltabelle(const Int16& wert);

QString checkkonst(Form1State& s, Int16 konstitution);
QString checkwille(Form1State& s, Int16 willenskraft);
QString checkarzt(Form1State& s, Int16 fertigkeit);

} // namespace healing
