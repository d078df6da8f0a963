#pragma once
// The doctor table both searches share: the 2W6 result, modifier included, gives the found
// doctor's skill level and equipment level, and a result below 1 means nobody helps.

#include "numbers/Checked.h"

namespace dice {
class Wuerfelomat;
}

namespace care {

using numbers::Int16;

struct Arzt {
    Int16 Fertigkeit = 0;
    Int16 Equipment = 0;
    bool verweigert = false; // S below 1: "Keiner will dir helfen! Sorry, Kollego!"
};

// Every S has exactly one row; below 1 both levels are 0 and the refusal is set.
Arzt BestimmeArzt(Int16 S);

// The doctor roll as a window shows it: the two dice, S = mod + (W1 + W2), the table's row.
struct Arztwurf {
    Int16 W1 = 0;
    Int16 W2 = 0;
    Int16 S = 0;
    Arzt arzt;
};

// Rolls W1, then W2, with WirfW6 and reads the table.
Arztwurf wirfArzt(Int16 mod, dice::Wuerfelomat& dice);

} // namespace care
