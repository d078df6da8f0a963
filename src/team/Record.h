#pragma once
// The record of a run: one entry per carried-out press, search and trade step (refusals
// too), newest last, for reading back at the table or noting in a campaign log. It lives as
// long as the program runs; the program writes it to a file only when the user saves it.

#include "numbers/Amount.h"
#include "numbers/Checked.h"

#include <QDateTime>
#include <QList>
#include <QObject>
#include <optional>
#include <sys/types.h>

namespace healing {
struct Press;
}
namespace dice {
class Dice;
}
namespace care {
struct NormalSearch;
struct EmergencySearch;
struct NormalVersorgungState;
} // namespace care

struct RecordEntry {
    QDateTime time;
    QString action; // "HEILEN!", "Normale Suche", "Handel: Zeitraum halbieren, ..."
    QString inputs; // what mattered: "Kästchen 4 → 3, zu Hause, Mindestwurf 12"
    QString dice;   // as rolled: "13 3 2"
    bool byHand = false;
    QString outcome; // "1 Erfolg, Heilungsdauer 288 hrs = 12 Tage, ..." or the refusal
    // The figures behind the texts, for a spreadsheet to add up; empty where a step has none.
    std::optional<int> boxesBefore{}, boxesAfter{}, successes{};
    std::optional<float> days{}, totalDays{}; // this step's duration, the running total
    std::optional<numbers::Amount> cost{};    // what this step cost

    // One line of plain text, as copied to the clipboard.
    QString line() const;
    void appendLine(QString& text) const;
};

// Every entry is built here from the step it records, so the texts and the figures of an entry
// come from one place. `rolled`: where the step's dice came from, which writes them as rolled
// ("6+6+1 = 13" for a chain typed face by face) and says whether they were typed in.
namespace record {

// A carried-out press; `care` is the caption of the chosen care option, `costBefore` the
// running cost before it.
RecordEntry press(const healing::Press& press, const QString& care, numbers::Amount costBefore,
                  const dice::Dice& rolled);
// A press or search refused before any die: what was typed, and why.
RecordEntry refusal(const QString& action, const QString& inputs, const QString& why);
RecordEntry normalSearch(const care::NormalSearch& search, const dice::Dice& rolled);
RecordEntry emergencySearch(const care::EmergencySearch& search, const dice::Dice& rolled);
RecordEntry trade(const QString& what, const care::NormalVersorgungState& state);
// The running totals set back to 0, with what they were.
RecordEntry reset(float hours, numbers::Amount cost);
// The last press or Reset `what`, made at `when`, taken back.
RecordEntry undone(const QString& what, const QTime& when);

// "1 Erfolg", "3 Erfolge".
QString successes(int count);

// Typed text as a CSV cell: quoted where it holds ";", a quote or a line break, led by an
// apostrophe where a spreadsheet would take it for a formula.
QString cell(const QString& field);

// Writes `bytes` to `path` so that the old file stays as it was unless every byte reached the
// disk: a temporary file beside it, written whole, flushed and renamed over it. Refuses what is
// no plain file (a device, a FIFO). `write` is the system's; tests give one that runs out.
using WriteCall = ssize_t (*)(int, const void*, size_t);
bool saveFile(const QString& path, const QByteArray& bytes, QString* error,
              WriteCall write = nullptr);

} // namespace record

class Record : public QObject {
    Q_OBJECT

  public:
    void add(const RecordEntry& entry);
    void clear();
    const QList<RecordEntry>& entries() const { return m_entries; }

    QString plainText() const;
    // UTF-8 with its byte-order mark, one header line, ";" between the fields, quoted where a
    // field needs it; the figures in the user's locale in columns of their own.
    QByteArray csv() const;
    // Writes the CSV so that a failed write never leaves half a file; the error says why.
    bool save(const QString& path, QString* error) const;

  signals:
    // Entries were added at the end, or the record was emptied.
    void changed();

  private:
    QList<RecordEntry> m_entries;
};
