// The record's entries built from a step's result, their line and their CSV cells (the team's
// CSV too), and the saving of a file: whole or not at all when the disk runs full (on a real
// small tmpfs where the test may mount one, otherwise through a write that runs out), never
// onto a FIFO, a device or a folder.

#include "care/CareTexts.h"
#include "care/EmergencySearch.h"
#include "care/NormalSearch.h"
#include "healing/Healing.h"
#include "team/Record.h"
#include "windows/Runde.h"
#include "windows/TableDice.h"

#include <QtTest>
#include <linux/capability.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/syscall.h>

Q_DECLARE_METATYPE(RecordEntry)

namespace {

// The program's own roll, and dice typed in at the table (ticked in initTestCase).
dice::Wuerfelomat rolled;
TableDice table(rolled);
const TableDice::Asked byHand(table, nullptr);

healing::Press press(int boxesAfter, int successes, float hours, float total, bool hospital,
                     qint64 nuyen = 0) {
    return {.state = {.Schadenskaestchen = numbers::Int16(boxesAfter),
                      .Mindestwurf = 5,
                      .Heilungsdauer = hours,
                      .Gesamtzeit = total,
                      .Kosten = numbers::Amount::fromTicks(nuyen * 10000)},
            .hospital = hospital,
            .unraisedTarget = 5,
            .roll = {{3, 1, 13}, numbers::Int16(successes)}};
}

// A disk that takes `budget` bytes more, then makes no progress (as a write may, without an
// error of its own).
int budget = 0;
ssize_t shortWrite(int fd, const void* data, size_t size) {
    const auto n = std::min<qsizetype>(qsizetype(size), budget);
    budget -= int(n);
    return n == 0 ? 0 : ::write(fd, data, size_t(n));
}

QByteArray bytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(none)");
}

} // namespace

class tst_Record : public QObject {
    Q_OBJECT

    bool mounted = false; // private tmpfs: 64 KiB at `disk`, read-only at `locked` ("@")
    QTemporaryDir disk, locked;
    const QByteArray three = QByteArray("Kästchen;\r\n").repeated(900); // three pages of 4 KiB

  private slots:
    void initTestCase() {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        umask(022); // a new file's mode is checked
        table.setOwn(true);
        mounted =
            unshare(CLONE_NEWNS) == 0 &&
            mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
            mount("tmpfs", QFile::encodeName(disk.path()), "tmpfs", 0, "size=64k") == 0 &&
            mount("tmpfs", QFile::encodeName(locked.path()), "tmpfs", MS_RDONLY, "size=4k") == 0;
        // Root writes into any folder; without this right it meets a folder's permissions.
        __user_cap_header_struct head{_LINUX_CAPABILITY_VERSION_3, 0};
        __user_cap_data_struct caps[2]{};
        QVERIFY(syscall(SYS_capget, &head, caps) == 0);
        caps[0].effective &= ~(1u << CAP_DAC_OVERRIDE);
        QVERIFY(syscall(SYS_capset, &head, caps) == 0);
    }

    void cleanupTestCase() { // the folders can go once nothing is mounted on them
        umount2(QFile::encodeName(disk.path()), MNT_DETACH);
        umount2(QFile::encodeName(locked.path()), MNT_DETACH);
    }

