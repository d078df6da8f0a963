// The program as the shell and the desktop meet it: the built program's command line without
// any display, the window class and icon against the menu entry, and Qt's own texts in the
// user's language. Runs in the C and the German locale.

#include "app/Startup.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QTest>
#include <memory>

class TestDesktop : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { app::introduceToDesktop(*qobject_cast<QApplication*>(qApp)); }
    void commandLine_data();
    void commandLine();
    void menuEntryMatchesWindows();
    void programIcon();
    void qtTextsInUserLanguage();
};

void TestDesktop::commandLine_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("output"); // how stdout starts, empty: nothing on it
    QTest::addColumn<QString>("error");  // the same for stderr

    QTest::newRow("help") << QStringList{"--help"} << 0 << "Aufruf: sanivex-genesor" << "";
    QTest::newRow("version") << QStringList{"--version"} << 0
                             << "Sanivex - Genesor " SANIVEX_VERSION "\n" << "";
    QTest::newRow("Qt option's value") << QStringList{"-style", "heilen", "--help"} << 0
                                       << "Aufruf:" << "";
    QTest::newRow("unknown option") << QStringList{"--heilen"} << 2 << ""
                                    << "sanivex-genesor: unbekannte Option „--heilen“";
    QTest::newRow("value on a Qt flag") << QStringList{"-reverse=1"} << 2 << ""
                                        << "sanivex-genesor: unbekannte Option";
    QTest::newRow("stray argument") << QStringList{"heilen"} << 2 << ""
                                    << "sanivex-genesor: unerwartetes Argument „heilen“";
}

// The built program itself, with no display of any kind: these must answer before Qt looks.
void TestDesktop::commandLine() {
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, output);
    QFETCH(QString, error);

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(PROGRAM), arguments);
    QVERIFY(program.waitForFinished(20000));
    const QString out = QString::fromUtf8(program.readAllStandardOutput());
    const QString err = QString::fromUtf8(program.readAllStandardError());
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), exitCode);
    const auto starts = [](const QString& text, const QString& start) {
        return start.isEmpty() ? text.isEmpty() : text.startsWith(start);
    };
    QVERIFY2(starts(out, output), qPrintable(out));
    QVERIFY2(starts(err, error), qPrintable(err));
}

// X11 desktops match a window to its menu entry by StartupWMClass against the window class,
// which Qt takes from the application name; Wayland ones by the entry's file name.
void TestDesktop::menuEntryMatchesWindows() {
    QFile entry(QStringLiteral(DESKTOP_ENTRY));
    QVERIFY(entry.open(QIODevice::ReadOnly));
    QMap<QString, QString> keys;
    while (!entry.atEnd()) {
        const QString line = QString::fromUtf8(entry.readLine()).trimmed();
        keys.insert(line.section(u'=', 0, 0), line.section(u'=', 1));
    }
    QCOMPARE(keys.value("StartupWMClass"), QCoreApplication::applicationName());
    QCOMPARE(QFileInfo(entry).completeBaseName(), QGuiApplication::desktopFileName());
    QCOMPARE(keys.value("Icon"), QGuiApplication::desktopFileName());
}

// Every window shows the application's icon unless it sets its own. Rendering it needs Qt's
// SVG plugin at run time; the middle of the die is the red cross.
void TestDesktop::programIcon() {
    const QImage image = QGuiApplication::windowIcon().pixmap(QSize(32, 32)).toImage();
    QVERIFY(!image.isNull());
    const QColor middle = image.pixelColor(image.width() / 2, image.height() / 2);
    QVERIFY2(middle.alpha() == 255 && middle.red() > 180 && middle.green() < 80,
             qPrintable(middle.name(QColor::HexArgb)));
}

void TestDesktop::qtTextsInUserLanguage() {
    QLineEdit field;
    const std::unique_ptr<QMenu> menu(field.createStandardContextMenu());
    const QString undo = menu->actions().value(0)->text().section(u'\t', 0, 0);
    QCOMPARE(undo, QLocale().language() == QLocale::German ? "&Rückgängig" : "&Undo");
}

QTEST_MAIN(TestDesktop)
#include "tst_desktop.moc"
