// Sanivex - Genesor: healing and medical-care calculator for the game table.

#include "Programm.h"
#include "Startup.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    // Before Qt looks for a display: these answers need none.
    if (const std::optional<int> exitCode = app::answerCommandLine(argc, argv))
        return *exitCode;
    const std::unique_ptr<QApplication> application = app::openDisplay(argc, argv);
    app::introduceToDesktop(*application);
    app::Programm programm;
    programm.start();
    return application->exec();
}
