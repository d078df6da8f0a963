// Sanivex - Genesor: healing and medical-care calculator for the game table.

#include "Programm.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    app::Programm programm;
    programm.start();
    return application.exec();
}
