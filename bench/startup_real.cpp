// Start-up benchmark, the real program: exactly what main() runs, plus the first-frame
// reporter on the main window. Started by startup.py, which times it against startup_floor.

#include "FirstFrameReporter.h"
#include "app/Programm.h"
#include "app/Startup.h"
#include "windows/Form1.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    app::introduceToDesktop(application);
    app::Programm programm;
    FirstFrameReporter::watch(programm.start());
    return application.exec();
}
