#pragma once
// The team on disk: one SQLite file, written through Qt SQL. Every save is one transaction
// that writes only what changed since the last commit (a press adds its record line and its
// undo step and rewrites that patient's sheet, nothing else), so a crash, a kill or a full
// disk leaves the last committed team. Record lines are packed a hundred at a time into
// compressed blocks once complete. A file that cannot be used is never written to: it is
// moved aside under a new name and the team starts empty. Nothing is created before the
// first save of a team with a patient.

#include "Team.h"

#include <QHash>
#include <QLockFile>
#include <QSet>
#include <memory>

namespace team {

class Store {
  public:
    explicit Store(QString path);
    ~Store();
    Store(const Store&) = delete;
    Store& operator=(const Store&) = delete;

    // The file in the user's data directory.
    static QString defaultPath();

    // False when another copy of the program holds the team: this one must not write it.
    bool lock();

    struct Loaded {
        QList<Patient> patients;
        int active = -1;
        QString problem; // in German: what was wrong and where the file now lies
    };
    // Reads the whole team, checking every value as typed input is checked. With activeOnly,
    // only the active patient's undo steps are read and no record (the rest stays empty), and
    // the store learns nothing: a whole read must follow before the first save.
    Loaded load(bool activeOnly = false);

    // Writes what differs from the last commit in one transaction. On failure nothing is
    // written and the error says why in German; the next save tries again.
    bool save(QList<Patient>& patients, int active, QString* error);

    const QString& path() const { return m_path; }
    int schemaVersion() const;

  private:
    struct Stored {
        QString name;
        QByteArray sheet;
        qint64 recordFirst = 0, end = 0, blockEnd = 0, trimmed = 0, nextUndo = 1;
        QDateTime trimmedAt;
        QSet<qint64> undo;
    };
    bool openWritable(QString* error);
    bool write(QList<Patient>& patients, int active, QList<std::pair<int, qint64>>& newIds,
               QHash<qint64, Stored>& mirror);
    QString keepAside(const QString& why);

    QString m_path;
    QString m_connection;
    std::unique_ptr<QLockFile> m_lock;
    bool m_open = false;
    bool m_unusable = false; // a damaged file that could not be moved aside
    QHash<qint64, Stored> m_stored;
    qint64 m_storedActive = -1;
};

// The record lines of a block, packed and compressed.
QByteArray packLines(const QList<RecordEntry>& lines);
std::optional<QList<RecordEntry>> unpackLines(const QByteArray& block);

} // namespace team
