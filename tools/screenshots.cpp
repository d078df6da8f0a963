// Renders every window of the real program into PNG files, for the README and for looking at
// layouts: `screenshots <folder> [scale]`. Runs on any Qt platform, offscreen included.

#include "app/Programm.h"
#include "windows/Auswahl.h"
#include "windows/Form1.h"
#include "windows/NormalVersorgung.h"
#include "windows/NotfallVersorgung.h"
#include "windows/SanivexInfo.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
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
    QApplication application(argc, argv);
    const QDir folder(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("."));
    if (!folder.exists() && !QDir().mkpath(folder.path()))
        return 1;

    app::Programm programm;
    bool ok = save(programm.start(), folder, QStringLiteral("Form1"));
    ok &= save(programm.openAuswahl(), folder, QStringLiteral("Auswahl"));
    ok &= save(programm.openNormalVersorgung(), folder, QStringLiteral("NormalVersorgung"));
    ok &= save(programm.openNotfallVersorgung(), folder, QStringLiteral("NotfallVersorgung"));
    ok &= save(programm.openSanivexInfo(), folder, QStringLiteral("SanivexInfo"));
    return ok ? 0 : 1;
}
