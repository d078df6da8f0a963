#include "Programm.h"

#include "QtMessageBoxes.h"
#include "windows/Auswahl.h"
#include "windows/Form1.h"
#include "windows/NormalVersorgung.h"
#include "windows/NotfallVersorgung.h"
#include "windows/ProgramLook.h"
#include "windows/SanivexInfo.h"

namespace app {

Programm::Programm(std::unique_ptr<dice::Wuerfelomat> dice, MessageBoxes* boxes)
    : m_dice(dice ? std::move(dice) : std::make_unique<dice::Wuerfelomat>()),
      m_ownBoxes(boxes ? nullptr : std::make_unique<QtMessageBoxes>()),
      m_boxes(boxes ? boxes : m_ownBoxes.get()) {
    windows::useProgramStyle();
}

Programm::~Programm() {
    // Widgets are deleted before the state and dice they refer to.
    form1.destroy();
    auswahl.destroy();
    normalVersorgung.destroy();
    notfallVersorgung.destroy();
    sanivexInfo.destroy();
}

Form1* Programm::start() {
    return form1.open(
        [this](healing::Form1State& state) {
            auto* window = new Form1(state, *m_dice, *m_boxes);
            connect(window, &Form1::suchDocRequested, this, &Programm::openAuswahl);
            connect(window, &Form1::sanivexInfoRequested, this, &Programm::openSanivexInfo);
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
            auto* window = new NormalVersorgung(state, *m_dice, *m_boxes);
            connectToMain(window);
            return window;
        },
        [](NormalVersorgung& window) { window.Form_Load(); });
}

NotfallVersorgung* Programm::openNotfallVersorgung() {
    return notfallVersorgung.open(
        [this](care::NotfallVersorgungState& state) {
            auto* window = new NotfallVersorgung(state, *m_dice, *m_boxes);
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
}

void Programm::mainWindowGone() {
    // Closing the main window ends the program: no other window stays behind without it.
    auswahl.close();
    normalVersorgung.close();
    notfallVersorgung.close();
    sanivexInfo.close();
}

} // namespace app
