#include "BestimmeArzt.h"

#include "dice/wuerfelomat.h"

#include <array>
#include <limits>

namespace care {

namespace {

struct Row {
    Int16 bisS; // the highest S of this row
    Int16 fertigkeit;
    Int16 equipment;
};

constexpr std::array<Row, 11> tabelle{{
    {1, 2, 1},
    {2, 3, 1},
    {3, 3, 2},
    {5, 4, 2},
    {8, 5, 3},
    {10, 6, 4},
    {11, 7, 4},
    {12, 7, 5},
    {13, 8, 5},
    {14, 9, 6},
    {std::numeric_limits<Int16>::max(), 10, 6},
}};

} // namespace

Arzt BestimmeArzt(Int16 S) {
    if (S < 1)
        return {0, 0, true};
    for (const Row& row : tabelle) {
        if (S <= row.bisS)
            return {row.fertigkeit, row.equipment, false};
    }
    return {}; // unreachable: the last row ends at the top of the range
}

Arztwurf wirfArzt(Int16 mod, dice::Wuerfelomat& dice) {
    Arztwurf wurf;
    wurf.W1 = dice.WirfW6();
    wurf.W2 = dice.WirfW6();
    wurf.S = numbers::add(mod, numbers::add(wurf.W1, wurf.W2));
    wurf.arzt = BestimmeArzt(wurf.S);
    return wurf;
}

} // namespace care
