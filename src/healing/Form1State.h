#pragma once
// The main window's per-window variables under their given names. They outlive the window's
// controls (the window slot owns them) and are read and written by the healing rules.

#include "numbers/Amount.h"
#include "numbers/Checked.h"

#include <QString>

namespace healing {

using numbers::Int16;

struct Form1State {
    Int16 Schadenskaestchen = 0;
    QString Schadensniveau;
    Int16 Verletzungsmod = 0;
    QString Mindestlebensstil;
    Int16 MindeststilStufe = 0;
    Int16 Lebensstilstufe = 0; // 0 matches the preselected "Strasse"
    Int16 Mindestwurf = 0;
    Int16 Umstaende = 0;
    float Grundzeitraum = 0.0f; // hours
    Int16 Konstitution = 0;
    float Heilungsdauer = 0.0f; // hours
    Int16 BioMod = 0;
    Int16 BioDivisor = 0;
    float Gesamtzeit = 0.0f; // hours since start or Reset
    numbers::Amount Kosten;  // Nuyen since start or Reset
};

} // namespace healing
