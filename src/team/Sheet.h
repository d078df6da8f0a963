#pragma once
// What one patient's main window shows and holds, enough to put it back exactly: the text of
// every field and result label, the mark and own enabled flag of every option and box, the
// lines of the dice and modifier lists, and the window's variables. It knows no widget; the
// main window fills it by control name and reads it back. Its text form is JSON, and reading
// it back applies the same limits as typed input: a total out of range refuses, never wraps.

#include "healing/Healing.h"

#include <QMap>
#include <QStringList>
#include <optional>

namespace team {

struct Sheet {
    QMap<QString, QString> texts;     // fields as typed, result labels
    QMap<QString, bool> checked;      // options and check boxes
    QMap<QString, bool> enabled;      // own enabled flags
    QMap<QString, QStringList> lists; // the dice and the modifier lines
    healing::Form1State state;

    // What "HEILEN!" would read from this sheet, as the main window reads its controls.
    healing::HealingInput input() const;

    QByteArray json() const;
    // Null when the text is no sheet; `why` then says what is wrong, in German.
    static std::optional<Sheet> fromJson(const QByteArray& text, QString* why);
};

} // namespace team
