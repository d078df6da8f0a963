#pragma once
// The emergency care search ("Suche einen Arzt!" in NotfallVersorgung).
//
// How a search flows: the window reads its controls into an EmergencySearchInput and calls
// emergencySearch() with a copy of its variables. prepareEmergencySearch() sums the modifiers
// of the tables (choosing the default contract when none is chosen); the 2W6 and the doctor
// table then give the doctor. Every input is a choice, so only an impossible overflow could
// refuse. The window applies the result in the order the user sees it, making every caption
// from the numbers here. The forecast calls prepareEmergencySearch() and the doctor table
// itself.

#include "CareTables.h"
#include "numbers/Refusal.h"

namespace care {

using numbers::Result;

// The per-window variables under their given names; they live for the whole run.
struct NotfallVersorgungState {
    Int16 Modif = 0;
    Int16 Fertigkeit = 0;
};

struct EmergencySearchInput {
    std::optional<RescueService> service{};
    std::optional<RescueTeam> team{};
    QString kontrakt{};  // shown text of cmbKontrakt ("" without a selection)
    QString gegend{};    // cmbGegend
    bool sinlos = false; // chkSIN
    bool arrest = false; // chkArrest
};

struct EmergencySearch {
    // The contract list showed no entry: select defaultContract() in it.
    bool selectDefaultContract = false;
    QStringList meldungen; // lstModifMeld
    NotfallVersorgungState state;
    DoctorRoll doctor; // once rolled; on a refusal the window says so before showing the levels
};

// Everything before the dice: the modifiers summed.
Result<EmergencySearch> prepareEmergencySearch(const EmergencySearchInput& input,
                                               const NotfallVersorgungState& state);

// A whole search with dice from `dice`; dice not given leave it Abandoned.
Result<EmergencySearch> emergencySearch(const EmergencySearchInput& input,
                                        const NotfallVersorgungState& state, dice::Dice& dice);

} // namespace care
