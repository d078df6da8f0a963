#include "Store.h"

#include <QDataStream>
#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QUuid>
#include <cmath>
#include <limits>

namespace team {
namespace {

// Each entry brings the file from the version before it to its own; user_version counts them.
const char* const migrations[][5] = {
    {"CREATE TABLE patient(id INTEGER PRIMARY KEY, name TEXT NOT NULL, sheet TEXT NOT NULL,"
     " record_first INTEGER NOT NULL, trimmed INTEGER NOT NULL, trimmed_at TEXT,"
     " next_undo INTEGER NOT NULL)",
     "CREATE TABLE undo(patient INTEGER NOT NULL, seq INTEGER NOT NULL, what TEXT NOT NULL,"
     " time TEXT NOT NULL, sheet TEXT NOT NULL, PRIMARY KEY(patient, seq)) WITHOUT ROWID",
     "CREATE TABLE line(patient INTEGER NOT NULL, seq INTEGER NOT NULL, time TEXT NOT NULL,"
     " action TEXT NOT NULL, inputs TEXT NOT NULL, dice TEXT NOT NULL, by_hand INTEGER NOT NULL,"
     " outcome TEXT NOT NULL, figures TEXT NOT NULL, PRIMARY KEY(patient, seq)) WITHOUT ROWID",
     "CREATE TABLE block(patient INTEGER NOT NULL, first INTEGER NOT NULL, lines BLOB NOT NULL,"
     " PRIMARY KEY(patient, first)) WITHOUT ROWID",
     "CREATE TABLE setting(key TEXT PRIMARY KEY, value) WITHOUT ROWID"}};
constexpr int currentVersion = int(std::size(migrations));

const QString timeFormat = QStringLiteral("HH:mm:ss.zzz");

// Thrown inside a load when a value is wrong; the text says what, in German.
struct Unusable {
    QString why;
};

QString germanReason(const QSqlError& error) {
    const QString text = error.databaseText();
    if (text.contains(QLatin1String("full")))
        return QStringLiteral("der Datenträger ist voll");
    if (text.contains(QLatin1String("readonly")) || text.contains(QLatin1String("permission")))
        return QStringLiteral("keine Schreibrechte");
    if (text.contains(QLatin1String("disk I/O")))
        return QStringLiteral("Schreibfehler des Datenträgers");
    return text.isEmpty() ? error.text() : text;
}

qint64 integer(const QVariant& v, qint64 low, qint64 high, const char* what) {
    if (v.typeId() != QMetaType::LongLong || v.toLongLong() < low || v.toLongLong() > high)
        throw Unusable{QStringLiteral("der Wert „%1“ hat den falschen Typ oder liegt außerhalb "
                                      "des Bereichs")
                           .arg(QLatin1String(what))};
    return v.toLongLong();
}

QString text(const QVariant& v, const char* what) {
    if (v.typeId() != QMetaType::QString)
        throw Unusable{QStringLiteral("der Wert „%1“ ist kein Text").arg(QLatin1String(what))};
    return v.toString();
}

QDateTime momentOf(const QVariant& v) {
    const QDateTime t = QDateTime::fromString(text(v, "Zeitpunkt"), Qt::ISODateWithMs);
    if (!t.isValid())
        throw Unusable{QStringLiteral("ein Zeitpunkt ist ungültig")};
    return t;
}

// The figures of a record line as one text, "4|3|1|12|24|56000000", an empty place where the
// line has none; floats with enough digits to come back bit for bit, the cost in ticks.
QString figuresText(const RecordEntry& e) {
    const auto whole = [](const std::optional<int>& v) {
        return v ? QString::number(*v) : QString();
    };
    const auto hours = [](const std::optional<float>& v) {
        return v ? QString::number(double(*v), 'g', 9) : QString();
    };
    return QStringList{whole(e.boxesBefore), whole(e.boxesAfter),
                       whole(e.successes),   hours(e.days),
                       hours(e.totalDays),   e.cost ? QString::number(e.cost->ticks()) : QString()}
        .join(u'|');
}

// Read back with the limits a typed number has: 16-bit counts, finite days that are no
// negative, a cost in whole ticks.
bool readFigures(const QString& text, RecordEntry& e) {
    const QStringList parts = text.split(u'|');
    if (parts.size() != 6)
        return false;
    bool ok = true;
    const auto whole = [&](const QString& t, std::optional<int>& v) {
        if (t.isEmpty())
            return;
        bool good = false;
        const int value = t.toInt(&good);
        ok = ok && good && value >= -32768 && value <= 32767;
        v = value;
    };
    const auto days = [&](const QString& t, std::optional<float>& v) {
        if (t.isEmpty())
            return;
        bool good = false;
        const double value = t.toDouble(&good);
        ok = ok && good && std::isfinite(value) && value >= 0.0 &&
             value <= double(std::numeric_limits<float>::max());
        v = float(value);
    };
    whole(parts[0], e.boxesBefore);
    whole(parts[1], e.boxesAfter);
    whole(parts[2], e.successes);
    days(parts[3], e.days);
    days(parts[4], e.totalDays);
    if (!parts[5].isEmpty()) {
        bool good = false;
        const qlonglong ticks = parts[5].toLongLong(&good);
        ok = ok && good;
        e.cost = numbers::Amount::fromTicks(ticks);
    }
    return ok;
}

QTime timeOf(const QVariant& v) {
    const QTime t = QTime::fromString(text(v, "Uhrzeit"), timeFormat);
    if (!t.isValid())
        throw Unusable{QStringLiteral("eine Uhrzeit ist ungültig")};
    return t;
}

Sheet sheetOf(const QVariant& v) {
    QString why;
    std::optional<Sheet> sheet = Sheet::fromJson(text(v, "Blatt").toUtf8(), &why);
    if (!sheet)
        throw Unusable{why};
    return *sheet;
}

// A null text would be stored as NULL, which no text column takes.
QString t(const QString& text) {
    return text.isNull() ? QStringLiteral("") : text;
}

QSqlQuery run(QSqlDatabase& db, const QString& sql, const QVariantList& values = {}) {
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.prepare(sql))
        throw q.lastError();
    for (const QVariant& v : values)
        q.addBindValue(v);
    if (!q.exec())
        throw q.lastError();
    return q;
}

} // namespace

