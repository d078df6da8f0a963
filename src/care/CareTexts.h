#pragma once
// The fixed German texts of the doctor searches that are not part of a modifier table: the
// two refusals of the rules and the messages for input the search cannot use.

#include <QString>

namespace care::texts {

// The etiquette test of the normal search found nobody willing to treat the character.
inline const QString firstRefusal = QStringLiteral("Sorry, Kollego, keiner will dich behandeln!");

// The 2W6 result (modifier included) fell below 1; both searches use it.
inline const QString secondRefusal = QStringLiteral("Keiner will dir helfen! Sorry, Kollego!");

inline const QString fieldGebraeuche = QStringLiteral("Gebräuchefertigkeit");

// The etiquette skill asks for more dice than one success test can roll.
inline const QString tooManyEtiquetteDice = QStringLiteral(
    "Bitte im Feld „Gebräuchefertigkeit“ eine ganze Zahl von höchstens 100 eingeben.");

// A run of sixes longer than a 16-bit total can hold.
inline const QString runOfSixes = QStringLiteral("Ein Würfel hat zu viele Sechsen in Folge "
                                                 "gezeigt. Bitte noch einmal „Suche einen Arzt!“ "
                                                 "drücken.");

// Any sum that left its range; the tables keep every real one far inside it.
inline const QString outOfRange =
    QStringLiteral("Ein Zwischenergebnis ist zu groß geworden. Bitte kleinere Werte eingeben.");

} // namespace care::texts
