#include "Wording.h"

#include <QLocale>
#include <cmath>

namespace odds::wording {

namespace {

const QString nbsp(QChar(0x00A0));

// The coarsest power of ten (unit 0.1 at best) whose half covers `halfWidth`; with the
// rounding to it, the figure is off by at most one such unit.
double stepFor(double halfWidth, double finest) {
    double step = finest;
    while (step / 2 < halfWidth && std::isfinite(step))
        step *= 10;
    return step;
}

QString figure(double value, double step) {
    const QLocale locale;
    if (step < 1)
        return locale.toString(value, 'f', 1);
    return locale.toString(std::round(value / step) * step, 'f', 0);
}

} // namespace

QString percent(double chance) {
    const QLocale locale;
    if (chance > 0 && chance < 0.0005)
        return QStringLiteral("< ") + locale.toString(0.1, 'f', 1) + nbsp + QStringLiteral("%");
    if (chance < 1 && chance > 0.9995)
        return QStringLiteral("> ") + locale.toString(99.9, 'f', 1) + nbsp + QStringLiteral("%");
    return locale.toString(chance * 100, 'f', 1) + nbsp + QStringLiteral("%");
}

QString duration(double hours, Case grammar, double halfWidth) {
    if (hours < 23.95 && halfWidth <= 0.05) {
        // Less than an hour keeps a second decimal, as short stays in hospital are.
        const QString number = QLocale().toString(hours, 'f', hours < 0.995 ? 2 : 1);
        return number + nbsp +
               (number == QLocale().toString(1.0, 'f', 1) ? QStringLiteral("Stunde")
                                                          : QStringLiteral("Stunden"));
    }
    const QString number = figure(hours / 24, stepFor(halfWidth / 24, 0.1));
    if (number == QStringLiteral("1"))
        return number + nbsp + QStringLiteral("Tag");
    return number + nbsp +
           (grammar == Case::Dative ? QStringLiteral("Tagen") : QStringLiteral("Tage"));
}

QString nuyen(double amount, double halfWidth) {
    const double step = stepFor(halfWidth, 1);
    return QLocale().toString(std::round(amount / step) * step, 'f', 0) + nbsp +
           QStringLiteral("Nuyen");
}

QString successes(int from, int to) {
    if (from < to)
        return QStringLiteral("%1–%2").arg(from).arg(to) + nbsp + QStringLiteral("Erfolge");
    return QString::number(from) + nbsp +
           (from == 1 ? QStringLiteral("Erfolg") : QStringLiteral("Erfolge"));
}

QString boxesAndRolls(int boxes, int rolls) {
    return QStringLiteral("Noch %1").arg(boxes) + nbsp + QStringLiteral("Kästchen, ") +
           QString::number(rolls) + nbsp +
           (rolls == 1 ? QStringLiteral("Heilungswurf") : QStringLiteral("Heilungswürfe"));
}

QString ordinal(int n) {
    return QStringLiteral("der %1. Heilungswurf").arg(n);
}

} // namespace odds::wording
