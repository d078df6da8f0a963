#pragma once
// Every message box text of the healing test in one place: the fixed texts of the rules and
// the wording for values that leave their range. Fields are named by the caption the user sees
// on the main window.

#include <QString>

namespace healing::texts {

inline const QString notIll = QStringLiteral("Sind Sie überhaupt krank???");
inline const QString healed = QStringLiteral("Sie sind geheilt!");

// Visible captions of the fields the test reads.
inline const QString fieldSchaden = QStringLiteral("Schadenskästchen");
inline const QString fieldKonstitution = QStringLiteral("natürliche Konstitution");
inline const QString fieldWillenskraft = QStringLiteral("natürliche Willenskraft");
inline const QString fieldBioIndex = QStringLiteral("Bio-Index");
inline const QString fieldEssenz = QStringLiteral("Essenz");
inline const QString fieldBioTech = QStringLiteral("Biotech-Fertigkeit des Arztes");

// The constitution asks for more dice than one roll takes.
inline QString tooManyDice() {
    return QStringLiteral("Mehr als 100 Würfel können nicht geworfen werden. "
                          "Bitte im Feld „%1“ höchstens 100 eingeben.")
        .arg(fieldKonstitution);
}

// A value built up from several fields left the 16-bit range upwards or downwards; `value`
// is the value with its article, e.g. "Der Mindestwurf".
inline QString tooLarge(const QString& value) {
    return QStringLiteral("%1 ist zu groß geworden. Bitte kleinere Werte eingeben.").arg(value);
}
inline QString tooSmall(const QString& value) {
    return QStringLiteral("%1 ist zu klein geworden. Bitte größere Werte eingeben.").arg(value);
}

// A value that comes from one field left its range; a smaller magnitude in that field helps.
inline QString fieldNearerZero(const QString& value, const QString& field) {
    return QStringLiteral("%1 passt nicht in den Zahlenbereich. "
                          "Bitte im Feld „%2“ eine Zahl näher an 0 eingeben.")
        .arg(value, field);
}

inline const QString costTooLarge = QStringLiteral("Die Krankenhauskosten sind zu groß geworden. "
                                                   "Bitte mit „Reset“ auf 0 setzen.");

// A run of sixes longer than a 16-bit total can hold.
inline const QString runOfSixes = QStringLiteral("Ein Würfel hat zu viele Sechsen in Folge "
                                                 "gezeigt. Bitte noch einmal „HEILEN!“ drücken.");

// Any other sum that left its range; the named steps above cover every one that can.
inline const QString outOfRange = tooLarge(QStringLiteral("Ein Zwischenergebnis"));

// The change handlers of the two attribute fields.
inline const QString constitutionAboveLimit = QStringLiteral("Was bist du für ein Tier?");
inline const QString willpowerAboveLimit = QStringLiteral("Ja, klar! Stahlwille!");

} // namespace healing::texts