    // An entry built from its step: its line as the record shows it, and its figures' cells.
    void entries_data() {
        QTest::addColumn<RecordEntry>("entry");
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("cells"); // von Hand; boxes before, after; successes; days,
        // total; cost
        healing::Press forced = press(9, 2, 36, 26880, true, 5600);
        forced.unraisedTarget = 1;
        healing::Press notIll;
        notIll.notIll = true;
        const care::NormalSearch found{.MW = 4,
                                       .dice = 2,
                                       .state = {2, 5, -1, 3.5f, 1, 2, 2},
                                       .etiquette = {{4, 2}, 1},
                                       .doctor = care::DoctorRoll{6, 5, 11, {5, 2, false}}};
        const care::EmergencySearch emergency{.state = {.Modif = -2},
                                              .doctor = {1, 2, 1, {0, 0, true}}};
        QTest::newRow("forced")
            << record::press(forced, "zu Hause", numbers::Amount::fromTicks(48000000), byHand)
            << "HEILEN!: Kästchen 10 → 9, Krankenhaus, Mindestwurf 5  (1), Würfel 3 1 13 (von "
               "Hand) → 2 Erfolge, Heilungsdauer 36 hrs = 1,5 Tage, Gesamtzeit 26880 hrs = 1120 "
               "Tage, Krankenhauskosten 5600 Nuyen"
            << "ja;10;9;2;1,5;1120;800";
        QTest::newRow("healed")
            << record::press(press(0, 0, 48, 96, false), "schlechte Umstände", {}, rolled)
            << "HEILEN!: Kästchen 1 → 0, schlechte Umstände, Mindestwurf 5, Würfel 3 1 13 → 0 "
               "Erfolge, Heilungsdauer 48 hrs = 2 Tage, Gesamtzeit 96 hrs = 4 Tage, geheilt"
            << "nein;1;0;0;2;4;";
        QTest::newRow("not ill") << record::press(notIll, "zu Hause", {}, byHand)
                                 << "HEILEN!: Kästchen 0 → Sind Sie überhaupt krank???"
                                 << "nein;0;;;;;";
        QTest::newRow("normal") << record::normalSearch(found, byHand)
                                << "Normale Suche: Modifikator 2, Fertigk.Mod. -1, MW 4, 2 "
                                   "Würfel, Würfel Gebräuche 4 2; 2W6 6 5 (von Hand) → 1 Erfolg, "
                                   "Ergebnis 11, Fertigkeitsstufe 5, Ausrüstungsstufe 2, "
                                   "Zeitraum 3,5 Tage"
                                << "ja;;;1;3,5;;";
        QTest::newRow("emergency")
            << record::emergencySearch(emergency, rolled)
            << "Notfallsuche: Modifikator -2, Würfel 2W6 1 2 → Ergebnis 1: " +
                   care::texts::secondRefusal
            << "nein;;;;;;";
        QTest::newRow("reset") << record::reset(268.8f, numbers::Amount::fromTicks(56000000))
                               << "Reset: Gesamtzeit 268,8 hrs und Kosten 5600 Nuyen auf 0"
                               << "nein;;;;;0;";
        QTest::newRow("undone") << record::undone("Reset", QTime(9, 5, 7))
                                << "Rückgängig: Reset von 09:05:07 → zurückgenommen: alle "
                                   "Felder, Listen, Summen und Kosten wie davor"
                                << "nein;;;;;;";
    }
    void entries() {
        QFETCH(RecordEntry, entry);
        QFETCH(QString, line);
        QFETCH(QString, cells);
        Record record;
        record.add(entry);
        const RecordEntry& e = record.entries().first();
        QVERIFY(qAbs(e.time.secsTo(QDateTime::currentDateTime())) < 5);
        QCOMPARE(e.line(), e.time.toString("HH:mm:ss  ") + line);
        QCOMPARE(record.plainText(), e.line() + '\n');
        const QString row = QString::fromUtf8(record.csv()).section("\r\n", 1, 1);
        QVERIFY(row.startsWith(e.time.toString("yyyy-MM-dd HH:mm:ss;")));
        QCOMPARE(row.section(';', -8, -8) + ';' + row.section(';', -6), cells);
    }

