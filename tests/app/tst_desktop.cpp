// The program as the shell and the desktop meet it: the built program's command line without
// any display, the window class and icon against the menu entry, and Qt's own texts in the
// user's language. Runs in the C and the German locale.

#include "app/Startup.h"

#include <QtTest>
#include <QtWidgets>

class TestDesktop : public QObject {
    Q_OBJECT

    QTemporaryDir m_icons;

  private slots:

    // A theme with its own icon for the program, blue where the built-in one is red.
    void initTestCase() {
        QDir theme(m_icons.filePath(QStringLiteral("blau")));
        QVERIFY(theme.mkpath(QStringLiteral("32x32/apps")));
        QFile index(theme.filePath(QStringLiteral("index.theme")));
        QVERIFY(index.open(QIODevice::WriteOnly));
        index.write("[Icon Theme]\nName=blau\nDirectories=32x32/apps\n"
                    "[32x32/apps]\nSize=32\nType=Fixed\n");
        index.close();
        QImage blue(32, 32, QImage::Format_ARGB32);
        blue.fill(Qt::blue);
        QVERIFY(blue.save(theme.filePath(QStringLiteral("32x32/apps/org.sanivex.Genesor.png"))));
        QIcon::setThemeSearchPaths({m_icons.path()});

        app::introduceToDesktop(*qobject_cast<QApplication*>(qApp));
    }

    void commandLine_data() {
        QTest::addColumn<QStringList>("arguments"); // first ">": stdout goes to /dev/full
        QTest::addColumn<int>("exitCode");          // -1: still running
        QTest::addColumn<QString>("output");        // how stdout starts, empty: nothing on it
        QTest::addColumn<QString>("error");         // the same for stderr
        const auto row = [](const char* tag, QStringList arguments, int exitCode,
                            const char* output, const char* error) {
            QTest::newRow(tag) << arguments << exitCode << QString(output) << QString(error);
        };
        row("help", {"--help"}, 0, "Aufruf: sanivex-genesor", "");
        row("version", {"--version"}, 0, "Sanivex - Genesor " SANIVEX_VERSION "\n", "");
        row("disk full", {">", "--help"}, 1, "", "sanivex-genesor: Ausgabe fehlgeschlagen: ");
        row("Qt option's value", {"-platform", "heilen", "--help"}, 0, "Aufruf:", "");
        row("style", {"-style", "Fusion"}, 2, "", "sanivex-genesor: unbekannte Option „-style“");
        row("value on a Qt flag", {"-reverse=1"}, 2, "", "sanivex-genesor: unbekannte Option");
        row("stray argument", {"heilen"}, 2, "", "sanivex-genesor: unerwartetes Argument „heilen“");
        row("no display", {}, 3, "",
            "sanivex-genesor: Keine grafische Oberfläche erreichbar. Das Programm braucht eine "
            "laufende X11- oder Wayland-Sitzung (DISPLAY oder WAYLAND_DISPLAY).\n  qt.qpa.");
        // Qt's own warning while it opened the display still comes out.
        row("display", {"-platform", "offscreen"}, -1, "",
            "QStandardPaths: XDG_RUNTIME_DIR not set");
    }

    // The built program itself, with no display of any kind: its answers come before Qt looks,
    // and a start says in German that it found none. With one, it keeps running.
    void commandLine() {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, output);
        QFETCH(QString, error);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name :
             {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_RUNTIME_DIR"})
            environment.remove(QString::fromLatin1(name));
        QProcess program;
        program.setProcessEnvironment(environment);
        if (arguments.value(0) == ">")
            program.setStandardOutputFile(QStringLiteral("/dev/full"));
        program.start(QStringLiteral(PROGRAM), arguments.mid(arguments.value(0) == ">"));
        if (exitCode < 0) {
            program.setReadChannel(QProcess::StandardError);
            QVERIFY(program.waitForReadyRead(20000));
            QVERIFY(!program.waitForFinished(500));
            program.kill();
            QVERIFY2(program.readAllStandardError().startsWith(error.toUtf8()), qPrintable(error));
            QVERIFY(program.waitForFinished());
            return;
        }
        QVERIFY(program.waitForFinished(20000));
        const QString out = QString::fromUtf8(program.readAllStandardOutput());
        const QString err = QString::fromUtf8(program.readAllStandardError());
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), exitCode);
        QVERIFY2(output.isEmpty() ? out.isEmpty() : out.startsWith(output), qPrintable(out));
        QVERIFY2(error.isEmpty() ? err.isEmpty() : err.startsWith(error), qPrintable(err));
    }

    void programIcon() {
        for (const auto& [theme, middle] : // the built-in cross, drawn from SVG; the theme's own
             {std::pair{"", QColor(0xd7, 0x26, 0x3d)}, {"blau", QColor(Qt::blue)}}) {
            QIcon::setThemeName(theme);
            QGuiApplication::setWindowIcon(QIcon());
            app::introduceToDesktop(*qobject_cast<QApplication*>(qApp));
            QWidget window;
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            QTRY_VERIFY(!QGuiApplication::windowIcon().isNull());
            const QImage image = QGuiApplication::windowIcon().pixmap(QSize(32, 32)).toImage();
            QCOMPARE(image.pixelColor(16, 16), middle);
        }
    }

    // X11 desktops match a window to its menu entry by StartupWMClass against the window class,
    // which Qt takes from the application name; Wayland ones by the entry's file name.
    void menuEntryMatchesWindows() {
        QFile entry(QStringLiteral(DESKTOP_ENTRY));
        QVERIFY(entry.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(entry.readAll());
        QVERIFY(text.contains("\nStartupWMClass=" + QCoreApplication::applicationName() + "\n"));
        QVERIFY(text.contains("\nIcon=" + QGuiApplication::desktopFileName() + "\n"));
        QCOMPARE(QFileInfo(entry).completeBaseName(), QGuiApplication::desktopFileName());
        // Qt's own texts in the user's language.
        QLineEdit field;
        const std::unique_ptr<QMenu> menu(field.createStandardContextMenu());
        const QString undo = menu->actions().value(0)->text().section(u'\t', 0, 0);
        QCOMPARE(undo, QLocale().language() == QLocale::German ? "&Rückgängig" : "&Undo");
    }
};

QTEST_MAIN(TestDesktop)
#include "tst_desktop.moc"
