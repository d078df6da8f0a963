// Renders every window of the real program into PNG files, for the README and for looking at
// layouts: `screenshots <folder>`. Each window is shown once in its start state and once after
// a typical use (a hospital press, a search), rolled with fixed dice so the pictures repeat.
// Runs on any Qt platform, offscreen included.

#include "Driver.h"
#include "windows/Prognose.h"

#include <QApplication>
#include <QDir>
#include <QLayout>
#include <QPainter>
#include <QScreen>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdio>

namespace {

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
    QTemporaryDir data; // a team of its own, never the user's
    qputenv("XDG_DATA_HOME", data.path().toUtf8());
    QApplication application(argc, argv);
    const QDir folder(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("."));
    if (!folder.exists() && !QDir().mkpath(folder.path()))
        return 1;

    std::uint64_t tick = 0;
    Driver d(std::make_unique<dice::Wuerfelomat>(std::make_unique<dice::MixingGenerator>(2026),
                                                 [&tick] { return ++tick; }));
    const auto shot = [&](const QString& window, const QString& name) {
        return save(d.find(window + '.'), folder, name);
    };
    bool ok = shot("Form1", "Form1");
    d.click("cmdSanivexInfo");
    ok &= shot("SanivexInfo", "SanivexInfo");

    d.click("Krankenhaus");
    d.click("Form1.cmdSuchDoc");
    ok &= shot("Auswahl", "Auswahl");
    d.click("cmdNormalfall");
    ok &= shot("NormalVersorgung", "NormalVersorgung");
    d.click("Form1.cmdSuchDoc");
    d.click("cmdNotfall");
    ok &= shot("NotfallVersorgung", "NotfallVersorgung");

    for (const char* option : {"optKonzern", "optSchieber"})
        d.click(option);
    d.type("cmbArt", "Implantat");
    d.type("cmbKategorie", "Alphaware");
    d.type("cmbLegalität", "Legal");
    d.type("txtGebräuche", "6");
    d.click("NormalVersorgung.cmdSuchDoc");
    ok &= shot("NormalVersorgung", "NormalVersorgung-gesucht");

    for (const char* option : {"optSanivex", "optKriseneinsatz"})
        d.click(option);
    d.type("cmbKontrakt", "Gold");
    d.type("cmbGegend", "A oder B");
    d.click("NotfallVersorgung.cmdSuchDoc");
    ok &= shot("NotfallVersorgung", "NotfallVersorgung-gesucht");
    d.click("NotfallVersorgung.cmdUebernehmen");

    d.type("Schaden", "6");
    d.click("dokBio");
    d.type("BioIndex", "1,5");
    d.type("txtKonstitution", "5");
    d.click("cmdHeilen");
    d.click("cmdHeilen");
    ok &= shot("Form1", "Form1-geheilt");
    // The forecast as the window shows it, and its whole content with the comparison done: a
    // stay at home, then one forced into hospital with both doctor searches open.
    const auto forecast = [&](const QString& name) {
        auto* window = static_cast<Prognose*>(d.find("Prognose."));
        do
            QApplication::processEvents();
        while (!window->comparisonDone());
        QWidget* content = window->findChild<QScrollArea*>()->widget();
        // Tall enough for everything, then cut below the last section.
        content->resize(content->width(), 4000);
        QApplication::processEvents();
        content->resize(content->width(),
                        content->findChild<QWidget*>("frmVergleich")->geometry().bottom() + 8);
        return save(content, folder, name);
    };
    d.click("daheim");
    d.type("Schaden", "4");
    d.key("Schaden", Qt::Key_F2);
    // As the reader sees it once the window has laid out what it shows, not halfway through.
    while (!static_cast<Prognose*>(d.find("Prognose."))->comparisonDone())
        QApplication::processEvents();
    QApplication::processEvents();
    ok &= shot("Prognose", "Prognose");
    // Where the forecast landed, against the screen's available area and the main window.
    if (QWidget* window = d.find("Prognose."); window->screen()) {
        const QRect on = window->frameGeometry(), free = window->screen()->availableGeometry();
        std::printf(
            "Prognose at %d,%d %dx%d on %d,%d %dx%d beside Form1 at %d,%d %dx%d\n", on.x(), on.y(),
            on.width(), on.height(), free.x(), free.y(), free.width(), free.height(),
            d.find("Form1.")->frameGeometry().x(), d.find("Form1.")->frameGeometry().y(),
            d.find("Form1.")->frameGeometry().width(), d.find("Form1.")->frameGeometry().height());
    }
    ok &= forecast("Prognose-zuHause");
    d.click("Krankenhaus");
    d.click("Form1.cmdSuchDoc");
    d.click("cmdNormalfall");
    d.click("Form1.cmdSuchDoc");
    d.click("cmdNotfall");
    d.click("daheim");
    d.type("Schaden", "12");
    ok &= forecast("Prognose-Krankenhaus");
    d.find("NormalVersorgung.")->close();
    d.find("NotfallVersorgung.")->close();
    d.type("Schaden", "4");

    // Dice rolled at the table: the dialog once the first die's chain (6, then 2) is in.
    d.click("chkEigeneWuerfel");
    d.diceAnswers = {{"3", "1", "4", "2", "5"}};
    QTimer::singleShot(0, &application, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        for (char face : {'6', '2'})
            QTest::keyClick(dialog->focusWidget(), face);
        ok &= save(dialog, folder, QStringLiteral("EigeneWuerfel"));
    });
    d.click("cmdHeilen");
    d.key("Schaden", Qt::Key_F3);
    ok &= shot("Verlauf", "Verlauf");

    // The team: "Runde" beside the main window, which shows the first patient.
    d.program().loadTeam();
    d.program().newPatient(QStringLiteral("Kira"));
    d.program().newPatient(QStringLiteral("Jax"));
    d.type("Schaden", "6");
    d.program().newPatient(QStringLiteral("Nadja"));
    d.type("Schaden", "x");
    d.program().activate(0);
    d.program().openRunde();
    const QPixmap main = d.find("Form1.")->grab(), runde = d.find("Runde.")->grab();
    QPixmap both(main.width() + 8 + runde.width(), std::max(main.height(), runde.height()));
    both.fill(Qt::white);
    QPainter painter(&both);
    painter.drawPixmap(0, 0, main);
    painter.drawPixmap(main.width() + 8, 0, runde);
    painter.end();
    ok &= both.save(folder.filePath(QStringLiteral("Runde.png")));
    for (const QString& message : d.messages())
        std::printf("message: %s\n", qPrintable(message));
    return ok ? 0 : 1;
}
