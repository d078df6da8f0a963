#include "Programm.h"

#include "QtMessageBoxes.h"
#include "windows/Auswahl.h"
#include "windows/Form1.h"
#include "windows/NormalVersorgung.h"
#include "windows/NotfallVersorgung.h"
#include "windows/Prognose.h"
#include "windows/ProgramLook.h"
#include "windows/Runde.h"
#include "windows/SanivexInfo.h"
#include "windows/Verlauf.h"

#include <QApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QWindow>
#include <algorithm>

namespace app {

Programm::Programm(std::unique_ptr<dice::Wuerfelomat> dice, MessageBoxes* boxes)
    : m_generator(dice ? std::move(dice) : std::make_unique<dice::Wuerfelomat>()),
      m_dice(*m_generator), m_ownBoxes(boxes ? nullptr : std::make_unique<QtMessageBoxes>()),
      m_boxes(boxes ? boxes : m_ownBoxes.get()) {
    windows::useProgramStyle();
    m_forecast.setSingleShot(true);
    m_forecast.setInterval(0);
    connect(&m_forecast, &QTimer::timeout, this, &Programm::showForecast);
    // A zero timer, not a queued call: it fires once the event loop has nothing else to do,
    // so the main window's first frame has been painted and flushed before the team is read.
    m_loadSoon.setSingleShot(true);
    m_loadSoon.setInterval(0);
    connect(&m_loadSoon, &QTimer::timeout, this, &Programm::loadTeam);
    m_saveSoon.setSingleShot(true);
    m_saveSoon.setInterval(0);
    connect(&m_saveSoon, &QTimer::timeout, this, &Programm::saveNow);
    m_saveLater.setSingleShot(true);
    m_saveLater.setInterval(1000);
    connect(&m_saveLater, &QTimer::timeout, this, &Programm::saveNow);
    connect(&record, &Record::changed, this, &Programm::recordChanged);
    connect(qApp, &QCoreApplication::aboutToQuit, this, &Programm::saveNow);
    qApp->installEventFilter(this);
}

Programm::~Programm() {
    saveNow();
    // Widgets are deleted before the state and dice they refer to.
    form1.destroy();
    auswahl.destroy();
    normalVersorgung.destroy();
    notfallVersorgung.destroy();
    sanivexInfo.destroy();
    prognose.destroy();
    verlauf.destroy();
    runde.destroy();
}

Form1* Programm::start() {
    Form1* main = form1.open(
        [this](healing::Form1State& state) {
            auto* window = new Form1(state, m_dice, *m_boxes);
            connect(window, &Form1::suchDocRequested, this, &Programm::openAuswahl);
            connect(window, &Form1::sanivexInfoRequested, this, &Programm::openSanivexInfo);
            connect(window, &Form1::prognoseRequested, this, &Programm::openPrognose);
            connect(window, &Form1::changed, this, &Programm::forecastSoon);
            connect(window, &Form1::verlaufRequested, this, &Programm::openVerlauf);
            connect(window, &Form1::recorded, this, &Programm::addToRecord);
            connect(window, &Form1::ownDiceChanged, this, [this](bool own) { m_dice.setOwn(own); });
            connect(window, &Form1::rundeRequested, this, &Programm::openRunde);
            connect(window, &Form1::undoRequested, this, &Programm::undo);
            connect(window, &Form1::stepTaken, this, &Programm::stepTaken);
            connect(window, &Form1::changed, this, [this] { m_saveLater.start(); });
            connect(window, &QObject::destroyed, this, &Programm::mainWindowGone);
            return window;
        },
        [](Form1& window) { window.Form_Load(); });
    m_startSheet = main->capture();
    return main;
}

Auswahl* Programm::openAuswahl() {
    return auswahl.open(
        [this](std::monostate&) {
            auto* window = new Auswahl;
            connect(window, &Auswahl::notfallRequested, this, [this] {
                openNotfallVersorgung();
                auswahl.close();
            });
            connect(window, &Auswahl::normalfallRequested, this, [this] {
                openNormalVersorgung();
                auswahl.close();
            });
            return window;
        },
        [](Auswahl&) {}); // the dialog has no load handler
}

NormalVersorgung* Programm::openNormalVersorgung() {
    return normalVersorgung.open(
        [this](care::NormalVersorgungState& state) {
            auto* window = new NormalVersorgung(state, m_dice, *m_boxes);
            connectToMain(window);
            return window;
        },
        [](NormalVersorgung& window) { window.Form_Load(); });
}

NotfallVersorgung* Programm::openNotfallVersorgung() {
    return notfallVersorgung.open(
        [this](care::NotfallVersorgungState& state) {
            auto* window = new NotfallVersorgung(state, m_dice, *m_boxes);
            connectToMain(window);
            return window;
        },
        [](NotfallVersorgung& window) { window.Form_Load(); });
}

SanivexInfo* Programm::openSanivexInfo() {
    return sanivexInfo.open([](std::monostate&) { return new SanivexInfo; },
                            [](SanivexInfo&) {}); // fixed content, no load handler
}

void Programm::connectToMain(SearchWindow* window) {
    // Everything a search window sends goes straight to the main window. Only a live one takes
    // it: a closed main window is gone for good, and its connections with it.
    if (Form1* main = form1.window()) {
        connect(window, &SearchWindow::handOver, main, &Form1::handOver);
        connect(window, &SearchWindow::showDice, main, &Form1::showDice);
        connect(window, &SearchWindow::handOver, this, &Programm::saveSoon);
    }
    // A search window's inputs, its opening and its closing all change the forecast.
    connect(window, &SearchWindow::changed, this, &Programm::forecastSoon);
    connect(window, &SearchWindow::recorded, this, &Programm::addToRecord);
    forecastSoon();
}

QRect Programm::placeBeside(const QRect& main, const QSize& wanted, const QMargins& frame,
                            const QRect& screen) {
    constexpr int gap = 8;
    const QSize size = wanted.boundedTo(screen.size().shrunkBy(frame));
    const QSize outer = size.grownBy(frame);
    int x = 0;
    if (main.right() + 1 + gap + outer.width() <= screen.right() + 1)
        x = main.right() + 1 + gap;
    else if (main.left() - gap - outer.width() >= screen.left())
        x = main.left() - gap - outer.width();
    else
        x = std::clamp(main.left(), screen.left(), screen.right() + 1 - outer.width());
    const int y = std::clamp(main.top(), screen.top(), screen.bottom() + 1 - outer.height());
    return {QPoint(x + frame.left(), y + frame.top()), size};
}

namespace {

// Beside the main window, where both can be read, and wholly on its screen.
void placeBesideMain(QWidget* window, const QWidget* main) {
    if (!main || !main->screen())
        return;
    const QRect outer = main->frameGeometry(), inner = main->geometry();
    const QMargins frame(inner.left() - outer.left(), inner.top() - outer.top(),
                         outer.right() - inner.right(), outer.bottom() - inner.bottom());
    window->setGeometry(
        Programm::placeBeside(outer, window->size(), frame, main->screen()->availableGeometry()));
}

} // namespace

Prognose* Programm::openPrognose() {
    Prognose* window = prognose.open(
        [this](std::monostate&) {
            auto* forecast = new Prognose;
            placeBesideMain(forecast, form1.window());
            return forecast;
        },
        [](Prognose&) {});
    showForecast();
    return window;
}

Verlauf* Programm::openVerlauf() {
    finishLoading();
    return verlauf.open(
        [this](std::monostate&) {
            auto* window = new Verlauf(record, *m_boxes);
            placeBesideMain(window, form1.window());
            return window;
        },
        [](Verlauf&) {});
}

void Programm::addToRecord(const RecordEntry& entry) {
    record.add(entry);
}

void Programm::forecastSoon() {
    if (prognose.isOpen())
        m_forecast.start();
}

void Programm::showForecast() {
    Prognose* window = prognose.window();
    Form1* main = form1.window();
    if (!window || !main)
        return;
    ForecastInputs inputs{main->input(), form1.state, {}, {}};
    if (NormalVersorgung* normal = normalVersorgung.window())
        inputs.normal = {{normal->input(), normalVersorgung.state}};
    if (NotfallVersorgung* notfall = notfallVersorgung.window())
        inputs.emergency = {{notfall->input(), notfallVersorgung.state}};
    window->showForecast(inputs);
}

bool Programm::eventFilter(QObject* watched, QEvent* event) {
    // A modal dialog (the dice asked at the table) keeps the keyboard: no window opens behind it.
    if (event->type() == QEvent::KeyPress && form1.isOpen() && !QApplication::activeModalWidget()) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_F2 && key->modifiers() == Qt::NoModifier) {
            openPrognose();
            return true;
        }
        if (key->key() == Qt::Key_F3 && key->modifiers() == Qt::NoModifier) {
            openVerlauf();
            return true;
        }
        if (key->key() == Qt::Key_F4 && key->modifiers() == Qt::NoModifier) {
            openRunde();
            return true;
        }
        // Before a field takes Ctrl+Z for its own text: in the main window it takes back a press.
        auto* widget = qobject_cast<QWidget*>(watched);
        if (key->matches(QKeySequence::Undo) && widget && widget->window() == form1.window()) {
            undo();
            return true;
        }
    }
    // The team is read once the main window's first frame is on screen.
    if (event->type() == QEvent::Expose && !m_loaded && form1.isOpen() &&
        watched == static_cast<QObject*>(form1.window()->windowHandle()))
        m_loadSoon.start();
    if (event->type() == QEvent::Close && watched == form1.window())
        saveNow();
    return QObject::eventFilter(watched, event);
}

