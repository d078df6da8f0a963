#include "Meldetexte.h"

namespace healing::meldetexte {

QString keineGanzeZahl(const QString& feld) {
    return QStringLiteral("Bitte im Feld „%1“ eine ganze Zahl eingeben.").arg(feld);
}

QString ganzeZahlAusserhalb(const QString& feld) {
    return QStringLiteral("Bitte im Feld „%1“ eine ganze Zahl von -32768 bis 32767 eingeben.")
        .arg(feld);
}

QString keineZahl(const QString& feld) {
    return QStringLiteral("Bitte im Feld „%1“ eine Zahl eingeben.").arg(feld);
}

QString zuVieleWuerfel() {
    return QStringLiteral("Mehr als 100 Würfel können nicht geworfen werden. "
                          "Bitte im Feld „%1“ höchstens 100 eingeben.")
        .arg(feldKonstitution);
}

QString zuGross(const QString& wert) {
    return QStringLiteral("%1 ist zu groß geworden. Bitte kleinere Werte eingeben.").arg(wert);
}

QString zuKlein(const QString& wert) {
    return QStringLiteral("%1 ist zu klein geworden. Bitte größere Werte eingeben.").arg(wert);
}

QString feldNaeherAnNull(const QString& wert, const QString& feld) {
    return QStringLiteral("%1 passt nicht in den Zahlenbereich. "
                          "Bitte im Feld „%2“ eine Zahl näher an 0 eingeben.")
        .arg(wert, feld);
}

QString kostenZuGross() {
    return QStringLiteral("Die Krankenhauskosten sind zu groß geworden. "
                          "Bitte mit „Reset“ auf 0 setzen.");
}

QString wurfZuGross() {
    return QStringLiteral("Ein Würfel hat zu viele Sechsen in Folge gezeigt. "
                          "Bitte noch einmal „HEILEN!“ drücken.");
}

} // namespace healing::meldetexte
