#include "ZeitUndKosten.h"

#include "Meldetexte.h"
#include "Verweigerung.h"
#include "numbers/Text.h"

namespace healing {

QString ZeigeGrundzeitraum(const Form1State& s) {
    return numbers::timeLine(s.Grundzeitraum);
}

std::optional<QString> checkarztkosten(Form1State& s, Int16 fertigkeit, bool krankenhaus,
                                       bool magischeBetreuung) {
    if (!krankenhaus)
        return std::nullopt;
    const float tage = s.Heilungsdauer / 24.0f;
    float kosten = tage * 500.0f;
    if (s.Schadenskaestchen >= 10) {
        Int16 arztanteil = 0;
        try {
            arztanteil = numbers::mul(fertigkeit, 50);
        } catch (const numbers::Overflow&) {
            throw Verweigerung(meldetexte::feldNaeherAnNull(
                QStringLiteral("Der Kostenanteil der Biotech-Fertigkeit"),
                meldetexte::feldBioTech));
        }
        kosten = tage * 1000.0f + static_cast<float>(arztanteil);
    }
    try {
        numbers::Amount summe = s.Kosten.plus(numbers::Amount::fromFloat(kosten));
        if (magischeBetreuung)
            summe = summe.plus(numbers::Amount::fromFloat(tage * 500.0f));
        // The running total is rounded after every press, not only the cost of this one.
        s.Kosten = summe.roundedToCents();
    } catch (const numbers::Overflow&) {
        throw Verweigerung(meldetexte::kostenZuGross());
    }
    return s.Kosten.text() + QStringLiteral(" Nuyen");
}

} // namespace healing