void Programm::mainWindowGone() {
    // Closing the main window ends the program: no other window stays behind without it.
    auswahl.close();
    normalVersorgung.close();
    notfallVersorgung.close();
    sanivexInfo.close();
    prognose.close();
    verlauf.close();
    runde.close();
}

Runde* Programm::openRunde() {
    finishLoading();
    return runde.open(
        [this](std::monostate&) {
            Runde::Actions actions{
                [this] { return m_active; },
                [this](const QString& name) { return newPatient(name); },
                [this](int i, const QString& name) { return renamePatient(i, name); },
                [this](int i) { removePatient(i); }, [this](int i) { activate(i); }};
            auto* window = new Runde(m_patients, actions, *m_boxes);
            if (Form1* main = form1.window())
                window->move(main->frameGeometry().bottomLeft() + QPoint(0, 8));
            return window;
        },
        [](Runde& window) { window.showTeam(); });
}

void Programm::loadTeam() {
    if (m_loaded)
        return;
    m_loaded = true;
    m_store = std::make_unique<team::Store>(team::Store::defaultPath());
    QStringList told;
    if (!m_store->lock()) {
        m_readOnly = true;
        told << QStringLiteral("Die Runde ist schon in einem anderen Fenster dieses Programms "
                               "geöffnet. Hier ist sie nur zum Lesen offen: was in diesem "
                               "Fenster geschieht, wird nicht gespeichert.");
    }
    // The active patient's sheet first, so the window shows it at once; the whole team, with every
    // value checked, follows from another thread.
    team::Store::Loaded loaded = m_store->load(true);
    if (!loaded.problem.isEmpty())
        told << loaded.problem;
    if (!loaded.patients.isEmpty()) {
        m_patients = std::move(loaded.patients);
        m_active = loaded.active;
        showCurrent();
        m_rest = std::async(std::launch::async, [this, store = m_store.get()] {
            team::Store::Loaded whole = store->load();
            QMetaObject::invokeMethod(this, &Programm::finishLoading, Qt::QueuedConnection);
            return whole;
        });
    } else if (Form1* main = form1.window()) {
        main->showPatient(m_readOnly ? QStringLiteral("(nur lesen)") : QString());
    }
    for (const QString& message : told)
        (void)m_boxes->inform(form1.window(), message);
}

