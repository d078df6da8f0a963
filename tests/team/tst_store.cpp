// The team on disk: every field of a patient read back equal, changes written as changes,
// every kind of unusable file kept aside untouched.

#include "TeamSamples.h"

#include <QtSql>
#include <QtTest>
#include <optional>

using namespace team;

static QByteArray bytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(none)");
}

class tst_Store : public QObject {
    Q_OBJECT

    QTemporaryDir kept;                                // a team of two patients with 150 lines each
    std::optional<QTemporaryDir> fresh{std::in_place}; // empty, for each test function and row
    const QTemporaryDir& dir() const { return *fresh; }
    QString path() const { return dir().filePath("runde.sqlite"); }

  private slots:
    void initTestCase() { made(2, 150, kept.filePath("runde.sqlite")); }
    void cleanup() { fresh.emplace(); }

    // Every field, saved in steps as the program saves, reads back equal after each step.
    void roundTrip() {
        QList<Patient> team = made(3, 150, path()); // one block and fifty single lines each
        Store store(path());
        QString error;
        Store::Loaded back = store.load();
        QCOMPARE(back.active, 2); // read whole: a file refused would hold no patient
        QCOMPARE(describe(back.patients), describe(team));
        using Step = std::function<void(QList<Patient>&)>;
        const QList<std::pair<const char*, Step>> steps = {
            {"press", [](auto& t) { press(t[1], 7); }},
            {"rename", [](auto& t) { t[0].name = "Kira Ö."; }},
            {"undo", [](auto& t) { t[2].undo.removeLast(), t[2].setSheet(sheet(99)); }},
            {"clear", [](auto& t) { t[1].clearRecord(), press(t[1], 8); }},
            {"remove", [](auto& t) { t.removeAt(0); }},
            {"new", [](auto& t) { t << t[0], t.last().id = 0, t.last().name = "Neu"; }},
            {"full", [](auto& t) {
                 for (int n = 0; n < 10150; ++n)
                     t[0].addLine(line(n));
             }}};
        for (const auto& [tag, step] : steps) {
            step(back.patients);
            QVERIFY2(store.save(back.patients, 1, &error), tag);
            QCOMPARE(back.patients.last().id > 0, true);
            QCOMPARE(describe(Store(path()).load().patients), describe(back.patients));
        }
        QCOMPARE(back.patients[0].record.size(), 9951);
        QVERIFY(back.patients[0].trimNotice()->inputs.startsWith("200 "));
        QCOMPARE(back.patients[0].undo.size(), 50);
        // A sheet as this file format has it reads back and is written the same.
        const QByteArray format =
            R"({"checked":{"daheim":true},"enabled":{"BioIndex":false},"lists":{"x":["1"]},)"
            R"("state":{"BioDivisor":9,"BioMod":8,"Gesamtzeit":12.5,"Grundzeitraum":10.5,)"
            R"("Heilungsdauer":11.5,"Konstitution":7,"Kosten":"13","Lebensstilstufe":4,)"
            R"("Mindestlebensstil":"Mittel","MindeststilStufe":3,"Mindestwurf":5,)"
            R"("Schadenskaestchen":1,"Schadensniveau":"L","Umstaende":6,"Verletzungsmod":2},)"
            R"("texts":{"Schaden":"1"}})";
        QCOMPARE(Sheet::fromJson(format, &error).value_or(Sheet{}).json(), format);
    }

    // What a press of a patient reads from the sheet, a control set by its name: the fields,
    // the care and the seven boxes of the rule's input, each box ticked in a pattern of its own
    // over the rows, so that two boxes read in each other's place show.
    void input_data() {
        QTest::addColumn<QString>("controls"); // each set to its own name, or ticked
        QTest::addColumn<QString>("input");
        const char* const rows[][2] = {
            {"Schaden txtKonstitution Willenskraft BioIndex EssenzDok txtBioTech",
             "Schaden txtKonstitution Willenskraft BioIndex EssenzDok txtBioTech 0 0000000"},
            {"Krankenhaus dokBio dokCyb magischeBetreuung Kommunikation", "0 3 3 0 6 8 1 1010101"},
            {"schlechteUmst undokBio dokCyb Erwachter Kommunikation", "0 3 3 0 6 8 2 0110011"},
            {"furchtbareUmst undokCyb magischeBetreuung Erwachter Kommunikation",
             "0 3 3 0 6 8 3 0001111"}};
        for (const auto& [controls, input] : rows)
            QTest::newRow(QByteArray(controls).left(12)) << controls << input;
    }
    void input() {
        QFETCH(QString, controls);
        QFETCH(QString, input);
        Sheet s;
        for (const QString& control : controls.split(' '))
            s.texts[control] = control, s.checked[control] = true;
        const healing::HealingInput in = s.input();
        QString got = QString("%1 %2 %3 %4 %5 %6 %7 ")
                          .arg(in.Schaden, in.txtKonstitution, in.Willenskraft, in.BioIndex,
                               in.EssenzDok, in.txtBioTech)
                          .arg(int(in.care));
        for (bool box : {in.dokBio, in.undokBio, in.dokCyb, in.undokCyb, in.magischeBetreuung,
                         in.Erwachter, in.Kommunikation})
            got += box ? '1' : '0';
        QCOMPARE(got, input);
    }

