#pragma once
// The team: one row per patient with their damage boxes, care, total time, hospital cost and
// the forecast's expected and 90 % days until healed. "Neu …" and "Umbenennen …" ask for a
// name in a small dialog, "Entfernen" asks first and keeps the patient by default; Enter or a
// double click on a row makes that patient the one the main window shows. "Speichern …"
// writes the whole team's record as one CSV with the patient's name in its own column.

#include "team/Team.h"

#include <QHash>
#include <QPointer>
#include <QWidget>
#include <functional>

class MessageBoxes;
class QTableWidget;
class QDialog;

class Runde : public QWidget {
    Q_OBJECT

  public:
    // What the window asks of the program; the name actions answer "" or why not.
    struct Actions {
        std::function<int()> active;
        std::function<QString(const QString&)> add;
        std::function<QString(int, const QString&)> rename;
        std::function<void(int)> remove;
        std::function<void(int)> activate;
    };
    Runde(const QList<team::Patient>& patients, Actions actions, MessageBoxes& boxes,
          QWidget* parent = nullptr);

    // Rebuilds the rows from the team, the active patient selected.
    void showTeam();
    // The whole team's record as CSV, written whole or not at all.
    void saveTo(const QString& path);
    static QByteArray csv(const QList<team::Patient>& patients);

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    int selected() const;
    void askName(const QString& title, const QString& name,
                 const std::function<QString(const QString&)>& apply);

    const QList<team::Patient>& m_patients;
    Actions m_actions;
    MessageBoxes& m_boxes;
    QTableWidget* m_table;
    QPointer<QDialog> m_dialog; // one name asked at a time
    // Each forecast by the sheet it was worked out from: a refresh works out only the
    // patients whose sheet changed since.
    struct Forecast {
        QString refusal; // empty when the press is allowed
        bool healed = false;
        double mean = 0, late = 0; // hours
    };
    QHash<QByteArray, Forecast> m_forecasts;
};
