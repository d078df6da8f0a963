#pragma once
// The team of patients as the program holds it while it runs: each patient's sheet (what the
// main window shows for them), their undo steps and their record, and which one is active.
// The store writes it; the windows change it only through the program.

#include "Record.h"
#include "Sheet.h"

#include <QDateTime>

namespace team {

// What one "HEILEN!" or Reset changed: the sheet as it was before, to take it back.
struct UndoStep {
    qint64 seq = 0; // per patient, rising; the store tells steps apart by it
    QString what;   // "HEILEN!" or "Reset"
    QTime time;
    Sheet before;
    QByteArray json; // of `before`, made once
};

struct Patient {
    qint64 id = 0; // the store's key, 0 until first saved
    QString name;
    Sheet sheet;
    QByteArray sheetJson; // of `sheet`, made whenever it is set
    QList<UndoStep> undo; // oldest first
    qint64 nextUndo = 1;
    // The record's lines; recordFirst numbers the first of them, counting every line the
    // patient ever had, so lines that went (trimmed or cleared) are told apart from new ones.
    QList<RecordEntry> record;
    qint64 recordFirst = 0;
    qint64 trimmed = 0;  // lines dropped because the record was full
    QDateTime trimmedAt; // when that last happened

    void setSheet(const Sheet& s) {
        sheet = s;
        sheetJson = s.json();
    }
    void pushUndo(const QString& what, const Sheet& before);
    // The line that stands first once older lines went, or nothing.
    std::optional<RecordEntry> trimNotice() const;
    // Appends, dropping the oldest lines a hundred at a time once the record is full.
    void addLine(const RecordEntry& entry);
    void clearRecord() {
        recordFirst += record.size();
        record.clear();
    }
};

constexpr int undoSteps = 50;      // kept per patient
constexpr int recordLines = 10000; // kept per patient, the notice of dropped lines included
constexpr int recordBlock = 100;   // dropped and stored together
constexpr int nameLength = 64;

// Why a new name cannot be used ("" when it can): trimmed, not empty, unique, not too long.
QString nameProblem(const QString& trimmed, const QStringList& others);

} // namespace team
