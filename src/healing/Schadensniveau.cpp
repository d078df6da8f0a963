#include "Schadensniveau.h"

namespace healing {

namespace {

struct Niveau {
    const char16_t* name;
    Int16 verletzungsmod;
    const char16_t* mindestlebensstil;
    Int16 stufe;
};

// One row per damage level; the lifestyle names are compared exactly, accents included.
constexpr Niveau niveaus[] = {
    {u"Leicht", 1, u"Unterschicht", 2},
    {u"Mittel", 2, u"Mittelschicht", 3},
    {u"Schwer", 3, u"Oberschicht", 4},
    {u"Tödlich", 4, u"Krankenhaus", 5},
};

} // namespace

void Schadniveau(Form1State& s, Int16 K) {
    const Niveau& n = K < 3 ? niveaus[0] : K < 6 ? niveaus[1] : K < 10 ? niveaus[2] : niveaus[3];
    s.Schadensniveau = QString::fromUtf16(n.name);
    s.Verletzungsmod = n.verletzungsmod;
}

void Mindstil(Form1State& s, const QString& K) {
    for (const Niveau& n : niveaus) {
        if (K == QString::fromUtf16(n.name)) {
            s.Mindestlebensstil = QString::fromUtf16(n.mindestlebensstil);
            s.MindeststilStufe = n.stufe;
        }
    }
}

} // namespace healing
