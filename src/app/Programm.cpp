#include "Programm.h"

#include "QtMessageBoxes.h"
#include "windows/Auswahl.h"
#include "windows/Form1.h"
#include "windows/NormalVersorgung.h"
#include "windows/NotfallVersorgung.h"
#include "windows/ProgramLook.h"
#include "windows/SanivexInfo.h"

namespace app {

// The etiquette test of the normal search lists its dice in the main window; this forwards to
// whichever main window is alive, so a search window never holds a dangling pointer.
class Programm::MainDice final : public dice::DiceSink {
  public:
    explicit MainDice(Programm& programm) : m_programm(programm) {}
    void clearDice() override {
        if (Form1* main = m_programm.form1.window())
            main->clearDice();
    }
    void appendDie(const QString& line) override {
        if (Form1* main = m_programm.form1.window())
            main->appendDie(line);
    }

  private:
    Programm& m_programm;
};

Programm::Programm(std::unique_ptr<dice::Wuerfelomat> dice, MessageBoxes* boxes)
    : m_dice(dice ? std::move(dice) : std::make_unique<dice::Wuerfelomat>()),
      m_ownBoxes(boxes ? nullptr : std::make_unique<QtMessageBoxes>()),
      m_boxes(boxes ? boxes : m_ownBoxes.get()), m_mainDice(std::make_unique<MainDice>(*this)) {
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
            auto* window = new NormalVersorgung(state, *m_dice, *m_mainDice, *m_boxes);
            connect(window, &NormalVersorgung::skillHandedOver, this, &Programm::handOver);
            return window;
        },
        [](NormalVersorgung& window) { window.Form_Load(); });
}

NotfallVersorgung* Programm::openNotfallVersorgung() {
    return notfallVersorgung.open(
        [this](care::NotfallVersorgungState& state) {
            auto* window = new NotfallVersorgung(state, *m_dice, *m_boxes);
            connect(window, &NotfallVersorgung::skillHandedOver, this, &Programm::handOver);
            return window;
        },
        [](NotfallVersorgung& window) { window.Form_Load(); });
}

SanivexInfo* Programm::openSanivexInfo() {
    return sanivexInfo.open([](std::monostate&) { return new SanivexInfo; },
                            [](SanivexInfo&) {}); // fixed content, no load handler
}

void Programm::handOver(numbers::Int16 fertigkeit) {
    // Only a live main window takes the skill; a closed one is never brought back for it.
    if (Form1* main = form1.window())
        main->uebernehmeFertigkeit(fertigkeit);
}

void Programm::mainWindowGone() {
    // Closing the main window ends the program: no other window stays behind without it.
    auswahl.close();
    normalVersorgung.close();
    notfallVersorgung.close();
    sanivexInfo.close();
}

} // namespace app
