// Sanivex - Genesor: healing and medical-care calculator for the game table.

#include "Programm.h"
#include "Startup.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    // Before QApplication, which aborts when it finds no display.
    if (const std::optional<int> exitCode = app::answerCommandLine(argc, argv))
        return *exitCode;
    QApplication application(argc, argv);
    app::introduceToDesktop(application);
    app::Programm programm;
    programm.start();
    return application.exec();
}