void Programm::finishLoading() {
    if (!m_rest.valid())
        return;
    team::Store::Loaded whole = m_rest.get();
    if (!whole.problem.isEmpty()) { // nothing of a damaged file stays on screen
        m_patients.clear();
        m_active = -1;
        m_loose.setSheet(m_startSheet);
        showCurrent();
        if (Form1* main = form1.window())
            main->showPatient(m_readOnly ? QStringLiteral("(nur lesen)") : QString());
        (void)m_boxes->inform(form1.window(), whole.problem);
        return;
    }
    // The active patient stays as shown, with what happened to them since; the others come
    // from the whole read. Only another copy's save in between changes the team's shape.
    const bool same = whole.patients.size() == m_patients.size() && whole.active == m_active &&
                      m_active >= 0 && whole.patients[m_active].id == m_patients[m_active].id;
    if (same) {
        team::Patient& shown = m_patients[m_active];
        team::Patient& read = whole.patients[m_active];
        for (const RecordEntry& line : std::as_const(shown.record)) // recorded since
            read.addLine(line);
        shown.record = std::move(read.record);
        shown.recordFirst = read.recordFirst;
        shown.trimmed = read.trimmed;
        shown.trimmedAt = read.trimmedAt;
        read = std::move(shown);
    }
    m_patients = std::move(whole.patients);
    if (same) {
        showRecord();
        teamChanged();
    } else {
        m_active = whole.active;
        showCurrent();
    }
}

void Programm::keepShown() {
    if (Form1* main = form1.window())
        current().setSheet(main->capture());
}

void Programm::showCurrent() {
    team::Patient& patient = current();
    if (Form1* main = form1.window()) {
        main->restore(patient.sheet);
        QString name = m_active >= 0 ? patient.name : QString();
        if (m_readOnly)
            name += QStringLiteral(" (nur lesen)");
        main->showPatient(name.trimmed());
        main->setUndoAvailable(!patient.undo.isEmpty());
    }
    form1.state = patient.sheet.state;
    showRecord();
    teamChanged();
}

