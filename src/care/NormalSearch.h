#pragma once
// The normal care search ("Suche einen Arzt!" in NormalVersorgung) and the trade of its spare
// successes against time and equipment.
//
// How a search flows: the window reads its controls into a NormalSearchInput and calls
// normalSearch() with a copy of its variables (NormalVersorgungState). prepareNormalSearch()
// checks the etiquette text and sums the modifiers of the tables; the etiquette test is rolled;
// without a success the search ends in the first refusal, otherwise the 2W6 give the doctor.
// The window gets back either the refusal (one message naming the field; nothing changes) or
// the NormalSearch, and applies it in the order the user sees it, making every caption from
// the numbers here; the etiquette dice go to the main window's list. A trade button calls its
// step with the variables and shows the new ones, or does nothing when refused. The forecast
// calls prepareNormalSearch() and the doctor table itself, so it never disagrees with a search.

#include "CareTables.h"
#include "numbers/Refusal.h"

namespace care {

using numbers::Result;

// The per-window variables under their given names. They live for the whole run: closing the
// window discards its controls, never these values.
struct NormalVersorgungState {
    Int16 Modif = 0;
    Int16 Fertigkeit = 0;
    Int16 FertMod = 0;
    float Zeitraum = 0.0f; // days
    Int16 Erfolge = 0;
    Int16 Equipment = 0;
    Int16 EquipmentBasis = 0;
};

struct NormalSearchInput {
    std::optional<Provider> provider{};
    std::optional<Connection> connection{};
    QString art{};        // shown text of cmbArt ("" without a selection)
    QString kategorie{};  // cmbKategorie
    QString legalitaet{}; // cmbLegalität
    QString gebraeuche{}; // text of txtGebräuche, the number of etiquette dice
};

struct NormalSearch {
    QStringList meldungen; // lstModifMeld
    Int16 MW = 0;          // target number of the etiquette test
    Int16 dice = 0;        // etiquette dice; a negative skill rolls none
    // Modif, FertMod and Zeitraum once prepared; Erfolge once rolled; Fertigkeit, Equipment
    // and EquipmentBasis once a doctor roll was reached (they keep their old values after the
    // first refusal).
    NormalVersorgungState state;
    dice::Roll etiquette;
    std::optional<DoctorRoll> doctor; // empty after the first refusal

    bool firstRefusal() const { return !doctor; }
    // Two or more successes: KurzoderGut opens the trade.
    bool tradeOpens() const { return doctor && state.Erfolge > 1; }
};

// Everything before the dice: the etiquette text checked, the modifiers summed, MW and the
// base period.
Result<NormalSearch> prepareNormalSearch(const NormalSearchInput& input,
                                         const NormalVersorgungState& state);

// A whole search with dice from `dice`; dice not given leave it Abandoned.
Result<NormalSearch> normalSearch(const NormalSearchInput& input,
                                  const NormalVersorgungState& state, dice::Dice& dice);

// The trade. Each step returns the new variables, or AtLimit where its test fails.
// One success for one equipment level more, up to EquipmentBasis + 6; never the last success.
Result<NormalVersorgungState> improveQual(const NormalVersorgungState& state);
// One equipment level less for one success, down to EquipmentBasis - 1.
Result<NormalVersorgungState> diminQual(const NormalVersorgungState& state);
// One success for half the period; never the last success.
Result<NormalVersorgungState> improveTime(const NormalVersorgungState& state);
// Double the period for one success; refused only where the period would leave the float
// range or the successes the 16-bit range.
Result<NormalVersorgungState> diminTime(const NormalVersorgungState& state);

} // namespace care
