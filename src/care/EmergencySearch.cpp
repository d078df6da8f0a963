#include "EmergencySearch.h"

#include "dice/wuerfelomat.h"

namespace care {

const QList<OptionRule<Dienstleister>>& dienstleisterRules() {
    static const QList<OptionRule<Dienstleister>> rules{
        {Dienstleister::Sanivex, 2, 0, QStringLiteral("Sanivex: +2")},
        {Dienstleister::Rapidmed, 1, 0, QStringLiteral("Rapidmed o.ä.: +1")},
        {Dienstleister::Privat, 0, 0, QStringLiteral("Privat: +0")},
        {Dienstleister::Illegal, -1, 0, QStringLiteral("Öffentlich/Illegal: -1")},
    };
    return rules;
}

const QList<OptionRule<Rettungsteam>>& rettungsteamRules() {
    // The messages abbreviate the captions "High-Threat" and "Standard/Kriseneinsatz".
    static const QList<OptionRule<Rettungsteam>> rules{
        {Rettungsteam::HTR, -1, 0, QStringLiteral("High Threat Reaction: -1")},
        {Rettungsteam::Kriseneinsatz, 0, 0, QStringLiteral("Std/Kriseinsatz: +0")},
    };
    return rules;
}

const QList<EntryRule>& kontraktRules() {
    static const QList<EntryRule> rules{
        {QStringLiteral("Super-Platin"), 3, 0, QStringLiteral(": +3")},
        {QStringLiteral("Platin"), 2, 0, QStringLiteral(": +2")},
        {QStringLiteral("Gold"), 1, 0, QStringLiteral(": +1")},
        {QStringLiteral("Basis"), 0, 0, QStringLiteral(": +0")},
        {QStringLiteral("Keiner"), -1, 0, QStringLiteral(": -1")},
    };
    return rules;
}

const QList<EntryRule>& gegendRules() {
    static const QList<EntryRule> rules{
        {QStringLiteral("AAA oder AA"), 1, 0, QStringLiteral(": +1")},
        {QStringLiteral("A oder B"), 0, 0, QStringLiteral(": +0")},
        {QStringLiteral("C oder D"), -1, 0, QStringLiteral(": -1")},
        {QStringLiteral("E oder Z"), -2, 0, QStringLiteral(": -2")},
    };
    return rules;
}

const QList<OptionRule<Lage>>& lageRules() {
    static const QList<OptionRule<Lage>> rules{
        {Lage::SINlos, -1, 0, QStringLiteral("SINlos: -1")},
        {Lage::Arrest, -2, 0, QStringLiteral("Unter Arrest: -2")},
    };
    return rules;
}

QString kontraktDefault() {
    return kontraktRules().constLast().entry;
}

QStringList contractEntries() {
    // The list leads with "no contract"; the rules test it last.
    QStringList entries = entryTexts(kontraktRules());
    entries.move(entries.size() - 1, 0);
    return entries;
}

QStringList areaEntries() {
    return entryTexts(gegendRules());
}

EmergencySearchResult runEmergencySearch(const EmergencySearchInput& input,
                                         const NotfallVersorgungState& state,
                                         dice::Wuerfelomat& dice) {
    EmergencySearchResult result;
    ModifierSum sum;
    sum.applyOption(dienstleisterRules(), input.dienstleister);
    sum.applyOption(rettungsteamRules(), input.rettungsteam);

    result.kontraktAufDefault = input.kontrakt.isEmpty();
    const QString kontrakt = result.kontraktAufDefault ? kontraktDefault() : input.kontrakt;
    sum.applyEntry(kontraktRules(), kontrakt);
    sum.applyEntry(gegendRules(), input.gegend, QStringLiteral("Gegend "));
    for (const auto& rule : lageRules()) {
        if (rule.option == Lage::SINlos ? input.sinlos : input.arrest)
            sum.apply(rule.modif, rule.fertMod, rule.message);
    }

    result.meldungen = sum.meldungen;
    result.Modif = sum.Modif;
    result.arztwurf = wirfArzt(sum.Modif, dice);
    result.state = state;
    result.state.Modif = sum.Modif;
    result.state.Fertigkeit = result.arztwurf.arzt.Fertigkeit;
    return result;
}

} // namespace care
