#pragma once
// The fixed German texts of the doctor searches that are not part of a modifier table: the
// two refusals and the messages for an unusable etiquette skill. The windows show them in
// message boxes; the rules only decide which one applies.

#include <QString>

namespace care::texts {

// The etiquette test of the normal search found nobody willing to treat the character.
inline const QString ersteAblehnung = QStringLiteral("Sorry, Kollego, keiner will dich behandeln!");

// The 2W6 result (modifier included) fell below 1; both searches use it.
inline const QString zweiteAblehnung = QStringLiteral("Keiner will dir helfen! Sorry, Kollego!");

// The etiquette text is empty, no number, or below the 16-bit range.
inline const QString gebraeucheKeineZahl =
    QStringLiteral("Bitte im Feld „Gebräuchefertigkeit“ eine ganze Zahl eingeben.");

// The etiquette skill asks for more dice than one success test can roll.
inline const QString gebraeucheZuGross = QStringLiteral(
    "Bitte im Feld „Gebräuchefertigkeit“ eine ganze Zahl von höchstens 100 eingeben.");

// Appended to the period in days wherever it is shown.
inline const QString tageSuffix = QStringLiteral(" Tage");

} // namespace care::texts
