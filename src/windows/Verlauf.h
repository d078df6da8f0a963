#pragma once
// The record window: one line per carried-out press, search and trade step, newest last, with
// "Kopieren" (the whole record as plain text to the clipboard), "Speichern …" (a CSV file the
// user chooses) and "Leeren". It shows the program's one record and follows it as it grows.

#include <QWidget>

class MessageBoxes;
class QListWidget;
class Record;

class Verlauf : public QWidget {
    Q_OBJECT

  public:
    Verlauf(Record& record, MessageBoxes& boxes, QWidget* parent = nullptr);

    // Saves the record as CSV to `path`; a failure is told in a message box.
    void saveTo(const QString& path);

  private:
    void showRecord();
    void save();

    Record& m_record;
    MessageBoxes& m_boxes;
    QListWidget* m_list;
};
