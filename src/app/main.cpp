// Sanivex - Genesor: healing and medical-care calculator for the game table.

#include "Programm.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    // Lets desktops match the running window to its menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.sanivex.Genesor"));
    app::Programm programm;
    programm.start();
    return application.exec();
}
