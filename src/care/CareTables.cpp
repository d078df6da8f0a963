#include "CareTables.h"

#include <algorithm>
#include <array>
#include <limits>

namespace care {

QString modifierText(Int16 modif) {
    // Plain digits in every locale, like the rest of each message.
    return (modif < 0 ? QStringLiteral(": ") : QStringLiteral(": +")) + QString::number(modif);
}

void ModifierSum::apply(Int16 modif, Int16 fertMod, const QString& message) {
    Modif = numbers::add(Modif, modif);
    FertMod = numbers::add(FertMod, fertMod);
    meldungen.append(message);
}

void ModifierSum::applyEntry(const QList<EntryRule>& rules, const QString& text,
                             const QString& prefix) {
    for (const auto& rule : rules) {
        if (text == rule.entry)
            apply(rule.modif, rule.fertMod, prefix + text + rule.suffix());
    }
}

// One rule a line: the option with its message's label, or the entry; then Modif and FertMod.
// Each message shows the Modif of its rule, made from the number.
// clang-format off
const QList<OptionRule<Provider>>& providerRules() {
    static const QList<OptionRule<Provider>> rules{
        {Provider::Konzern, QStringLiteral("Konzerneigen"), 2, 0},
        {Provider::Privat, QStringLiteral("Privat"), 1, -1},
        {Provider::Illegal, QStringLiteral("Illegal"), -1, -2},
        {Provider::Oeffentlich, QStringLiteral("Öffentlich"), -2, -1},
        {Provider::Klinik, QStringLiteral("Klinik"), 0, 0},
        {Provider::Krankenhaus, QStringLiteral("Krankenhaus"), 2, 0},
    };
    return rules;
}

const QList<OptionRule<Connection>>& connectionRules() {
    // The message spells "Strassendoc" with ss, unlike the option's caption.
    static const QList<OptionRule<Connection>> rules{
        {Connection::Schieber, QStringLiteral("Schieber"), -1, 0},
        {Connection::Strassendoc, QStringLiteral("Strassendoc"), -2, 0},
    };
    return rules;
}

const QList<EntryRule>& surgeryRules() {
    static const QList<EntryRule> rules{
        {QStringLiteral("Kosmetisch"), -1, 0},
        {QStringLiteral("Implantat"), 1, 0},
        {QStringLiteral("Therapeutisch"), 0, 0},
        {QStringLiteral("Transimplantat"), 1, 0},
        {QStringLiteral("Trauma"), 0, 0},
        {QStringLiteral("Nanochirugie"), 2, 0},
    };
    return rules;
}

const QList<EntryRule>& categoryRules() {
    // Only the Modif contribution is in the message; FertMod shows in its sum alone.
    static const QList<EntryRule> rules{
        {QStringLiteral("Standardcyberware"), 0, 0},
        {QStringLiteral("Alphaware"), 2, 1},
        {QStringLiteral("Betaware"), 4, 2},
        {QStringLiteral("Deltaware"), 8, 4},
        {QStringLiteral("Standardbioware"), 2, 1},
        {QStringLiteral("Kosmetische Bioware"), 2, 0},
        {QStringLiteral("Kultivierte Bioware"), 4, 2},
        {QStringLiteral("Nanoware"), 4, 2},
    };
    return rules;
}

const QList<EntryRule>& legalityRules() {
    static const QList<EntryRule> rules{
        {QStringLiteral("Legal"), -1, 0},
        {QStringLiteral("Paralegal/Klasse A"), 0, 0},
        {QStringLiteral("Sicherheit/Klasse B"), 1, 0},
        {QStringLiteral("Militärisch/Klasse C"), 2, 0},
    };
    return rules;
}

const QList<OptionRule<RescueService>>& rescueServiceRules() {
    static const QList<OptionRule<RescueService>> rules{
        {RescueService::Sanivex, QStringLiteral("Sanivex"), 2, 0},
        {RescueService::Rapidmed, QStringLiteral("Rapidmed o.ä."), 1, 0},
        {RescueService::Privat, QStringLiteral("Privat"), 0, 0},
        {RescueService::Illegal, QStringLiteral("Öffentlich/Illegal"), -1, 0},
    };
    return rules;
}

const QList<OptionRule<RescueTeam>>& rescueTeamRules() {
    // The messages abbreviate the captions "High-Threat" and "Standard/Kriseneinsatz".
    static const QList<OptionRule<RescueTeam>> rules{
        {RescueTeam::HTR, QStringLiteral("High Threat Reaction"), -1, 0},
        {RescueTeam::Kriseneinsatz, QStringLiteral("Std/Kriseinsatz"), 0, 0},
    };
    return rules;
}

const QList<EntryRule>& contractRules() {
    static const QList<EntryRule> rules{
        {QStringLiteral("Super-Platin"), 3, 0},
        {QStringLiteral("Platin"), 2, 0},
        {QStringLiteral("Gold"), 1, 0},
        {QStringLiteral("Basis"), 0, 0},
        {QStringLiteral("Keiner"), -1, 0},
    };
    return rules;
}

const QList<EntryRule>& areaRules() {
    static const QList<EntryRule> rules{
        {QStringLiteral("AAA oder AA"), 1, 0},
        {QStringLiteral("A oder B"), 0, 0},
        {QStringLiteral("C oder D"), -1, 0},
        {QStringLiteral("E oder Z"), -2, 0},
    };
    return rules;
}

const QList<OptionRule<Situation>>& situationRules() {
    static const QList<OptionRule<Situation>> rules{
        {Situation::SINlos, QStringLiteral("SINlos"), -1, 0},
        {Situation::Arrest, QStringLiteral("Unter Arrest"), -2, 0},
    };
    return rules;
}

// clang-format on

QStringList entryTexts(const QList<EntryRule>& rules) {
    QStringList texts;
    for (const auto& rule : rules)
        texts.append(rule.entry);
    return texts;
}

QStringList contractEntries() {
    // The list leads with "no contract"; the rules test it last.
    QStringList entries = entryTexts(contractRules());
    entries.move(entries.size() - 1, 0);
    return entries;
}

QString defaultContract() {
    return contractRules().constLast().entry;
}

float BerechneGrundzeitraum(Int16 FertMod) {
    // Days for FertMod -2 (or less) up to 4 (or more).
    constexpr std::array<float, 7> days{1.0f, 2.0f, 7.0f, 14.0f, 30.0f, 60.0f, 180.0f};
    return days[static_cast<std::size_t>(std::clamp<int>(FertMod, -2, 4) + 2)];
}

Doctor BestimmeArzt(Int16 S) {
    struct Row {
        Int16 highestS;
        Int16 fertigkeit;
        Int16 equipment;
    };
    static constexpr std::array<Row, 11> table{{
        {1, 2, 1},
        {2, 3, 1},
        {3, 3, 2},
        {5, 4, 2},
        {8, 5, 3},
        {10, 6, 4},
        {11, 7, 4},
        {12, 7, 5},
        {13, 8, 5},
        {14, 9, 6},
        {std::numeric_limits<Int16>::max(), 10, 6},
    }};
    if (S < 1)
        return {0, 0, true};
    for (const Row& row : table) {
        if (S <= row.highestS)
            return {row.fertigkeit, row.equipment, false};
    }
    return {}; // unreachable: the last row ends at the top of the range
}

std::optional<DoctorRoll> rollDoctor(Int16 mod, dice::Dice& dice) {
    const auto faces = dice.plain(2, dice::Purpose::DoctorSearch);
    if (!faces)
        return std::nullopt;
    DoctorRoll roll;
    roll.W1 = faces->at(0);
    roll.W2 = faces->at(1);
    roll.S = numbers::add(mod, numbers::add(roll.W1, roll.W2));
    roll.doctor = BestimmeArzt(roll.S);
    return roll;
}

} // namespace care
