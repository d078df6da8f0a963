#include "Team.h"

namespace team {

void Patient::pushUndo(const QString& what, const Sheet& before) {
    undo.append({nextUndo++, what, QTime::currentTime(), before, before.json()});
    while (undo.size() > undoSteps)
        undo.removeFirst();
}

std::optional<RecordEntry> Patient::trimNotice() const {
    if (trimmed == 0)
        return std::nullopt;
    return RecordEntry{trimmedAt,
                       QStringLiteral("Verlauf gekürzt"),
                       QStringLiteral("%1 ältere Zeilen").arg(trimmed),
                       {},
                       false,
                       QStringLiteral("am %1 entfernt, die Runde behält %2 Zeilen je Patient")
                           .arg(trimmedAt.toString(QStringLiteral("dd.MM.yyyy HH:mm")))
                           .arg(recordLines)};
}

void Patient::addLine(const RecordEntry& entry) {
    record.append(entry);
    if (record.size() + 1 > recordLines) { // the notice takes a line
        record.remove(0, recordBlock);
        recordFirst += recordBlock;
        trimmed += recordBlock;
        trimmedAt = QDateTime::currentDateTime();
    }
}

QString nameProblem(const QString& trimmed, const QStringList& others) {
    if (trimmed.isEmpty())
        return QStringLiteral("Bitte im Feld „Name“ einen Namen eingeben.");
    if (trimmed.size() > nameLength)
        return QStringLiteral("Der Name im Feld „Name“ darf höchstens %1 Zeichen lang sein.")
            .arg(nameLength);
    if (others.contains(trimmed, Qt::CaseInsensitive))
        return QStringLiteral("Im Feld „Name“: „%1“ gehört schon zur Runde.").arg(trimmed);
    return {};
}

} // namespace team