QByteArray packLines(const QList<RecordEntry>& lines) {
    QByteArray raw;
    QDataStream out(&raw, QIODevice::WriteOnly);
    out << qint32(lines.size());
    for (const RecordEntry& e : lines)
        out << e.time << e.action << e.inputs << e.dice << e.byHand << e.outcome << figuresText(e);
    return qCompress(raw);
}

std::optional<QList<RecordEntry>> unpackLines(const QByteArray& block) {
    const QByteArray raw = qUncompress(block);
    QDataStream in(raw);
    qint32 count = 0;
    in >> count;
    if (count < 1 || count > recordBlock)
        return std::nullopt;
    QList<RecordEntry> lines(count);
    bool figuresRead = true;
    for (RecordEntry& e : lines) {
        QString figures;
        in >> e.time >> e.action >> e.inputs >> e.dice >> e.byHand >> e.outcome >> figures;
        figuresRead = readFigures(figures, e) && figuresRead;
    }
    if (in.status() != QDataStream::Ok || !in.atEnd() || !figuresRead ||
        std::any_of(lines.begin(), lines.end(),
                    [](const RecordEntry& e) { return !e.time.isValid(); }))
        return std::nullopt;
    return lines;
}

Store::Store(QString path)
    : m_path(std::move(path)), m_connection(QUuid::createUuid().toString()) {}

Store::~Store() {
    if (QSqlDatabase::contains(m_connection)) {
        QSqlDatabase::database(m_connection, false).close();
        QSqlDatabase::removeDatabase(m_connection);
    }
}

QString Store::defaultPath() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
           QStringLiteral("/runde.sqlite");
}

bool Store::lock() {
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    m_lock = std::make_unique<QLockFile>(m_path + QStringLiteral(".lock"));
    m_lock->setStaleLockTime(0); // only a lock whose program is gone is stale
    return m_lock->tryLock(0);
}

int Store::schemaVersion() const {
    return currentVersion;
}

