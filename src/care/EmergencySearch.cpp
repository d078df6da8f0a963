#include "EmergencySearch.h"

#include "CareTexts.h"

namespace care {

namespace {

EmergencySearch prepareSearch(const EmergencySearchInput& input,
                              const NotfallVersorgungState& state) {
    EmergencySearch search;
    ModifierSum sum;
    sum.applyOption(rescueServiceRules(), input.service);
    sum.applyOption(rescueTeamRules(), input.team);
    search.selectDefaultContract = input.kontrakt.isEmpty();
    sum.applyEntry(contractRules(),
                   search.selectDefaultContract ? defaultContract() : input.kontrakt);
    sum.applyEntry(areaRules(), input.gegend, QStringLiteral("Gegend "));
    for (const auto& rule : situationRules()) {
        if (rule.option == Situation::SINlos ? input.sinlos : input.arrest)
            sum.apply(rule.modif, rule.fertMod, rule.message());
    }
    search.meldungen = sum.meldungen;
    search.state = state;
    search.state.Modif = sum.Modif;
    return search;
}

} // namespace

Result<EmergencySearch> prepareEmergencySearch(const EmergencySearchInput& input,
                                               const NotfallVersorgungState& state) {
    return numbers::decide(texts::outOfRange, [&] { return prepareSearch(input, state); });
}

Result<EmergencySearch> emergencySearch(const EmergencySearchInput& input,
                                        const NotfallVersorgungState& state, dice::Dice& dice) {
    return numbers::decide(texts::outOfRange, [&] {
        EmergencySearch search = prepareSearch(input, state);
        const auto doctor = rollDoctor(search.state.Modif, dice);
        if (!doctor)
            numbers::abandon();
        search.doctor = *doctor;
        search.state.Fertigkeit = search.doctor.doctor.Fertigkeit;
        return search;
    });
}

} // namespace care
