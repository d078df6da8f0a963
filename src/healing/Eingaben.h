#pragma once
// The main window's inputs that act at once rather than at the press: the lifestyle options
// with their levels, and the plausibility limits of natural constitution and willpower.

#include "numbers/Checked.h"

#include <QString>
#include <optional>

namespace healing {

using numbers::Int16;

// The lifestyle options from top to bottom. Luxus shares level 4 with Oberschicht: no
// lifestyle reaches the level 5 a deadly wound needs.
enum class Lebensstil { Strasse, Squatter, Unterschicht, Mittelschicht, Oberschicht, Luxus };

constexpr Int16 Lebensstilstufe(Lebensstil stil) {
    switch (stil) {
    case Lebensstil::Strasse:
        return 0;
    case Lebensstil::Squatter:
        return 1;
    case Lebensstil::Unterschicht:
        return 2;
    case Lebensstil::Mittelschicht:
        return 3;
    case Lebensstil::Oberschicht:
    case Lebensstil::Luxus:
        return 4;
    }
    return 0;
}

struct Attributgrenze {
    double grenze;
    QString meldung;
};

inline const Attributgrenze konstitutionsgrenze{30, QStringLiteral("Was bist du für ein Tier?")};
inline const Attributgrenze willensgrenze{20, QStringLiteral("Ja, klar! Stahlwille!")};

// The message for a field text that is a number above the limit. Empty or half-typed text
// ("", "-", "3,") is no number yet and passes silently, as does the limit itself.
std::optional<QString> ueberGrenze(const QString& text, const Attributgrenze& grenze);

} // namespace healing
