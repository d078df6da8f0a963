#pragma once
// Data rows for the rule tests, each row one QStringList column "t". Tables transcribed from
// the rules live as tab-separated files beside their test; short ones live in the test as
// strings with "|" between the cells. A table file that is missing, empty or has a line with
// the wrong number of cells aborts the run, so a broken table can never pass by skipping.

#include <QFile>
#include <QTest>

inline void rows(std::initializer_list<const char*> table) {
    QTest::addColumn<QStringList>("t");
    for (const char* row : table)
        QTest::newRow(row) << QString::fromUtf8(row).split(u'|');
}

// `name` is a file in the test's folder (TABLE_DIR); lines starting with "#" are comments.
inline void tsvRows(const char* name, qsizetype cells) {
    QFile file(QStringLiteral(TABLE_DIR "/") + QLatin1String(name));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        qFatal("cannot read table %s", qPrintable(file.fileName()));
    QTest::addColumn<QStringList>("t");
    int count = 0;
    for (const QString& line : QString::fromUtf8(file.readAll()).split(u'\n')) {
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        if (line.count(u'\t') + 1 != cells)
            qFatal("%s: not %d cells: %s", qPrintable(file.fileName()), int(cells),
                   qPrintable(line));
        QTest::newRow(qPrintable(QString(line).replace(u'\t', u' '))) << line.split(u'\t');
        ++count;
    }
    if (count == 0)
        qFatal("table %s has no rows", qPrintable(file.fileName()));
}

// A dice cell: faces separated by blanks, "5x100" for a hundred fives.
inline QList<int> faces(const QString& cell) {
    QList<int> all;
    for (const QString& f : cell.split(u' ', Qt::SkipEmptyParts))
        all += QList<int>(f.contains(u'x') ? f.section(u'x', 1).toInt() : 1,
                          f.section(u'x', 0, 0).toInt());
    return all;
}
