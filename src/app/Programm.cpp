#include "Programm.h"

#include "QtMessageBoxes.h"
#include "windows/Auswahl.h"
#include "windows/Form1.h"
#include "windows/NormalVersorgung.h"
#include "windows/NotfallVersorgung.h"
#include "windows/Prognose.h"
#include "windows/ProgramLook.h"
#include "windows/SanivexInfo.h"
#include "windows/Verlauf.h"

#include <QApplication>
#include <QKeyEvent>

namespace app {

Programm::Programm(std::unique_ptr<dice::Wuerfelomat> dice, MessageBoxes* boxes)
    : m_generator(dice ? std::move(dice) : std::make_unique<dice::Wuerfelomat>()),
      m_dice(*m_generator), m_ownBoxes(boxes ? nullptr : std::make_unique<QtMessageBoxes>()),
      m_boxes(boxes ? boxes : m_ownBoxes.get()) {
    windows::useProgramStyle();
    m_forecast.setSingleShot(true);
    m_forecast.setInterval(0);
    connect(&m_forecast, &QTimer::timeout, this, &Programm::showForecast);
    qApp->installEventFilter(this);
}

Programm::~Programm() {
    // Widgets are deleted before the state and dice they refer to.
    form1.destroy();
    auswahl.destroy();
    normalVersorgung.destroy();
    notfallVersorgung.destroy();
    sanivexInfo.destroy();
    prognose.destroy();
    verlauf.destroy();
}

Form1* Programm::start() {
    return form1.open(
        [this](healing::Form1State& state) {
            auto* window = new Form1(state, m_dice, *m_boxes);
            connect(window, &Form1::suchDocRequested, this, &Programm::openAuswahl);
            connect(window, &Form1::sanivexInfoRequested, this, &Programm::openSanivexInfo);
            connect(window, &Form1::prognoseRequested, this, &Programm::openPrognose);
            connect(window, &Form1::changed, this, &Programm::forecastSoon);
            connect(window, &Form1::verlaufRequested, this, &Programm::openVerlauf);
            connect(window, &Form1::recorded, this, &Programm::addToRecord);
            connect(window, &Form1::ownDiceChanged, this, [this](bool own) { m_dice.setOwn(own); });
            connect(window, &QObject::destroyed, this, &Programm::mainWindowGone);
            return window;
        },
        [](Form1& window) { window.Form_Load(); });
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
    }
    // A search window's inputs, its opening and its closing all change the forecast.
    connect(window, &SearchWindow::changed, this, &Programm::forecastSoon);
    connect(window, &SearchWindow::recorded, this, &Programm::addToRecord);
    forecastSoon();
}

Prognose* Programm::openPrognose() {
    Prognose* window = prognose.open(
        [this](std::monostate&) {
            auto* forecast = new Prognose;
            if (Form1* main = form1.window()) // beside the main window, where both can be read
                forecast->move(main->frameGeometry().topRight() + QPoint(8, 0));
            return forecast;
        },
        [](Prognose&) {});
    showForecast();
    return window;
}

Verlauf* Programm::openVerlauf() {
    return verlauf.open([this](std::monostate&) { return new Verlauf(record, *m_boxes); },
                        [](Verlauf&) {});
}

void Programm::addToRecord(RecordEntry entry) {
    entry.byHand = m_dice.own() && !entry.dice.isEmpty();
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
    }
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
}

} // namespace app
