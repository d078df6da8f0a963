// Renders every window of the real program into PNG files, for the README and for looking at
// layouts: `screenshots <folder>`. Each window is shown once in its start state and once after
// a typical use (a hospital press, a search), rolled with fixed dice so the pictures repeat.
// Runs on any Qt platform, offscreen included.

#include "app/Programm.h"
#include "windows/Auswahl.h"
#include "windows/Form1.h"
#include "windows/MessageBoxes.h"
#include "windows/NormalVersorgung.h"
#include "windows/NotfallVersorgung.h"
#include "windows/SanivexInfo.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <cstdio>

namespace {

// The pictures show the windows, not message boxes; a refusal would only be noted.
class SilentBoxes final : public MessageBoxes {
  public:
    void inform(QWidget*, const QString& text) override {
        std::printf("message: %s\n", qPrintable(text));
    }
};

template <class T> T* control(QWidget* window, const char* name) {
    T* found = window->findChild<T*>(QString::fromUtf8(name));
    if (!found)
        qFatal("no control %s", name);
    return found;
}

void click(QWidget* window, const char* name) {
    control<QAbstractButton>(window, name)->click();
}

void choose(QWidget* window, const char* list, const char* entry) {
    auto* box = control<QComboBox>(window, list);
    box->setCurrentIndex(box->findText(QString::fromUtf8(entry)));
}

void type(QWidget* window, const char* field, const char* text) {
    control<QLineEdit>(window, field)->setText(QString::fromUtf8(text));
}

bool save(QWidget* window, const QDir& folder, const QString& name) {
    const QString path = folder.filePath(name + QStringLiteral(".png"));
    if (!window->grab().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    const QDir folder(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("."));
    if (!folder.exists() && !QDir().mkpath(folder.path()))
        return 1;

    SilentBoxes boxes;
    std::uint64_t tick = 0;
    app::Programm programm(
        std::make_unique<dice::Wuerfelomat>(std::make_unique<dice::MixingGenerator>(2026),
                                            [&tick] { return ++tick; }),
        &boxes);

    Form1* main = programm.start();
    bool ok = save(main, folder, QStringLiteral("Form1"));
    ok &= save(programm.openSanivexInfo(), folder, QStringLiteral("SanivexInfo"));

    click(main, "Krankenhaus");
    ok &= save(programm.openAuswahl(), folder, QStringLiteral("Auswahl"));
    NormalVersorgung* normal = programm.openNormalVersorgung();
    ok &= save(normal, folder, QStringLiteral("NormalVersorgung"));
    NotfallVersorgung* notfall = programm.openNotfallVersorgung();
    ok &= save(notfall, folder, QStringLiteral("NotfallVersorgung"));

    click(normal, "optKonzern");
    click(normal, "optSchieber");
    choose(normal, "cmbArt", "Implantat");
    choose(normal, "cmbKategorie", "Alphaware");
    choose(normal, "cmbLegalität", "Legal");
    type(normal, "txtGebräuche", "6");
    click(normal, "cmdSuchDoc");
    ok &= save(normal, folder, QStringLiteral("NormalVersorgung-gesucht"));

    click(notfall, "optSanivex");
    click(notfall, "optKriseneinsatz");
    choose(notfall, "cmbKontrakt", "Gold");
    choose(notfall, "cmbGegend", "A oder B");
    click(notfall, "cmdSuchDoc");
    ok &= save(notfall, folder, QStringLiteral("NotfallVersorgung-gesucht"));
    click(notfall, "cmdUebernehmen");

    type(main, "Schaden", "6");
    click(main, "dokBio");
    type(main, "BioIndex", "1,5");
    type(main, "txtKonstitution", "5");
    click(main, "cmdHeilen");
    click(main, "cmdHeilen");
    ok &= save(main, folder, QStringLiteral("Form1-geheilt"));
    return ok ? 0 : 1;
}
