#pragma once
// Every message box text of the healing test in one place: the two fixed texts of the rules
// and the wording for unusable input and for values that leave their range. Fields are named
// by the caption the user sees on the main window.

#include <QString>

namespace healing::meldetexte {

inline const QString nichtKrank = QStringLiteral("Sind Sie überhaupt krank???");
inline const QString geheilt = QStringLiteral("Sie sind geheilt!");

// Visible captions of the fields the test reads.
inline const QString feldSchaden = QStringLiteral("Schadenskästchen");
inline const QString feldKonstitution = QStringLiteral("natürliche Konstitution");
inline const QString feldWillenskraft = QStringLiteral("natürliche Willenskraft");
inline const QString feldBioIndex = QStringLiteral("Bio-Index");
inline const QString feldEssenz = QStringLiteral("Essenz");
inline const QString feldBioTech = QStringLiteral("Biotech-Fertigkeit des Arztes");

// The text of a whole-number field is no number at all.
QString keineGanzeZahl(const QString& feld);
// The text of a whole-number field is a number beyond 16 bits.
QString ganzeZahlAusserhalb(const QString& feld);
// The text of a decimal field is no (finite, single-precision) number.
QString keineZahl(const QString& feld);
// The constitution asks for more dice than the dice roller can hold.
QString zuVieleWuerfel();

// A value built up from several fields left the 16-bit range upwards or downwards;
// `wert` is the value with its article, e.g. "Der Mindestwurf".
QString zuGross(const QString& wert);
QString zuKlein(const QString& wert);
// A value that comes from one field left its range; a smaller magnitude in that field helps.
QString feldNaeherAnNull(const QString& wert, const QString& feld);
// The running hospital cost no longer fits the amount.
QString kostenZuGross();
// A run of sixes longer than a 16-bit total can hold.
QString wurfZuGross();

} // namespace healing::meldetexte
