#pragma once
// The normal care search ("Suche einen Arzt!" in NormalVersorgung) without widgets: the
// modifier tables, the base period and the search itself. The window reads its controls into
// NormalSearchInput, calls runNormalSearch and applies the result in the order the fields of
// NormalSearchOutcome are declared; the drop-down lists are filled from the same tables.

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

// "Gesuchter Anbieter", in the order the rules test them.
enum class Anbieter { Konzern, Privat, Illegal, Oeffentlich, Klinik, Krankenhaus };
// "Vermittelnde Connection".
enum class Connection { Schieber, Strassendoc };

const QList<OptionRule<Anbieter>>& anbieterRules();
const QList<OptionRule<Connection>>& connectionRules();
const QList<EntryRule>& artRules();        // cmbArt, list order
const QList<EntryRule>& kategorieRules();  // cmbKategorie, list order
const QList<EntryRule>& legalitaetRules(); // cmbLegalität, list order

// The entry texts of the three lists, in the order the window appends them.
QStringList surgeryEntries();
QStringList categoryEntries();
QStringList legalityEntries();

// Sets `Zeitraum` (days) from `FertMod`.
void BerechneGrundzeitraum(NormalVersorgungState& state);

// The caption of lblZeitraum: the period in its shortest form, then " Tage".
QString zeitraumText(float tage);

struct NormalSearchInput {
    std::optional<Anbieter> anbieter{};
    std::optional<Connection> connection{};
    QString art{};        // shown text of cmbArt ("" without a selection)
    QString kategorie{};  // cmbKategorie
    QString legalitaet{}; // cmbLegalität
    QString gebraeuche{}; // text of txtGebräuche, the number of etiquette dice
};

struct NormalSearchOutcome {
    QStringList meldungen; // lstModifMeld
    Int16 Modif = 0;
    Int16 FertMod = 0;
    Int16 MW = 0;
    Int16 anzahlWuerfel = 0; // dice of the etiquette test; a negative skill rolls none
    QString zeitraumText;
    Int16 Erfolge = 0;
    // The etiquette dice for the main window's lstErgebnis: clear it, then append these.
    QStringList etiketteWuerfel;
    // Empty after the first refusal: the window shows texts::ersteAblehnung and closes,
    // no 2W6 were rolled. Otherwise the doctor roll; a refusal in it means the window
    // shows texts::zweiteAblehnung before it shows the levels.
    std::optional<Arztwurf> arztwurf;
    // Erfolge > 1 (and no first refusal): KurzoderGut enables the trade buttons.
    bool kurzoderGut = false;
    // All seven values for the window to store. After the first refusal Fertigkeit,
    // Equipment and EquipmentBasis keep their old values.
    NormalVersorgungState state;

    bool ersteAblehnung() const { return !arztwurf.has_value(); }
};

struct NormalSearchResult {
    // Set when txtGebräuche is unusable: show it and change nothing; `outcome` is empty.
    std::optional<QString> eingabeFehler;
    NormalSearchOutcome outcome;
};

// Validates the etiquette text first; only then rolls the etiquette test and the 2W6.
NormalSearchResult runNormalSearch(const NormalSearchInput& input,
                                   const NormalVersorgungState& state, dice::Wuerfelomat& dice);

} // namespace care
