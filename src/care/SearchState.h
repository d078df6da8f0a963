#pragma once
// The per-window variables of the two search windows under their given names. They live for
// the whole run: closing a search window discards its controls, never these values.

#include "numbers/Checked.h"

namespace care {

using numbers::Int16;

struct NormalVersorgungState {
    Int16 Modif = 0;
    Int16 Fertigkeit = 0;
    Int16 FertMod = 0;
    float Zeitraum = 0.0f; // days
    Int16 Erfolge = 0;
    Int16 Equipment = 0;
    Int16 EquipmentBasis = 0;
};

struct NotfallVersorgungState {
    Int16 Modif = 0;
    Int16 Fertigkeit = 0;
};

} // namespace care