QString Store::keepAside(const QString& why) {
    const QString aside =
        m_path + QStringLiteral(".beschädigt-") +
        QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz"));
    if (!QFile::rename(m_path, aside)) {
        m_unusable = true;
        return QStringLiteral("Die gespeicherte Runde in „%1“ ist nicht verwendbar (%2) und "
                              "ließ sich nicht beiseitelegen. Sie bleibt unverändert; das "
                              "Programm beginnt mit einer leeren Runde und speichert nichts.")
            .arg(m_path, why);
    }
    for (const char* part : {"-wal", "-shm"})
        if (QFile::exists(m_path + QLatin1String(part)))
            QFile::rename(m_path + QLatin1String(part), aside + QLatin1String(part));
    return QStringLiteral("Die gespeicherte Runde in „%1“ ist nicht verwendbar (%2). Sie liegt "
                          "unverändert als „%3“ daneben; das Programm beginnt mit einer "
                          "leeren Runde.")
        .arg(m_path, why, aside);
}

Store::Loaded Store::load(bool activeOnly) {
    Loaded loaded;
    const QFileInfo file(m_path);
    if (!file.exists() && !file.isSymLink())
        return loaded;
    if (!file.isFile())
        return {{}, -1, keepAside(QStringLiteral("an ihrer Stelle steht ein Ordner"))};
    if (file.size() == 0)
        return {{}, -1, keepAside(QStringLiteral("die Datei ist leer"))};
    QHash<qint64, Stored> stored;
    qint64 activeId = -1;
    {
        // Read only, so a file found wrong is left exactly as it was.
        const QString name = m_connection + QStringLiteral("-check");
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(m_path);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        QString problem;
        try {
            if (!db.open())
                throw db.lastError();
            QSqlQuery v = run(db, "PRAGMA user_version");
            v.next();
            if (v.value(0).toInt() == 0)
                throw Unusable{QStringLiteral("die Datei enthält keine Runde")};
            if (v.value(0).toInt() > currentVersion)
                throw Unusable{QStringLiteral("sie stammt von einer neueren Programmversion")};
            // A file cut short: SQLite reads missing bytes of its last page as zeros.
            QSqlQuery size = run(db, "SELECT page_size, page_count FROM pragma_page_size, "
                                     "pragma_page_count");
            size.next();
            const qint64 pageSize = size.value(0).toLongLong();
            if (file.size() % pageSize != 0 ||
                (QFileInfo(m_path + "-wal").size() == 0 &&
                 size.value(1).toLongLong() * pageSize != file.size()))
                throw Unusable{QStringLiteral("die Datei ist abgeschnitten")};
            QSqlQuery check = run(db, "PRAGMA integrity_check");
            if (!check.next() || check.value(0).toString() != QLatin1String("ok"))
                throw Unusable{QStringLiteral("die Prüfung der Datenbank schlägt fehl")};
            QHash<qint64, int> index;
            QSqlQuery p = run(db, "SELECT id, name, sheet, record_first, trimmed, trimmed_at, "
                                  "next_undo FROM patient ORDER BY id");
            QStringList names;
            while (p.next()) {
                Patient patient;
                patient.id = integer(p.value(0), 1, INT64_MAX, "id");
                patient.name = text(p.value(1), "Name");
                if (patient.name != patient.name.trimmed() ||
                    !nameProblem(patient.name, names).isEmpty())
                    throw Unusable{QStringLiteral("ein Name ist unzulässig")};
                names << patient.name;
                patient.setSheet(sheetOf(p.value(2)));
                patient.recordFirst = integer(p.value(3), 0, INT64_MAX / 2, "Verlauf");
                patient.trimmed = integer(p.value(4), 0, INT64_MAX / 2, "gekürzt");
                if (patient.trimmed > 0)
                    patient.trimmedAt =
                        QDateTime::fromString(text(p.value(5), "gekürzt am"), Qt::ISODateWithMs);
                if (patient.trimmed > 0 && !patient.trimmedAt.isValid())
                    throw Unusable{QStringLiteral("ein Datum ist ungültig")};
                patient.nextUndo = integer(p.value(6), 1, INT64_MAX / 2, "Schritt");
                index.insert(patient.id, int(loaded.patients.size()));
                loaded.patients << patient;
            }
            QSqlQuery a = run(db, "SELECT value FROM setting WHERE key = 'active'");
            if (a.next() && !a.value(0).isNull()) {
                activeId = integer(a.value(0), 1, INT64_MAX, "aktiver Patient");
                loaded.active = index.value(activeId, -1);
                if (loaded.active < 0)
                    throw Unusable{QStringLiteral("der aktive Patient fehlt")};
            }
            if (loaded.active < 0 && !loaded.patients.isEmpty())
                loaded.active = 0;
            // Only the active patient's steps and no record, when that is all that is asked for.
            const QString noRecord = activeOnly ? QStringLiteral(" WHERE 0") : QString();
            const QString only =
                activeOnly && loaded.active >= 0
                    ? QStringLiteral(" WHERE patient = %1").arg(loaded.patients[loaded.active].id)
                    : QString();
            const auto owner = [&](const QVariant& id) -> Patient& {
                const auto it = index.find(integer(id, 1, INT64_MAX, "Patient"));
                if (it == index.end())
                    throw Unusable{QStringLiteral("ein Eintrag gehört zu keinem Patienten")};
                return loaded.patients[*it];
            };
            QSqlQuery u = run(db, "SELECT patient, seq, what, time, sheet FROM undo" + only +
                                      " ORDER BY patient, seq");
            while (u.next()) {
                Patient& patient = owner(u.value(0));
                UndoStep step{integer(u.value(1), 1, patient.nextUndo - 1, "Schritt"),
                              text(u.value(2), "Schritt"),
                              timeOf(u.value(3)),
                              sheetOf(u.value(4)),
                              {}};
                if (step.what != QLatin1String("HEILEN!") && step.what != QLatin1String("Reset"))
                    throw Unusable{QStringLiteral("ein Schritt ist unbekannt")};
                step.json = step.before.json();
                patient.undo << step;
            }
            QSqlQuery b = run(db, "SELECT patient, first, lines FROM block" + noRecord +
                                      " ORDER BY patient, first");
            const auto append = [](Patient& patient, qint64 seq, const RecordEntry& e) {
                const qint64 expected = patient.recordFirst + patient.record.size();
                if (seq < patient.recordFirst) // cleared or trimmed, not yet swept away
                    return;
                if (seq != expected)
                    throw Unusable{QStringLiteral("dem Verlauf fehlen Zeilen")};
                patient.record << e;
            };
            while (b.next()) {
                Patient& patient = owner(b.value(0));
                qint64 seq = integer(b.value(1), 0, INT64_MAX / 2, "Verlauf");
                if (b.value(2).typeId() != QMetaType::QByteArray)
                    throw Unusable{QStringLiteral("ein Verlaufsblock hat den falschen Typ")};
                const auto lines = unpackLines(b.value(2).toByteArray());
                if (!lines)
                    throw Unusable{QStringLiteral("ein Verlaufsblock ist unlesbar")};
                for (const RecordEntry& e : *lines)
                    append(patient, seq++, e);
            }
            QSqlQuery l = run(db, "SELECT patient, seq, time, action, inputs, dice, by_hand, "
                                  "outcome, figures FROM line" +
                                      noRecord + " ORDER BY patient, seq");
            while (l.next()) {
                Patient& patient = owner(l.value(0));
                RecordEntry e{.time = momentOf(l.value(2)),
                              .action = text(l.value(3), "Aktion"),
                              .inputs = text(l.value(4), "Eingaben"),
                              .dice = text(l.value(5), "Würfel"),
                              .byHand = integer(l.value(6), 0, 1, "von Hand") == 1,
                              .outcome = text(l.value(7), "Ergebnis")};
                if (!readFigures(text(l.value(8), "Zahlen"), e))
                    throw Unusable{QStringLiteral("eine Zahl im Verlauf ist ungültig")};
                append(patient, integer(l.value(1), 0, INT64_MAX / 2, "Verlauf"), e);
            }
            for (const Patient& patient : loaded.patients)
                if (patient.record.size() >= recordLines)
                    throw Unusable{QStringLiteral("ein Verlauf ist zu lang")};
            // What this file now holds, so the next save writes only what changes.
            for (const Patient& patient : loaded.patients) {
                Stored& s = stored[patient.id];
                s.name = patient.name;
                s.sheet = patient.sheetJson;
                s.recordFirst = patient.recordFirst;
                s.end = s.blockEnd = patient.recordFirst + patient.record.size();
                s.trimmed = patient.trimmed;
                s.trimmedAt = patient.trimmedAt;
                s.nextUndo = patient.nextUndo;
                for (const UndoStep& step : patient.undo)
                    s.undo.insert(step.seq);
            }
            // Single lines wait after the last block until there are a hundred of them.
            QSqlQuery f = run(db, "SELECT patient, min(seq) FROM line GROUP BY patient");
            while (f.next()) {
                Stored& s = stored[f.value(0).toLongLong()];
                s.blockEnd = std::clamp(f.value(1).toLongLong(), s.recordFirst, s.end);
            }
        } catch (const Unusable& u) {
            problem = u.why;
        } catch (const QSqlError& e) {
            problem = QStringLiteral("sie ist keine lesbare Datenbank: %1").arg(e.databaseText());
        }
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(name);
        if (!problem.isEmpty())
            return {{}, -1, keepAside(problem)};
    }
    if (activeOnly)
        return loaded; // what the next save needs comes with a whole read
    m_stored = stored;
    m_storedActive = activeId;
    return loaded;
}

