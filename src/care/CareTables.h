#pragma once
// The tables of the doctor searches: the modifiers of every option, drop-down entry and check
// box, the base period of the normal search, and the doctor table both searches share. An
// option rule belongs to one option button and carries its own label for the message (which
// need not repeat the caption); an entry rule belongs to one drop-down entry, whose message is
// the entry text. Every message ends in its rule's Modif, made from the number, so the two
// cannot disagree. The windows fill their drop-down lists from the same tables.

#include "dice/wuerfelomat.h"
#include "numbers/Checked.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace care {

using numbers::Int16;

// The modifier as every message shows it: ": +1", ": +0", ": -1".
QString modifierText(Int16 modif);

// The message names the option in `label` (which need not repeat the caption) and shows the
// Modif contribution; a FertMod contribution shows only in its sum.
template <typename Option> struct OptionRule {
    Option option;
    QString label;
    Int16 modif = 0;
    Int16 fertMod = 0;

    QString message() const { return label + modifierText(modif); }
};

struct EntryRule {
    QString entry;
    Int16 modif = 0;
    Int16 fertMod = 0;

    QString suffix() const { return modifierText(modif); }
};

// Collects the messages in the order the rules are tested, with `Modif` and `FertMod`.
struct ModifierSum {
    QStringList meldungen;
    Int16 Modif = 0;
    Int16 FertMod = 0;

    void apply(Int16 modif, Int16 fertMod, const QString& message);

    // The rule of the selected option, if any; an empty group adds nothing.
    template <typename Option>
    void applyOption(const QList<OptionRule<Option>>& rules, std::optional<Option> selected) {
        for (const auto& rule : rules) {
            if (selected == rule.option)
                apply(rule.modif, rule.fertMod, rule.message());
        }
    }

    // The rule whose entry equals `text` exactly and case-sensitively; other texts, the empty
    // one included, add nothing. `prefix` leads the message ("Gegend ").
    void applyEntry(const QList<EntryRule>& rules, const QString& text, const QString& prefix = {});
};

// The normal search: "Gesuchter Anbieter" and "Vermittelnde Connection" in the order the rules
// test them, and the three drop-down lists in list order.
enum class Provider { Konzern, Privat, Illegal, Oeffentlich, Klinik, Krankenhaus };
enum class Connection { Schieber, Strassendoc };
const QList<OptionRule<Provider>>& providerRules();
const QList<OptionRule<Connection>>& connectionRules();
const QList<EntryRule>& surgeryRules();  // cmbArt
const QList<EntryRule>& categoryRules(); // cmbKategorie
const QList<EntryRule>& legalityRules(); // cmbLegalität

// The emergency search: "Medizinisches Dienstleistungsunternehmen", "Rettungsteam" and the two
// check boxes of "Situation" in the order the rules test them.
enum class RescueService { Sanivex, Rapidmed, Privat, Illegal };
enum class RescueTeam { HTR, Kriseneinsatz };
enum class Situation { SINlos, Arrest };
const QList<OptionRule<RescueService>>& rescueServiceRules();
const QList<OptionRule<RescueTeam>>& rescueTeamRules();
const QList<EntryRule>& contractRules(); // cmbKontrakt, tested order (not list order)
const QList<EntryRule>& areaRules();     // cmbGegend, list order
const QList<OptionRule<Situation>>& situationRules();

// The entry texts of the drop-down lists, in the order the windows append them.
QStringList entryTexts(const QList<EntryRule>& rules);
QStringList contractEntries();
// The contract the emergency search assumes, and selects, when none is chosen.
QString defaultContract();

// Zeitraum in days for FertMod: 1 at -2 or less up to 180 at 4 or more.
float BerechneGrundzeitraum(Int16 FertMod);

// The doctor table: the 2W6 result S, modifier included, gives the found doctor's levels;
// below 1 both are 0 and nobody helps.
struct Doctor {
    Int16 Fertigkeit = 0;
    Int16 Equipment = 0;
    bool refused = false; // "Keiner will dir helfen! Sorry, Kollego!"
};
Doctor BestimmeArzt(Int16 S);

// The doctor roll as a window shows it: the two dice, S = mod + (W1 + W2), the table's row.
struct DoctorRoll {
    Int16 W1 = 0;
    Int16 W2 = 0;
    Int16 S = 0;
    Doctor doctor;
};
// Rolls W1, then W2, and reads the table; nothing when the dice were not given.
std::optional<DoctorRoll> rollDoctor(Int16 mod, dice::Dice& dice);

} // namespace care