    // A file that cannot be used is kept untouched beside, said once, and the team is empty;
    // values at the edge of their range load ("-" and the active patient).
    void unusable_data() {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("why");
        const char* const rows[][3] = {
            {"cut at 4096", "cut 4096", ""},
            {"cut at last", "cut last", ""},
            {"empty", "cut 0", "leer"},
            {"text", "text", "keine lesbare"},
            {"directory", "directory", "Ordner"},
            {"newer", "PRAGMA user_version = 2", "neueren"},
            {"no version", "PRAGMA user_version = 0", "keine Runde"},
            {"name type", "UPDATE patient SET name = x'4b69' WHERE id = 1", "kein Text"},
            {"name twice", "UPDATE patient SET name = 'Kira'", "Name"},
            {"name blank", "UPDATE patient SET name = ' Kira'", "Name"},
            {"first text", "UPDATE patient SET record_first = 'x'", "Verlauf"},
            {"first max", "UPDATE patient SET record_first = 4611686018427387903", "-1"},
            {"first above", "UPDATE patient SET record_first = 4611686018427387904", "Verlauf"},
            {"sheet json", "UPDATE patient SET sheet = '{'", "unlesbar"},
            {"sheet array", "UPDATE patient SET sheet = '[]'", "unlesbar"},
            {"text number", "$.texts.Schaden 0", ""},
            {"check text", "$.checked.daheim 'ja'", ""},
            {"list number", "$.lists.x json('[1]')", ""},
            {"int16 above", "$.state.BioMod 32768", "BioMod"},
            {"int16 below", "$.state.BioMod -32769", "BioMod"},
            {"int16 half", "$.state.BioMod 3.5", ""},
            {"hours beyond", "$.state.Gesamtzeit 1e39", "Gesamtzeit"},
            {"hours below", "$.state.Gesamtzeit -1", ""},
            {"hours double", "$.state.Gesamtzeit 0.1", ""},
            {"cost below", "$.state.Kosten '-1'", ""},
            {"cost number", "$.state.Kosten 1", ""},
            {"undo what", "UPDATE undo SET what = 'Rückgängig'", "Schritt"},
            {"undo beyond", "UPDATE patient SET next_undo = 2", ""},
            {"next above", "UPDATE patient SET next_undo = 4611686018427387904", "Schritt"},
            {"line time", "UPDATE line SET time = '25:00:00.000'", "Zeitpunkt"},
            {"line gap", "DELETE FROM line WHERE seq = 120", "fehlen"},
            {"by hand", "UPDATE line SET by_hand = 2", "von Hand"},
            {"block bytes", "UPDATE block SET lines = x'0102'", "Verlaufsblock"},
            {"block above", "UPDATE block SET first = 4611686018427387904", "„Verlauf“"},
            {"orphan", "UPDATE undo SET patient = 9 WHERE patient = 1", "keinem Patienten"},
            {"active gone", "UPDATE setting SET value = 9", "aktive"},
            {"active none", "UPDATE setting SET value = NULL", "-0"},
            {"figure text", "UPDATE line SET figures = '1|2|3|x|5|'", "Zahl"},
            {"figure below", "UPDATE line SET figures = '1|2|3|-1|5|'", "Zahl"},
        };
        for (const auto& [tag, edit, why] : rows)
            QTest::newRow(tag) << edit << why;
    }
    void unusable() {
        QFETCH(QString, edit);
        QFETCH(QString, why);
        QVERIFY(QFile::copy(kept.filePath("runde.sqlite"), path()));
        QFile file(path());
        if (edit.startsWith("cut ")) {
            QVERIFY(file.resize(edit == "cut last" ? file.size() - 1 : edit.mid(4).toLongLong()));
        } else if (edit == "text") {
            QVERIFY(file.open(QIODevice::WriteOnly) &&
                    file.write(QByteArray("Kira;3;Krankenhaus\n").repeated(99)) == 1881 &&
                    file.flush()); // the load reads it while it is open
        } else if (edit == "directory") {
            QVERIFY(file.remove() && QDir().mkpath(path() + "/inside"));
        } else {
            if (edit.startsWith("$.")) // a value of the sheet, the JSON kept whole around it
                edit = QString("UPDATE patient SET sheet = json_set(sheet, '%1', %2)")
                           .arg(edit.section(' ', 0, 0), edit.section(' ', 1));
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "edit");
            db.setDatabaseName(path());
            QVERIFY(db.open() && QSqlQuery(db).exec(edit));
            db.close();
        }
        QSqlDatabase::removeDatabase("edit");
        const QByteArray before = QFileInfo(path()).isDir() ? "dir" : bytes(path());
        Store store(path());
        const Store::Loaded back = store.load();
        if (why.startsWith('-')) { // loads, with two patients, this one active
            QCOMPARE(back.problem + QString::number(back.patients.size()), "2");
            QCOMPARE(back.active, why.mid(1).toInt());
            return;
        }
        QVERIFY(back.patients.isEmpty() && back.active == -1);
        QVERIFY2(back.problem.contains(why) && back.problem.contains(path()),
                 qPrintable(back.problem));
        const QStringList aside = QDir(dir().path()).entryList({"runde.sqlite.beschädigt-*[0-9]"});
        QCOMPARE(aside.size(), 1);
        const QString moved = dir().filePath(aside[0]);
        QVERIFY(back.problem.contains(moved) && !QFileInfo::exists(path()));
        QCOMPARE(QFileInfo(moved).isDir() ? "dir" : bytes(moved), before);
    }
};

QTEST_GUILESS_MAIN(tst_Store)
#include "tst_store.moc"