bool Store::openWritable(QString* error) {
    if (m_open)
        return true;
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    // A new file is made whole under another name and only then put in place, so the file
    // under the right name always holds a committed team, never an empty start.
    const QString fresh = m_path + QStringLiteral(".neu");
    const bool create = !QFileInfo::exists(m_path);
    if (create)
        for (const char* part : {"", "-wal", "-shm", "-journal"})
            QFile::remove(fresh + QLatin1String(part));
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    db.setDatabaseName(create ? fresh : m_path);
    try {
        if (!db.open())
            throw db.lastError();
        run(db, "PRAGMA journal_mode = WAL");
        // With the log, a commit survives the program's crash or kill as soon as it returns
        // and the file is never torn; only a power cut may lose the last commits, not mix them.
        // Waiting for the disk at every press would cost more than the whole save.
        run(db, "PRAGMA synchronous = NORMAL");
        QSqlQuery v = run(db, "PRAGMA user_version");
        v.next();
        const int version = v.value(0).toInt();
        if (version < currentVersion) {
            if (!db.transaction())
                throw db.lastError();
            try {
                for (int step = version; step < currentVersion; ++step)
                    for (const char* sql : migrations[step])
                        if (sql)
                            run(db, QString::fromLatin1(sql));
                run(db, QStringLiteral("PRAGMA user_version = %1").arg(currentVersion));
                if (!db.commit())
                    throw db.lastError();
            } catch (const QSqlError&) {
                db.rollback();
                throw;
            }
        }
        if (create) {
            // Closing the only connection folds the log into the file and removes it.
            db.close();
            if (!QFile::rename(fresh, m_path))
                throw QSqlError({}, QStringLiteral("die neue Datei ließ sich nicht umbenennen"));
            db.setDatabaseName(m_path);
            if (!db.open())
                throw db.lastError();
            run(db, "PRAGMA synchronous = NORMAL");
        }
    } catch (const QSqlError& e) {
        *error = germanReason(e);
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_connection);
        return false;
    }
    m_open = true;
    return true;
}

