#pragma once
// A team with every kind of value at the edges of its type, for the store's test and the tool
// that kills saves: patient n's sheet, press n as the program makes it (the step before, the
// new sheet, its record line), and a text of every field, to compare two teams by.

#include "team/Store.h"

inline RecordEntry line(int n) {
    RecordEntry e{QDateTime(QDate(2026, 12, 6), QTime(10, n % 60, 7, 250)),
                  "HEILEN!",
                  QString("Kästchen %1 → 🩹;\"x\"").arg(n),
                  n % 3 ? "13 3 2" : "",
                  n % 2 == 1,
                  QString("Gesamtzeit %1 hrs").arg(n)};
    if (n % 3) { // a press's figures, down to a float's last bit and the cost's last tick
        e.boxesBefore = n % 32768, e.boxesAfter = -32768, e.successes = n % 7;
        e.days = 1.0f / float(n), e.totalDays = 3.4e38f, e.cost = numbers::Amount::fromTicks(-n);
    }
    return e;
}

inline team::Sheet sheet(int n) {
    return {
        .texts = {{"Schaden", QString::number(n)}, {"txtKonstitution", ""}, {"lblKosten", "Ä 😀 ß"}},
        .checked = {{"Krankenhaus", n % 2}, {"daheim", !(n % 2)}, {"Erwachter", true}},
        .enabled = {{"BioIndex", n % 2}, {"Erwachter", false}},
        .lists = {{"lstErgebnis", {"13", "2"}}, {"Meldungen", {}}},
        // Values at the edges of their types; the cost to the ten-thousandth.
        .state = {.Schadenskaestchen = numbers::Int16(n),
                  .Schadensniveau = "mittel",
                  .Verletzungsmod = 32767,
                  .Mindestwurf = -32768,
                  .Heilungsdauer = 1e-7f,
                  .Gesamtzeit = 1234.5678f + float(n),
                  .Kosten = numbers::Amount::fromTicks(123456789012345678 + n)}};
}

// A press as the program makes it: the step before, the new sheet, its record line.
inline void press(team::Patient& p, int n) {
    p.pushUndo(n % 4 ? "HEILEN!" : "Reset", p.sheet);
    p.setSheet(sheet(n));
    p.addLine(line(n));
}

inline QString describe(const QList<team::Patient>& all) {
    QStringList out;
    for (const team::Patient& p : all) {
        out << p.name + p.sheetJson + p.trimmedAt.toString(Qt::ISODateWithMs) +
                   QString::asprintf(" %lld %lld %lld", p.recordFirst, p.trimmed, p.nextUndo);
        for (const team::UndoStep& u : p.undo)
            out << QString::number(u.seq) + u.what + u.time.toString("HH:mm:ss.zzz") +
                       u.before.json();
        for (const RecordEntry& e : p.record)
            out << e.line() + QString::asprintf(
                                  " %d %d %d %d %d %.9g %.9g %lld", e.time.time().msec(), e.byHand,
                                  e.boxesBefore.value_or(-1), e.boxesAfter.value_or(-1),
                                  e.successes.value_or(-1), e.days.value_or(-1),
                                  e.totalDays.value_or(-1), qint64(e.cost ? e.cost->ticks() : -1));
    }
    return out.join('\n');
}

// Patients with `presses` presses each, the last one active; saved as a team to `file` if given.
inline QList<team::Patient> made(int patients, int presses, const QString& file = {}) {
    QList<team::Patient> all;
    for (int i = 0; i < patients; ++i) {
        all << team::Patient{};
        all[i].name = i ? QString("Ärztin %1 🧪").arg(i) : "Kira";
        all[i].setSheet(sheet(i));
        for (int n = 0; n < presses; ++n)
            press(all[i], n);
    }
    QString error;
    if (!file.isEmpty() && !team::Store(file).save(all, patients - 1, &error))
        qWarning() << error;
    return all;
}
