#pragma once
// The healing test behind "HEILEN!": one press heals one damage box.
//
// How a press flows: Form1 reads its controls into a HealingInput and calls heal() with a copy
// of its variables (Form1State). prepare() reads and checks every field the press needs and
// builds the target number with its modifier lines; finish() derives duration, cost and totals
// from the successes, and runs for every number of successes before a single die is rolled,
// so no die is asked for a press that would then be refused. Form1 gets back
// either the refusal (one message naming the field; nothing changes) or the Press, and applies
// it to its controls in the order the user sees them change, making every caption from the
// numbers here. The forecast's next press is the same prepareSure(), and its recovery calls
// prepare() and finish(), so it can never disagree with a press.

#include "dice/wuerfelomat.h"
#include "numbers/Amount.h"
#include "numbers/Refusal.h"

#include <QStringList>
#include <optional>

namespace healing {

using numbers::Int16;
using numbers::Result;

// The main window's per-window variables under their given names. They outlive the window's
// controls: the window slot owns them.
struct Form1State {
    Int16 Schadenskaestchen = 0;
    QString Schadensniveau;
    Int16 Verletzungsmod = 0;
    QString Mindestlebensstil;
    Int16 MindeststilStufe = 0;
    Int16 Lebensstilstufe = 0; // as the last press read it; 0 matches the preselected "Strasse"
    Int16 Mindestwurf = 0;
    Int16 Umstaende = 0;
    float Grundzeitraum = 0.0f; // hours
    Int16 Konstitution = 0;
    float Heilungsdauer = 0.0f; // hours
    Int16 BioMod = 0;
    Int16 BioDivisor = 0;
    float Gesamtzeit = 0.0f; // hours since start or Reset
    numbers::Amount Kosten;  // Nuyen since start or Reset
};

// The lifestyle options from top to bottom. Luxus shares level 4 with Oberschicht: no
// lifestyle reaches the level 5 a deadly wound needs.
enum class Lifestyle { Strasse, Squatter, Unterschicht, Mittelschicht, Oberschicht, Luxus };

// The selected option of the frame Pflegebedingungen.
enum class CareCondition { daheim, Krankenhaus, schlechteUmst, furchtbareUmst };

// What the window reads at the press. The defaults are the window's start values.
struct HealingInput {
    QString Schaden = QStringLiteral("0");
    QString txtKonstitution = QStringLiteral("3");
    QString Willenskraft = QStringLiteral("3");
    QString BioIndex = QStringLiteral("0");
    QString EssenzDok = QStringLiteral("6");
    QString txtBioTech = QStringLiteral("8");
    CareCondition care = CareCondition::daheim;
    // The selected lifestyle option; the window always gives it. Left out, the state's
    // Lebensstilstufe counts as it stands, for a caller that keeps the level itself.
    std::optional<Lifestyle> lifestyle{};
    bool dokBio = false;
    bool undokBio = false;
    bool dokCyb = false;
    bool undokCyb = false;
    bool magischeBetreuung = false;
    bool Erwachter = false;
    bool Kommunikation = false;
};

// The changes a press makes to the main window's inputs, in the order the window applies them.
// Unchecking an unchecked box or enabling an enabled control is harmless, so the window simply
// applies every flag that is set.
struct ControlChanges {
    // Select the option Krankenhaus (its click handler runs if the selection changes), then
    // call aktiviereKrankenhaus in any case.
    bool selectKrankenhaus = false;
    bool enableBioIndex = false; // BioIndexFrame, then BioIndex
    bool uncheckDokBio = false;
    bool uncheckUndokBio = false;
    bool uncheckDokCyb = false;
    bool uncheckUndokCyb = false;
    bool enableDokCybFrame = false;
    bool clearEssenzDok = false; // set the text of EssenzDok to ""

    friend bool operator==(const ControlChanges&, const ControlChanges&) = default;
};

struct Press {
    // Schaden held 0: "Sind Sie überhaupt krank???"; only Meldungen is cleared.
    bool notIll = false;
    Form1State state; // every variable as the press leaves it
    bool hospital = false;
    Int16 unraisedTarget = 0; // Mindestwurf before it was raised to 2
    QStringList Meldungen;    // one line per applied modifier
    ControlChanges changes;
    Int16 skill = 0;                // the doctor's Biotech skill, read at every press
    bool magischeBetreuung = false; // priced in hospital
    dice::Roll roll;                // the dice and successes, once finished

    bool targetRaised() const { return unraisedTarget < 2; }
    bool healed() const { return !notIll && state.Schadenskaestchen < 1; }
};

// Everything before the dice: reads and checks every field the press needs, builds the damage
// level, the target number with its lines, the base period and the number of dice
// (state.Konstitution).
Result<Press> prepare(const HealingInput& input, const Form1State& state);

// A prepared press and its finish for every number of successes its dice can bring (the index):
// a press that passes is carried out whatever the dice show, so dice are asked for only then.
struct SurePress {
    Press prepared;
    QList<Press> finished; // none when notIll
};
Result<SurePress> prepareSure(const HealingInput& input, const Form1State& state);

// The rest of a prepared press for a roll of its dice: healing duration, hospital cost, one
// box less and the total time.
Result<Press> finish(const Press& prepared, const dice::Roll& roll);

// A whole press: prepareSure(), then its dice from `dice`. Dice that are not given (the user
// abandoned typing them in) leave it Abandoned: nothing changes.
Result<Press> heal(const HealingInput& input, const Form1State& state, dice::Dice& dice);

} // namespace healing
