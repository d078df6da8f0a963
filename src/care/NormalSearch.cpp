#include "NormalSearch.h"

#include "CareTexts.h"
#include "numbers/Text.h"

#include <cmath>

namespace care {

namespace {

using numbers::AtLimit;

// A trade step whose sum would leave the 16-bit range is at its limit too.
template <class Step> Result<NormalVersorgungState> untilLimit(Step step) {
    try {
        return step();
    } catch (const numbers::Overflow&) {
        return AtLimit{};
    }
}

// The number of etiquette dice; a negative skill rolls none.
Int16 readEtiquette(const QString& text) {
    const auto value = numbers::parseDouble(text);
    if (!value)
        numbers::refuse(numbers::notAWholeNumber(texts::fieldGebraeuche));
    // A number too large for 16 bits is still "too many dice", not "no number".
    const Int16 count = numbers::orRefuse(
        *value > 0 ? texts::tooManyEtiquetteDice : numbers::notAWholeNumber(texts::fieldGebraeuche),
        [&] { return numbers::roundToInt16(*value); });
    if (count > dice::Wuerfelomat::maxDice)
        numbers::refuse(texts::tooManyEtiquetteDice);
    return std::max<Int16>(count, 0);
}

NormalSearch prepareSearch(const NormalSearchInput& input, const NormalVersorgungState& state) {
    NormalSearch search;
    search.dice = readEtiquette(input.gebraeuche);

    ModifierSum sum;
    sum.applyOption(providerRules(), input.provider);
    sum.applyOption(connectionRules(), input.connection);
    sum.applyEntry(surgeryRules(), input.art);
    sum.applyEntry(categoryRules(), input.kategorie);
    sum.applyEntry(legalityRules(), input.legalitaet);

    search.meldungen = sum.meldungen;
    search.MW = numbers::add(sum.Modif, 4);
    search.state = state;
    search.state.Modif = sum.Modif;
    search.state.FertMod = sum.FertMod;
    search.state.Zeitraum = BerechneGrundzeitraum(sum.FertMod);
    return search;
}

} // namespace

Result<NormalSearch> prepareNormalSearch(const NormalSearchInput& input,
                                         const NormalVersorgungState& state) {
    return numbers::decide(texts::outOfRange, [&] { return prepareSearch(input, state); });
}

Result<NormalSearch> normalSearch(const NormalSearchInput& input,
                                  const NormalVersorgungState& state, dice::Dice& dice) {
    return numbers::decide(texts::outOfRange, [&] {
        NormalSearch search = prepareSearch(input, state);
        const auto etiquette = numbers::orRefuse(texts::runOfSixes, [&] {
            return dice::ZaehleErfolge(dice, search.MW, search.dice, dice::Purpose::Etiquette);
        });
        if (!etiquette)
            numbers::abandon();
        search.etiquette = *etiquette;
        NormalVersorgungState& s = search.state;
        s.Erfolge = search.etiquette.successes;
        if (s.Erfolge < 1)
            return search;
        search.doctor = rollDoctor(s.FertMod, dice);
        if (!search.doctor)
            numbers::abandon();
        s.Fertigkeit = search.doctor->doctor.Fertigkeit;
        s.Equipment = search.doctor->doctor.Equipment;
        s.EquipmentBasis = s.Equipment;
        return search;
    });
}

Result<NormalVersorgungState> improveQual(const NormalVersorgungState& state) {
    // Compared as int, so a basis near the top of the range cannot wrap the limit.
    if (!(state.Equipment < state.EquipmentBasis + 6 && state.Erfolge > 1))
        return AtLimit{};
    return untilLimit([&] {
        NormalVersorgungState s = state;
        s.Equipment = numbers::add(s.Equipment, 1);
        s.Erfolge = numbers::sub(s.Erfolge, 1);
        return s;
    });
}

Result<NormalVersorgungState> diminQual(const NormalVersorgungState& state) {
    // The level found itself passes the test, so one level below it is reachable.
    if (!(state.Equipment >= state.EquipmentBasis))
        return AtLimit{};
    return untilLimit([&] {
        NormalVersorgungState s = state;
        s.Equipment = numbers::sub(s.Equipment, 1);
        s.Erfolge = numbers::add(s.Erfolge, 1);
        return s;
    });
}

Result<NormalVersorgungState> improveTime(const NormalVersorgungState& state) {
    if (!(state.Erfolge > 1))
        return AtLimit{};
    NormalVersorgungState s = state;
    s.Zeitraum = s.Zeitraum / 2.0f;
    s.Erfolge = static_cast<Int16>(s.Erfolge - 1);
    return s;
}

Result<NormalVersorgungState> diminTime(const NormalVersorgungState& state) {
    // The only trade without a limit of its own: it stops where a value would overflow.
    NormalVersorgungState s = state;
    s.Zeitraum = s.Zeitraum + s.Zeitraum;
    if (!std::isfinite(s.Zeitraum))
        return AtLimit{};
    return untilLimit([&] {
        s.Erfolge = numbers::add(s.Erfolge, 1);
        return s;
    });
}

} // namespace care
