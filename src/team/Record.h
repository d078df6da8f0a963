#pragma once
// The record of a run: one entry per carried-out press, search and trade step (refusals
// too), newest last, for reading back at the table or noting in a campaign log. It lives as
// long as the program runs; the program writes it to a file only when the user saves it.

#include <QList>
#include <QObject>
#include <QTime>

struct RecordEntry {
    QTime time;
    QString action; // "HEILEN!", "Normale Suche", "Handel: Zeitraum halbieren"
    QString inputs; // what mattered: "Kästchen 4 → 3, zu Hause, Mindestwurf 12"
    QString dice;   // as rolled: "13 3 2"
    bool byHand = false;
    QString outcome; // "1 Erfolge, Heilungsdauer 288 hrs = 12 Tage, ..." or the refusal

    // One line of plain text, as copied to the clipboard.
    QString line() const;
};

class Record : public QObject {
    Q_OBJECT

  public:
    void add(const RecordEntry& entry);
    void clear();
    const QList<RecordEntry>& entries() const { return m_entries; }

    QString plainText() const;
    // UTF-8, one header line, ";" between the fields, quoted where a field needs it.
    QByteArray csv() const;
    // Writes the CSV so that a failed write never leaves half a file; the error says why.
    bool save(const QString& path, QString* error) const;

  signals:
    void changed();

  private:
    QList<RecordEntry> m_entries;
};
