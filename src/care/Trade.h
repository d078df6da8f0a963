#pragma once
// The trade of spare etiquette successes against equipment and time after a normal search
// ("+" and "-" beside "Ausrüstungsstufe" and below "Zeitraum"). Each rule either changes both
// of its values and returns true, or changes nothing and returns false; the window then
// shows the two values (equipment or period first, successes second).

#include "SearchState.h"

namespace care {

// One success for one equipment level more, up to EquipmentBasis + 6; never the last success.
bool cmdImproveQual(NormalVersorgungState& state);

// One equipment level less for one success, down to EquipmentBasis - 1.
bool cmdDiminQual(NormalVersorgungState& state);

// One success for half the period; never the last success.
bool cmdImproveTime(NormalVersorgungState& state);

// Double the period for one success. Refused only where the period would leave the float
// range or the successes the 16-bit range.
bool cmdDiminTime(NormalVersorgungState& state);

} // namespace care
