#include "Trade.h"

#include <cmath>
#include <optional>

namespace care {

namespace {

// value + delta, or nothing where the sum would leave the 16-bit range.
std::optional<Int16> plus(Int16 value, Int16 delta) {
    try {
        return numbers::add(value, delta);
    } catch (const numbers::Overflow&) {
        return std::nullopt;
    }
}

} // namespace

bool cmdImproveQual(NormalVersorgungState& state) {
    // Compared as int, so a basis near the top of the range cannot wrap the limit.
    if (!(state.Equipment < state.EquipmentBasis + 6 && state.Erfolge > 1))
        return false;
    const auto equipment = plus(state.Equipment, 1);
    if (!equipment)
        return false;
    state.Erfolge = numbers::sub(state.Erfolge, 1);
    state.Equipment = *equipment;
    return true;
}

bool cmdDiminQual(NormalVersorgungState& state) {
    // The level found itself passes the test, so one level below it is reachable.
    if (!(state.Equipment >= state.EquipmentBasis))
        return false;
    const auto equipment = plus(state.Equipment, -1);
    const auto erfolge = plus(state.Erfolge, 1);
    if (!equipment || !erfolge)
        return false;
    state.Equipment = *equipment;
    state.Erfolge = *erfolge;
    return true;
}

bool cmdImproveTime(NormalVersorgungState& state) {
    if (!(state.Erfolge > 1))
        return false;
    state.Zeitraum = state.Zeitraum / 2.0f;
    state.Erfolge = numbers::sub(state.Erfolge, 1);
    return true;
}

bool cmdDiminTime(NormalVersorgungState& state) {
    // The only trade without a limit of its own: it stops where a value would overflow.
    const float zeitraum = state.Zeitraum + state.Zeitraum;
    const auto erfolge = plus(state.Erfolge, 1);
    if (!std::isfinite(zeitraum) || !erfolge)
        return false;
    state.Zeitraum = zeitraum;
    state.Erfolge = *erfolge;
    return true;
}

} // namespace care
