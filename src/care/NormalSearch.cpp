#include "NormalSearch.h"

#include "CareTexts.h"
#include "dice/wuerfelomat.h"
#include "numbers/Text.h"

#include <algorithm>
#include <array>
#include <variant>

namespace care {

const QList<OptionRule<Anbieter>>& anbieterRules() {
    static const QList<OptionRule<Anbieter>> rules{
        {Anbieter::Konzern, 2, 0, QStringLiteral("Konzerneigen: +2")},
        {Anbieter::Privat, 1, -1, QStringLiteral("Privat: +1")},
        {Anbieter::Illegal, -1, -2, QStringLiteral("Illegal: -1")},
        {Anbieter::Oeffentlich, -2, -1, QStringLiteral("Öffentlich: -2")},
        {Anbieter::Klinik, 0, 0, QStringLiteral("Klinik: +0")},
        {Anbieter::Krankenhaus, 2, 0, QStringLiteral("Krankenhaus: +2")},
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

const QList<EntryRule>& artRules() {
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

const QList<EntryRule>& kategorieRules() {
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

const QList<EntryRule>& legalitaetRules() {
    static const QList<EntryRule> rules{
        {QStringLiteral("Legal"), -1, 0, QStringLiteral(": -1")},
        {QStringLiteral("Paralegal/Klasse A"), 0, 0, QStringLiteral(": +0")},
        {QStringLiteral("Sicherheit/Klasse B"), 1, 0, QStringLiteral(": +1")},
        {QStringLiteral("Militärisch/Klasse C"), 2, 0, QStringLiteral(": +2")},
    };
    return rules;
}

QStringList surgeryEntries() {
    return entryTexts(artRules());
}
QStringList categoryEntries() {
    return entryTexts(kategorieRules());
}
QStringList legalityEntries() {
    return entryTexts(legalitaetRules());
}

void BerechneGrundzeitraum(NormalVersorgungState& state) {
    // Days for FertMod -2 (or less) up to 4 (or more).
    constexpr std::array<float, 7> tage{1.0f, 2.0f, 7.0f, 14.0f, 30.0f, 60.0f, 180.0f};
    const int stufe = std::clamp<int>(state.FertMod, -2, 4);
    state.Zeitraum = tage[static_cast<std::size_t>(stufe + 2)];
}

QString zeitraumText(float tage) {
    return numbers::singleText(tage) + texts::tageSuffix;
}

namespace {

// The number of etiquette dice, or the message naming the field.
std::variant<Int16, QString> readGebraeuche(const QString& text) {
    if (const auto anzahl = numbers::parseInt16(text)) {
        if (*anzahl > dice::Wuerfelomat::maxDice)
            return texts::gebraeucheZuGross;
        return std::max<Int16>(*anzahl, 0);
    }
    // A number too large for 16 bits is still "too many dice", not "no number".
    const auto value = numbers::parseDouble(text);
    return value && *value > 0 ? texts::gebraeucheZuGross : texts::gebraeucheKeineZahl;
}

} // namespace

NormalSearchResult runNormalSearch(const NormalSearchInput& input,
                                   const NormalVersorgungState& state, dice::Wuerfelomat& dice) {
    NormalSearchResult result;
    const auto gelesen = readGebraeuche(input.gebraeuche);
    if (const QString* fehler = std::get_if<QString>(&gelesen)) {
        result.eingabeFehler = *fehler;
        return result;
    }

    ModifierSum sum;
    sum.applyOption(anbieterRules(), input.anbieter);
    sum.applyOption(connectionRules(), input.connection);
    sum.applyEntry(artRules(), input.art);
    sum.applyEntry(kategorieRules(), input.kategorie);
    sum.applyEntry(legalitaetRules(), input.legalitaet);

    NormalSearchOutcome& out = result.outcome;
    NormalVersorgungState& neu = out.state;
    neu = state;
    neu.Modif = sum.Modif;
    neu.FertMod = sum.FertMod;
    out.meldungen = sum.meldungen;
    out.Modif = sum.Modif;
    out.FertMod = sum.FertMod;
    out.MW = numbers::add(sum.Modif, 4);
    out.anzahlWuerfel = std::get<Int16>(gelesen);

    BerechneGrundzeitraum(neu);
    out.zeitraumText = zeitraumText(neu.Zeitraum);

    dice::RecordingSink etikette;
    neu.Erfolge = dice.ZaehleErfolge(out.MW, out.anzahlWuerfel, etikette);
    out.Erfolge = neu.Erfolge;
    out.etiketteWuerfel = etikette.lines;
    if (neu.Erfolge < 1)
        return result;

    out.arztwurf = wirfArzt(neu.FertMod, dice);
    neu.Fertigkeit = out.arztwurf->arzt.Fertigkeit;
    neu.Equipment = out.arztwurf->arzt.Equipment;
    neu.EquipmentBasis = neu.Equipment;
    out.kurzoderGut = neu.Erfolge > 1;
    return result;
}

} // namespace care
