#include "Record.h"

#include <QSaveFile>

namespace {

QString quoted(QString field) {
    if (!field.contains(u';') && !field.contains(u'"') && !field.contains(u'\n'))
        return field;
    return u'"' + field.replace(u'"', QStringLiteral("\"\"")) + u'"';
}

} // namespace

QString RecordEntry::line() const {
    QString text = time.toString(QStringLiteral("HH:mm:ss")) + QStringLiteral("  ") + action +
                   QStringLiteral(": ") + inputs;
    if (!dice.isEmpty())
        text += QStringLiteral(", Würfel ") + dice +
                (byHand ? QStringLiteral(" (von Hand)") : QString());
    return text + QStringLiteral(" → ") + outcome;
}

void Record::add(const RecordEntry& entry) {
    m_entries.append(entry);
    emit changed();
}

void Record::clear() {
    m_entries.clear();
    emit changed();
}

QString Record::plainText() const {
    QStringList lines;
    for (const RecordEntry& entry : m_entries)
        lines << entry.line();
    return lines.join(u'\n') + (lines.isEmpty() ? QString() : QStringLiteral("\n"));
}

QByteArray Record::csv() const {
    QStringList lines{QStringLiteral("Uhrzeit;Aktion;Eingaben;Würfel;Von Hand;Ergebnis")};
    for (const RecordEntry& e : m_entries)
        lines << QStringList{e.time.toString(QStringLiteral("HH:mm:ss")),
                             quoted(e.action),
                             quoted(e.inputs),
                             quoted(e.dice),
                             e.byHand ? QStringLiteral("ja") : QStringLiteral("nein"),
                             quoted(e.outcome)}
                     .join(u';');
    return (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
}

bool Record::save(const QString& path, QString* error) const {
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(csv()) >= 0 && file.commit())
        return true;
    *error = file.errorString();
    return false;
}
