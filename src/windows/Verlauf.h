#pragma once
// The record window: one line per carried-out press, search and trade step, newest last, with
// "Kopieren" (the whole record as plain text to the clipboard), "Speichern …" (a CSV file the
// user chooses) and "Leeren" (after asking). It shows the program's one record and follows it
// as it grows, a new entry as one new line, so a long evening stays as quick as its start.

#include <QWidget>

class MessageBoxes;
class QTableView;
class Record;

class Verlauf : public QWidget {
    Q_OBJECT

  public:
    Verlauf(Record& record, MessageBoxes& boxes, QWidget* parent = nullptr);

    // Saves the record as CSV to `path`; a failure is told in a message box.
    void saveTo(const QString& path);

  private:
    void copy();
    void save();
    void empty();

    Record& m_record;
    MessageBoxes& m_boxes;
    QTableView* m_list;
};