bool Store::save(QList<Patient>& patients, int active, QString* error) {
    if (m_unusable) {
        *error = QStringLiteral("die alte Datei ist im Weg");
        return false;
    }
    if (!m_open && patients.isEmpty() && m_stored.isEmpty())
        return true; // nothing to keep, and no file made for it
    if (!openWritable(error))
        return false;
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    QList<std::pair<int, qint64>> newIds;
    QHash<qint64, Stored> mirror = m_stored;
    if (!db.transaction()) {
        *error = germanReason(db.lastError());
        return false;
    }
    try {
        if (!write(patients, active, newIds, mirror))
            throw db.lastError();
        if (!db.commit())
            throw db.lastError();
    } catch (const QSqlError& e) {
        *error = germanReason(e);
        db.rollback();
        return false;
    }
    for (const auto& [index, id] : newIds)
        patients[index].id = id;
    m_stored = std::move(mirror);
    m_storedActive = active < 0 ? -1 : patients[active].id;
    return true;
}

bool Store::write(QList<Patient>& patients, int active, QList<std::pair<int, qint64>>& newIds,
                  QHash<qint64, Stored>& mirror) {
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    QSet<qint64> present;
    for (const Patient& p : patients)
        present.insert(p.id);
    for (auto it = mirror.begin(); it != mirror.end();) {
        if (present.contains(it.key())) {
            ++it;
            continue;
        }
        for (const char* table : {"patient WHERE id", "undo WHERE patient", "line WHERE patient",
                                  "block WHERE patient"})
            run(db, QStringLiteral("DELETE FROM %1 = ?").arg(QLatin1String(table)), {it.key()});
        it = mirror.erase(it);
    }
    QList<qint64> ids;
    for (int i = 0; i < patients.size(); ++i) {
        const Patient& p = patients[i];
        const QVariantList row{p.name,
                               QString::fromUtf8(p.sheetJson),
                               p.recordFirst,
                               p.trimmed,
                               p.trimmed ? p.trimmedAt.toString(Qt::ISODateWithMs) : QVariant(),
                               p.nextUndo};
        qint64 id = p.id;
        if (id == 0) {
            QSqlQuery q = run(db,
                              "INSERT INTO patient(name, sheet, record_first, trimmed, "
                              "trimmed_at, next_undo) VALUES (?, ?, ?, ?, ?, ?)",
                              row);
            id = q.lastInsertId().toLongLong();
            newIds.append({i, id});
            mirror[id].recordFirst = mirror[id].end = mirror[id].blockEnd = p.recordFirst;
        } else {
            const Stored& s = mirror[id];
            if (s.name != p.name || s.sheet != p.sheetJson || s.recordFirst != p.recordFirst ||
                s.trimmed != p.trimmed || s.nextUndo != p.nextUndo)
                run(db,
                    "UPDATE patient SET name = ?, sheet = ?, record_first = ?, trimmed = ?, "
                    "trimmed_at = ?, next_undo = ? WHERE id = ?",
                    row + QVariantList{id});
        }
        ids << id;
        Stored& s = mirror[id];
        s.name = p.name;
        s.sheet = p.sheetJson;
        s.trimmed = p.trimmed;
        s.trimmedAt = p.trimmedAt;
        s.nextUndo = p.nextUndo;

        QSet<qint64> steps;
        for (const UndoStep& step : p.undo) {
            steps.insert(step.seq);
            if (!s.undo.contains(step.seq))
                run(db, "INSERT INTO undo(patient, seq, what, time, sheet) VALUES (?, ?, ?, ?, ?)",
                    {id, step.seq, t(step.what), step.time.toString(timeFormat),
                     QString::fromUtf8(step.json)});
        }
        for (qint64 seq : std::as_const(s.undo))
            if (!steps.contains(seq))
                run(db, "DELETE FROM undo WHERE patient = ? AND seq = ?", {id, seq});
        s.undo = steps;

        // Lines that went: whole blocks below the first line kept, single lines too.
        if (p.recordFirst > s.recordFirst) {
            run(db, "DELETE FROM block WHERE patient = ? AND first + ? <= ?",
                {id, recordBlock, p.recordFirst});
            run(db, "DELETE FROM line WHERE patient = ? AND seq < ?", {id, p.recordFirst});
            s.recordFirst = p.recordFirst;
            s.end = std::max(s.end, p.recordFirst);
            s.blockEnd = std::max(s.blockEnd, p.recordFirst);
        }
        const qint64 end = p.recordFirst + p.record.size();
        for (qint64 seq = s.end; seq < end; ++seq) {
            const RecordEntry& e = p.record[seq - p.recordFirst];
            run(db,
                "INSERT INTO line(patient, seq, time, action, inputs, dice, by_hand, outcome, "
                "figures) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)",
                {id, seq, e.time.toString(Qt::ISODateWithMs), t(e.action), t(e.inputs), t(e.dice),
                 int(e.byHand), t(e.outcome), figuresText(e)});
        }
        s.end = std::max(s.end, end);
        // A hundred single lines become one compressed block.
        while (s.end - s.blockEnd >= recordBlock && s.blockEnd >= p.recordFirst) {
            run(db, "INSERT INTO block(patient, first, lines) VALUES (?, ?, ?)",
                {id, s.blockEnd, packLines(p.record.mid(s.blockEnd - p.recordFirst, recordBlock))});
            run(db, "DELETE FROM line WHERE patient = ? AND seq >= ? AND seq < ?",
                {id, s.blockEnd, s.blockEnd + recordBlock});
            s.blockEnd += recordBlock;
        }
    }
    const qint64 activeId = active < 0 ? -1 : ids[active];
    if (activeId != m_storedActive)
        run(db, "INSERT OR REPLACE INTO setting(key, value) VALUES ('active', ?)",
            {activeId < 0 ? QVariant() : QVariant(activeId)});
    return true;
}

} // namespace team