    // Typed text in a cell, of the record's and of the team's CSV (the patient's name there):
    // quoted where it holds a separator, a quote or a line break, and a leading formula
    // character made plain text; the figures stay numbers.
    void cells_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("cell");
        const char* const rows[][3] = {{"plain", "Kästchen 4", "Kästchen 4"},
                                       {"semicolon", "a;b", "\"a;b\""},
                                       {"quote", "a\"b", "\"a\"\"b\""},
                                       {"LF", "a\nb", "\"a\nb\""},
                                       {"CR formula", "1\r=2+3*4", "\"1\r=2+3*4\""},
                                       {"starts =", "=3", "'=3"},
                                       {"starts +", "+3", "'+3"},
                                       {"starts -", "-3", "'-3"},
                                       {"starts @", "@3", "'@3"},
                                       {"starts tab", "\t3", "'\t3"},
                                       {"starts CR", "\r3", "\"'\r3\""},
                                       {"inner", "3-2=1", "3-2=1"}};
        for (const auto& [tag, typed, cell] : rows)
            QTest::newRow(tag) << QString(typed) << QString(cell);
    }
    void cells() {
        QFETCH(QString, typed);
        QFETCH(QString, cell);
        Record record;
        RecordEntry e = record::refusal(typed, typed, typed);
        e.dice = typed;
        e.boxesAfter = -3;
        e.cost = numbers::Amount::fromTicks(-12345);
        record.add(e);
        const QString csv = QString::fromUtf8(record.csv()),
                      header = "Datum und Uhrzeit;Aktion;Eingaben;Würfel;Von Hand;Ergebnis;";
        const QString row = record.entries()[0].time.toString("yyyy-MM-dd HH:mm:ss;") +
                            QString("%1;%1;%1;nein;%1;;-3;;;;-1,2345\r\n").arg(cell);
        QVERIFY(csv.startsWith("\uFEFF" + header) && csv.endsWith(QString("\r\n") + row));
        QCOMPARE(csv.count("\r\n"), 2);
        // The team: the name first, the header once, each patient's lines after their name.
        const team::Patient p{.name = typed, .record = {e}, .trimmed = 100};
        const QString all = QString::fromUtf8(Runde::csv({p, p}));
        QVERIFY(all.startsWith("\uFEFFName;" + header) && all.endsWith(cell + ';' + row));
        QVERIFY(all.section("\r\n", 1, 1).startsWith(cell + ';') &&
                all.section("\r\n", 1, 1).contains(";Verlauf gekürzt;"));
        QCOMPARE(all.count("\r\n"), 5);
    }

    // Saving onto what is there: a plain file is replaced whole, keeping its mode, also through
    // a link; what is no plain file stays as it is. A full disk at the start, in the middle or
    // at the last block of the file (on the real tmpfs where it could be mounted, and
    // simulated) leaves the old file as it was; with room again, the same save writes it whole.
    // No temporary file is left, and the message says why.
    void saves_data() {
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("room"); // 4 KiB pages left beside the old file, -1: no full disk
        QTest::addColumn<bool>("real");
        QTest::addColumn<QString>("error");
        QTest::newRow("new") << "neu.csv" << -1 << false << "";
        QTest::newRow("old") << "alt.csv" << -1 << false << "";
        QTest::newRow("link") << "link" << -1 << false << "";
        QTest::newRow("fifo") << "pipe" << -1 << false << "keine gewöhnliche Datei";
        QTest::newRow("folder") << "." << -1 << false << "keine gewöhnliche Datei";
        QTest::newRow("no right") << "ro/v.csv" << -1 << false << "Keine Berechtigung.";
        QTest::newRow("file as folder") << "alt.csv/v.csv" << -1 << false << "gibt es nicht";
        QTest::newRow("read-only") << "@/v.csv" << -1 << true << "schreibgeschützt";
        for (bool real : {true, false})
            for (int room : {0, 1, 2})
                QTest::addRow("full %d %d", room, real)
                    << "alt.csv" << room << real << "Auf dem Datenträger ist kein Platz mehr frei.";
    }
    void saves() {
        QFETCH(QString, target);
        QFETCH(int, room);
        QFETCH(bool, real);
        QFETCH(QString, error);
        if (real && !mounted)
            QSKIP("no tmpfs could be mounted; the simulated rows stand in for these");
        QDir dir(disk.path());
        const auto all = QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot;
        for (const QString& name : dir.entryList(all))
            QVERIFY(dir.remove(name) || dir.rmdir(name));
        QFile old(dir.filePath("alt.csv")), filler(dir.filePath("filler"));
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("alt\n") == 4);
        old.close();
        QVERIFY(old.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
        QVERIFY(QFile::link(old.fileName(), dir.filePath("link")));
        QVERIFY(mkfifo(QFile::encodeName(dir.filePath("pipe")), 0600) == 0);
        QVERIFY(dir.mkdir("ro") && QFile::setPermissions(dir.filePath("ro"), QFile::ReadOwner));
        struct statvfs fs {};
        QVERIFY(statvfs(QFile::encodeName(disk.path()), &fs) == 0);
        const qint64 fill = qint64(fs.f_bavail) * qint64(fs.f_frsize) - room * 4096;
        if (real && room >= 0)
            QVERIFY(filler.open(QIODevice::WriteOnly) &&
                    filler.write(QByteArray(fill, 'x')) == fill);
        filler.close();
        const QString path =
            target[0] == '@' ? locked.path() + target.mid(1) : dir.filePath(target);
        const auto kind = [](const QString& p) {
            struct stat s {};
            return lstat(QFile::encodeName(p), &s) == 0 ? int(s.st_mode & ~0111u) : 0;
        };
        const int before = kind(path);
        budget = room * 4096;
        QString why;
        QCOMPARE(record::saveFile(path, three, &why, room < 0 || real ? nullptr : shortWrite),
                 error.isEmpty());
        QVERIFY2(why.contains(error), qPrintable(why));
        QCOMPARE(kind(path), before ? before : error.isEmpty() ? int(S_IFREG | 0644) : 0);
        const bool replaced = error.isEmpty() && target != "neu.csv";
        QCOMPARE(bytes(old.fileName()), replaced ? three : "alt\n");
        QCOMPARE(kind(old.fileName()), int(S_IFREG | 0640));
        filler.remove();
        QCOMPARE(dir.entryList(all).join(' '),
                 before || error.size() ? "alt.csv link pipe ro" : "alt.csv link neu.csv pipe ro");
        if (error.isEmpty())
            QCOMPARE(bytes(path), three);
    }
};

QTEST_GUILESS_MAIN(tst_Record)
#include "tst_record.moc"
