#pragma once
// The emergency care search ("Suche einen Arzt!" in NotfallVersorgung) without widgets: the
// modifier tables and the search. Its inputs are all choices, so nothing can be refused; the
// window applies the result in the order the fields of EmergencySearchResult are declared.

#include "BestimmeArzt.h"
#include "ModifierRules.h"
#include "SearchState.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace dice {
class Wuerfelomat;
}

namespace care {

// "Medizinisches Dienstleistungsunternehmen", in the order the rules test them.
enum class Dienstleister { Sanivex, Rapidmed, Privat, Illegal };
enum class Rettungsteam { HTR, Kriseneinsatz };
// The two check boxes of "Situation", in the order the rules test them.
enum class Lage { SINlos, Arrest };

const QList<OptionRule<Dienstleister>>& dienstleisterRules();
const QList<OptionRule<Rettungsteam>>& rettungsteamRules();
const QList<EntryRule>& kontraktRules(); // tested order, not list order
const QList<EntryRule>& gegendRules();   // list order
const QList<OptionRule<Lage>>& lageRules();

// The entry texts of cmbKontrakt and cmbGegend, in the order the window appends them.
QStringList contractEntries();
QStringList areaEntries();

// The contract the search assumes, and selects, when none is chosen.
QString kontraktDefault();

struct EmergencySearchInput {
    std::optional<Dienstleister> dienstleister{};
    std::optional<Rettungsteam> rettungsteam{};
    QString kontrakt{};  // shown text of cmbKontrakt ("" without a selection)
    QString gegend{};    // cmbGegend
    bool sinlos = false; // chkSIN
    bool arrest = false; // chkArrest
};

struct EmergencySearchResult {
    // The contract list showed no entry: select kontraktDefault() in it.
    bool kontraktAufDefault = false;
    QStringList meldungen; // lstModifMeld
    Int16 Modif = 0;
    // W1, W2, S and the levels; on a refusal the window shows texts::zweiteAblehnung
    // before it shows the levels.
    Arztwurf arztwurf;
    NotfallVersorgungState state; // for the window to store
};

EmergencySearchResult runEmergencySearch(const EmergencySearchInput& input,
                                         const NotfallVersorgungState& state,
                                         dice::Wuerfelomat& dice);

} // namespace care
