#pragma once
// The running program: owns the dice, the message boxes and one slot per window, opens the
// windows on request and connects what passes between them: the search windows' signals (the
// skill hand-over, the etiquette dice for the main window's list) go straight to the main
// window. Tests create their own Programm with scripted dice.

#include "WindowSlot.h"
#include "care/EmergencySearch.h"
#include "care/NormalSearch.h"
#include "dice/wuerfelomat.h"
#include "healing/Healing.h"
#include "team/Record.h"
#include "team/Store.h"
#include "windows/TableDice.h"
#include <QMargins>
#include <QRect>

#include <QObject>
#include <QTimer>
#include <future>
#include <memory>

class Form1;
class Auswahl;
class NormalVersorgung;
class NotfallVersorgung;
class SanivexInfo;
class Prognose;
class Verlauf;
class Runde;
class SearchWindow;
class MessageBoxes;

namespace app {

class Programm final : public QObject {
  public:
    // Without arguments: the real dice and modal message boxes.
    explicit Programm(std::unique_ptr<dice::Wuerfelomat> dice = nullptr,
                      MessageBoxes* boxes = nullptr);
    ~Programm() override;

    // Creates the main window, runs its load handler and shows it.
    Form1* start();

    Auswahl* openAuswahl();
    NormalVersorgung* openNormalVersorgung();
    NotfallVersorgung* openNotfallVersorgung();
    SanivexInfo* openSanivexInfo();
    // The forecast, from any window by F2; built on first use, never at start.
    Prognose* openPrognose();
    // The record of this run, from any window by F3.
    Verlauf* openVerlauf();
    // Where a window of client size `wanted` goes: wholly inside the screen's available area
    // `screen`, no larger than it, beside the main window's frame `main` (right, else left)
    // where there is room, else overlapping it. `frame` is what the window manager adds around
    // the client area. Returns the client geometry.
    static QRect placeBeside(const QRect& main, const QSize& wanted, const QMargins& frame,
                             const QRect& screen);

    WindowSlot<Form1, healing::Form1State> form1;
    WindowSlot<Auswahl> auswahl;
    WindowSlot<NormalVersorgung, care::NormalVersorgungState> normalVersorgung;
    WindowSlot<NotfallVersorgung, care::NotfallVersorgungState> notfallVersorgung;
    WindowSlot<SanivexInfo> sanivexInfo;
    WindowSlot<Prognose> prognose;
    WindowSlot<Verlauf> verlauf;
    WindowSlot<Runde> runde;
    // The active patient's record (or this run's, while there is no patient).
    Record record;

    // The team of patients, from any window by F4.
    Runde* openRunde();
    // Reads the saved team once (start() has it done after the first frame) and shows the
    // patient who was active.
    void loadTeam();
    const QList<team::Patient>& patients() const { return m_patients; }
    int activePatient() const { return m_active; }
    // Another copy of the program holds the team: this one shows it and saves nothing.
    bool readOnly() const { return m_readOnly; }
    // Each returns "" or the German message why the name cannot be used.
    QString newPatient(const QString& name);
    QString renamePatient(int index, const QString& name);
    void removePatient(int index);
    // Keeps the shown patient as they are and shows the other exactly as they were left.
    void activate(int index);
    // Takes back the active patient's last "HEILEN!" or Reset.
    void undo();
    // Writes what changed now; a failure is told once, and the next save tries again.
    void saveNow();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void connectToMain(SearchWindow* window);
    void mainWindowGone();
    // Many inputs change in one event (a press sets several fields); the forecast follows
    // once the event is done.
    void forecastSoon();
    void showForecast();
    void addToRecord(const RecordEntry& entry);

    team::Patient& current() { return m_active >= 0 ? m_patients[m_active] : m_loose; }
    void keepShown();
    void showCurrent();
    void showRecord();
    void recordChanged();
    void stepTaken(const QString& what, const team::Sheet& before);
    void saveSoon();
    void teamChanged();
    void finishLoading();

    std::unique_ptr<dice::Wuerfelomat> m_generator;
    TableDice m_dice;
    std::unique_ptr<MessageBoxes> m_ownBoxes;
    MessageBoxes* m_boxes;
    QTimer m_forecast;

    std::unique_ptr<team::Store> m_store;
    // The whole team, read in the background once the active patient is shown; nothing is
    // saved and no other patient is shown before it has arrived.
    std::future<team::Store::Loaded> m_rest;
    QList<team::Patient> m_patients;
    int m_active = -1;
    team::Patient m_loose; // the window's state while no patient exists, for this run only
    team::Sheet m_startSheet;
    bool m_loaded = false;
    bool m_readOnly = false;
    bool m_syncing = false;
    bool m_failureTold = false;
    QTimer m_loadSoon;  // once the first frame is out
    QTimer m_saveSoon;  // at the end of the event that changed the team
    QTimer m_saveLater; // a second after the last input change
};

} // namespace app