void Programm::showRecord() {
    const team::Patient& patient = current();
    m_syncing = true;
    record.blockSignals(true);
    record.clear();
    if (const std::optional<RecordEntry> notice = patient.trimNotice())
        record.add(*notice);
    for (const RecordEntry& entry : patient.record)
        record.add(entry);
    record.blockSignals(false);
    emit record.changed();
    m_syncing = false;
}

void Programm::recordChanged() {
    if (m_syncing)
        return;
    team::Patient& patient = current();
    const QList<RecordEntry>& shown = record.entries();
    const qsizetype kept = (patient.trimNotice() ? 1 : 0) + patient.record.size();
    if (shown.size() < kept) { // emptied in "Verlauf"
        patient.clearRecord();
        patient.trimmed = 0;
    } else {
        const qint64 trimmed = patient.trimmed;
        for (qsizetype i = kept; i < shown.size(); ++i)
            patient.addLine(shown[i]);
        if (patient.trimmed != trimmed) // the oldest lines went: the notice stands first
            showRecord();
    }
    saveSoon();
}

void Programm::stepTaken(const QString& what, const team::Sheet& before) {
    current().pushUndo(what, before);
    if (Form1* main = form1.window())
        main->setUndoAvailable(true);
    saveSoon();
}

void Programm::undo() {
    team::Patient& patient = current();
    Form1* main = form1.window();
    if (patient.undo.isEmpty() || !main)
        return;
    const team::UndoStep step = patient.undo.takeLast();
    main->restore(step.before);
    form1.state = step.before.state;
    main->setUndoAvailable(!patient.undo.isEmpty());
    addToRecord(record::undone(step.what, step.time));
    saveNow();
}

QString Programm::newPatient(const QString& name) {
    finishLoading();
    QStringList names;
    for (const team::Patient& patient : std::as_const(m_patients))
        names << patient.name;
    const QString problem = team::nameProblem(name.trimmed(), names);
    if (!problem.isEmpty())
        return problem;
    keepShown();
    team::Patient patient;
    if (m_patients.isEmpty()) { // the first patient is the one on screen, with their record
        patient = std::exchange(m_loose, {});
    } else {
        patient.setSheet(m_startSheet);
    }
    patient.id = 0;
    patient.name = name.trimmed();
    m_patients << patient;
    m_active = int(m_patients.size()) - 1;
    showCurrent();
    saveNow();
    return {};
}

QString Programm::renamePatient(int index, const QString& name) {
    finishLoading();
    QStringList names;
    for (int i = 0; i < m_patients.size(); ++i)
        if (i != index)
            names << m_patients[i].name;
    const QString problem = team::nameProblem(name.trimmed(), names);
    if (!problem.isEmpty())
        return problem;
    m_patients[index].name = name.trimmed();
    if (index == m_active)
        if (Form1* main = form1.window())
            main->showPatient(m_patients[index].name);
    teamChanged();
    saveNow();
    return {};
}

void Programm::removePatient(int index) {
    finishLoading();
    if (index < 0 || index >= m_patients.size())
        return;
    keepShown();
    m_patients.removeAt(index);
    if (index < m_active || m_active >= m_patients.size())
        --m_active;
    if (m_patients.isEmpty()) // back to a window of its own, as at a first start
        m_loose.setSheet(m_startSheet);
    showCurrent();
    saveNow();
}

void Programm::activate(int index) {
    finishLoading();
    if (index == m_active || index < 0 || index >= m_patients.size())
        return;
    keepShown();
    m_active = index;
    showCurrent();
    saveSoon();
}

void Programm::saveSoon() {
    m_saveSoon.start();
}

void Programm::saveNow() {
    m_saveSoon.stop();
    m_saveLater.stop();
    finishLoading(); // a file found damaged is never written to
    keepShown();
    teamChanged(); // "Runde" shows what is saved
    if (!m_store || m_readOnly)
        return;
    QString error;
    if (m_store->save(m_patients, m_active, &error)) {
        m_failureTold = false;
        return;
    }
    if (!std::exchange(m_failureTold, true))
        (void)m_boxes->inform(form1.window(),
                              QStringLiteral("Die Runde ließ sich nicht speichern: %1. Nichts "
                                             "davon ist halb geschrieben; das Programm arbeitet "
                                             "weiter und versucht es beim nächsten Speichern "
                                             "wieder.")
                                  .arg(error));
}

void Programm::teamChanged() {
    if (Runde* window = runde.window())
        window->showTeam();
}

} // namespace app
