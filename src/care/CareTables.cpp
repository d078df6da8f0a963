#include "CareTables.h"

#include <algorithm>
#include <array>
#include <limits>

namespace care {

void ModifierSum::apply(Int16 modif, Int16 fertMod, const QString& message) {
    Modif = numbers::add(Modif, modif);
    FertMod = numbers::add(FertMod, fertMod);
    meldungen.append(message);
}

void ModifierSum::applyEntry(const QList<EntryRule>& rules, const QString& text,
                             const QString& prefix) {
    for (const auto& rule : rules) {
        if (text == rule.entry)
            apply(rule.modif, rule.fertMod, prefix + text + rule.suffix);
    }
}

const QList<OptionRule<Provider>>& providerRules() {
    static const QList<OptionRule<Provider>> rules{
        {Provider::Konzern, 2, 0, QStringLiteral("Konzerneigen: +2")},
        {Provider::Privat, 1, -1, QStringLiteral("Privat: +1")},
        {Provider::Illegal, -1, -2, QStringLiteral("Illegal: -1")},
        {Provider::Oeffentlich, -2, -1, QStringLiteral("Öffentlich: -2")},
        {Provider::Klinik, 0, 0, QStringLiteral("Klinik: +0")},
        {Provider::Krankenhaus, 2, 0, QStringLiteral("Krankenhaus: +2")},
    };
    return rules;
}

const QList<OptionRule<Connection>>& connectionRules() {
    // The message spells "Strassendoc" with ss, unlike the option's caption.
    static const QList<OptionRule<Connection>> rules{
        {Connection::Schieber, -1, 0, QStringLiteral("Schieber: -1")},
        {Connection::Strassendoc, -2, 0, QStringLiteral("Strassendoc: -2")},
    };
    return rules;
}

const QList<EntryRule>& surgeryRules() {
    static const QList<EntryRule> rules{
        {QStringLiteral("Kosmetisch"), -1, 0, QStringLiteral(": -1")},
        {QStringLiteral("Implantat"), 1, 0, QStringLiteral(": +1")},
        {QStringLiteral("Therapeutisch"), 0, 0, QStringLiteral(": +0")},
        {QStringLiteral("Transimplantat"), 1, 0, QStringLiteral(": +1")},
        {QStringLiteral("Trauma"), 0, 0, QStringLiteral(": +0")},
        {QStringLiteral("Nanochirugie"), 2, 0, QStringLiteral(": +2")},
    };
    return rules;
}

const QList<EntryRule>& categoryRules() {
    // Only the Modif contribution is in the message; FertMod shows in its sum alone.
    static const QList<EntryRule> rules{
        {QStringLiteral("Standardcyberware"), 0, 0, QStringLiteral(": +0")},
        {QStringLiteral("Alphaware"), 2, 1, QStringLiteral(": +2")},
        {QStringLiteral("Betaware"), 4, 2, QStringLiteral(": +4")},
        {QStringLiteral("Deltaware"), 8, 4, QStringLiteral(": +8")},
        {QStringLiteral("Standardbioware"), 2, 1, QStringLiteral(": +2")},
        {QStringLiteral("Kosmetische Bioware"), 2, 0, QStringLiteral(": +2")},
        {QStringLiteral("Kultivierte Bioware"), 4, 2, QStringLiteral(": +4")},
        {QStringLiteral("Nanoware"), 4, 2, QStringLiteral(": +4")},
    };
    return rules;
}

const QList<EntryRule>& legalityRules() {
    static const QList<EntryRule> rules{
        {QStringLiteral("Legal"), -1, 0, QStringLiteral(": -1")},
        {QStringLiteral("Paralegal/Klasse A"), 0, 0, QStringLiteral(": +0")},
        {QStringLiteral("Sicherheit/Klasse B"), 1, 0, QStringLiteral(": +1")},
        {QStringLiteral("Militärisch/Klasse C"), 2, 0, QStringLiteral(": +2")},
    };
    return rules;
}

const QList<OptionRule<RescueService>>& rescueServiceRules() {
    static const QList<OptionRule<RescueService>> rules{
        {RescueService::Sanivex, 2, 0, QStringLiteral("Sanivex: +2")},
        {RescueService::Rapidmed, 1, 0, QStringLiteral("Rapidmed o.ä.: +1")},
        {RescueService::Privat, 0, 0, QStringLiteral("Privat: +0")},
        {RescueService::Illegal, -1, 0, QStringLiteral("Öffentlich/Illegal: -1")},
    };
    return rules;
}

const QList<OptionRule<RescueTeam>>& rescueTeamRules() {
    // The messages abbreviate the captions "High-Threat" and "Standard/Kriseneinsatz".
    static const QList<OptionRule<RescueTeam>> rules{
        {RescueTeam::HTR, -1, 0, QStringLiteral("High Threat Reaction: -1")},
        {RescueTeam::Kriseneinsatz, 0, 0, QStringLiteral("Std/Kriseinsatz: +0")},
    };
    return rules;
}

const QList<EntryRule>& contractRules() {
    static const QList<EntryRule> rules{
        {QStringLiteral("Super-Platin"), 3, 0, QStringLiteral(": +3")},
        {QStringLiteral("Platin"), 2, 0, QStringLiteral(": +2")},
        {QStringLiteral("Gold"), 1, 0, QStringLiteral(": +1")},
        {QStringLiteral("Basis"), 0, 0, QStringLiteral(": +0")},
        {QStringLiteral("Keiner"), -1, 0, QStringLiteral(": -1")},
    };
    return rules;
}

const QList<EntryRule>& areaRules() {
    static const QList<EntryRule> rules{
        {QStringLiteral("AAA oder AA"), 1, 0, QStringLiteral(": +1")},
        {QStringLiteral("A oder B"), 0, 0, QStringLiteral(": +0")},
        {QStringLiteral("C oder D"), -1, 0, QStringLiteral(": -1")},
        {QStringLiteral("E oder Z"), -2, 0, QStringLiteral(": -2")},
    };
    return rules;
}

const QList<OptionRule<Situation>>& situationRules() {
    static const QList<OptionRule<Situation>> rules{
        {Situation::SINlos, -1, 0, QStringLiteral("SINlos: -1")},
        {Situation::Arrest, -2, 0, QStringLiteral("Unter Arrest: -2")},
    };
    return rules;
}

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
