#include "Startup.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTimer>
#include <QTranslator>
#include <QWindow>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <span>
#include <string_view>

namespace app {
namespace {

// The menu entry's file name (org.sanivex.Genesor.desktop) and the icon's theme name.
constexpr auto appId = "org.sanivex.Genesor";
// The X11 window class; the menu entry's StartupWMClass names it.
constexpr auto windowClass = "sanivex-genesor";

// The exit statuses besides 0, as the help and the manual page list them.
constexpr int writeFailed = 1;
constexpr int badArguments = 2;
constexpr int noDisplay = 3;

constexpr auto usage =
    "Aufruf: sanivex-genesor [OPTION]\n"
    "Rechnet Heilung und medizinische Versorgung für ein Cyberpunk-Rollenspiel.\n"
    "Ohne Option öffnet sich das Hauptfenster.\n"
    "\n"
    "  -h, --help     diese Hilfe zeigen und beenden\n"
    "      --version  die Version zeigen und beenden\n"
    "\n"
    "Qt-Optionen wie -platform oder -display gehen an Qt weiter.\n"
    "\n"
    "Rückgabewert:\n"
    "  0  regulär beendet\n"
    "  1  Hilfe oder Version ließ sich nicht ausgeben\n"
    "  2  unbekannte Option oder unerwartetes Argument\n"
    "  3  keine grafische Oberfläche erreichbar\n";

// Qt 6's own options (QGuiApplication, QApplication, the X11 platform), without their dash;
// these take the next argument as their value unless it follows a '='. Not -style: the program
// sets its own style after Qt has read the option, and the fixed-size windows need it.
// clang-format off
constexpr std::string_view qtOptionsWithValue[] = {
    "platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry", "geometry",
    "qwindowicon", "icon", "qwindowtitle", "title", "session", "stylesheet", "display",
    "name", "visual", "qmljsdebugger"};
// clang-format on
constexpr std::string_view qtFlags[] = {"reverse", "testability", "widgetcount", "nograb",
                                        "dograb"};

bool isOneOf(std::string_view name, std::span<const std::string_view> names) {
    return std::ranges::find(names, name) != names.end();
}

// Gives every window the program's icon once the first window is on screen. The window needs
// no icon to appear, and making it costs: the built-in SVG 6 % of the start-up (Qt loads its
// SVG engine and renders four sizes), a look into an icon theme other than hicolor a third
// (Qt reads the theme's whole index and hicolor's). Desktops take an icon set later as well.
class IconAfterFirstFrame final : public QObject {
  public:
    explicit IconAfterFirstFrame(QObject* parent) : QObject(parent) {
        // A zero timer, not a queued call: it waits until the event loop has nothing else to
        // do, so the first frame has been painted and flushed before.
        m_timer.setSingleShot(true);
        m_timer.setInterval(0);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            QGuiApplication::setWindowIcon(programIcon());
            deleteLater();
        });
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        const auto* window = qobject_cast<QWindow*>(watched);
        if (event->type() == QEvent::Expose && window && window->isExposed()) {
            QCoreApplication::instance()->removeEventFilter(this);
            m_timer.start();
        }
        return false;
    }

  private:
    // In hicolor, the theme every desktop has, the program's icon is the built-in SVG itself;
    // only another theme can have one of its own.
    static QIcon programIcon() {
        if (const QString theme = QIcon::themeName();
            !theme.isEmpty() && theme != QLatin1String("hicolor")) {
            const QIcon themed = QIcon::fromTheme(QString::fromLatin1(appId));
            if (!themed.isNull())
                return themed;
        }
        return QIcon(QStringLiteral(":/sanivex/org.sanivex.Genesor.svg"));
    }

    QTimer m_timer;
};

int refuse(const char* what, std::string_view argument) {
    std::fprintf(stderr, "sanivex-genesor: %s „%.*s“\nMehr mit „sanivex-genesor --help“.\n", what,
                 static_cast<int>(argument.size()), argument.data());
    return badArguments;
}

// All of it must arrive: a full disk or a closed pipe is a failure the caller has to see.
int answer(const char* text) {
    if (std::fputs(text, stdout) >= 0 && std::fflush(stdout) == 0)
        return 0;
    const int error = errno;
    std::fprintf(stderr, "sanivex-genesor: Ausgabe fehlgeschlagen: %s\n", std::strerror(error));
    return writeFailed;
}

// What Qt says while it looks for a display, kept until it is clear whether it found one.
struct Note {
    QtMsgType type;
    const char* file;
    int line;
    const char* function;
    const char* category;
    QString message;
};
QList<Note> notesWhileOpening;

// Qt reports a missing display as a fatal message and then aborts; this handler ends the
// program first, with the reason Qt gave.
void whileOpening(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type != QtFatalMsg) {
        notesWhileOpening.append(
            {type, context.file, context.line, context.function, context.category, message});
        return;
    }
    std::fputs("sanivex-genesor: Keine grafische Oberfläche erreichbar. Das Programm braucht "
               "eine laufende X11- oder Wayland-Sitzung (DISPLAY oder WAYLAND_DISPLAY).\n",
               stderr);
    for (const Note& note : std::as_const(notesWhileOpening))
        std::fprintf(stderr, "  %s: %s\n", note.category ? note.category : "qt",
                     note.message.toUtf8().constData());
    std::_Exit(noDisplay);
}

} // namespace

std::optional<int> answerCommandLine(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--help" || argument == "-h")
            return answer(usage);
        if (argument == "--version")
            return answer("Sanivex - Genesor " SANIVEX_VERSION "\n");
        if (argument.size() < 2 || argument[0] != '-')
            return refuse("unerwartetes Argument", argument);
        // Qt takes -option and --option alike.
        std::string_view name = argument.substr(argument.starts_with("--") ? 2 : 1);
        const auto equals = name.find('=');
        name = name.substr(0, equals);
        if (isOneOf(name, qtOptionsWithValue)) {
            if (equals == std::string_view::npos)
                ++i;
        } else if (equals != std::string_view::npos || !isOneOf(name, qtFlags)) {
            return refuse("unbekannte Option", argument);
        }
    }
    return std::nullopt;
}

std::unique_ptr<QApplication> openDisplay(int& argc, char* argv[]) {
    const QtMessageHandler previous = qInstallMessageHandler(whileOpening);
    auto application = std::make_unique<QApplication>(argc, argv);
    qInstallMessageHandler(previous);
    for (const Note& note : std::as_const(notesWhileOpening))
        qt_message_output(note.type,
                          QMessageLogContext(note.file, note.line, note.function, note.category),
                          note.message);
    notesWhileOpening.clear();
    return application;
}

void introduceToDesktop(QApplication& application) {
    // Qt names the X11 window class after the application, which would otherwise be the name
    // the program file was started by.
    QCoreApplication::setApplicationName(QString::fromLatin1(windowClass));
    QCoreApplication::setApplicationVersion(QStringLiteral(SANIVEX_VERSION));
    // Wayland matches windows to their menu entry by this name.
    QGuiApplication::setDesktopFileName(QString::fromLatin1(appId));

    // A -qwindowicon on the command line wins.
    if (QGuiApplication::windowIcon().isNull())
        application.installEventFilter(new IconAfterFirstFrame(&application));

    // Qt's own texts (context menus, file dialogs) in the user's language; an English or
    // unknown locale finds no file and keeps Qt's English.
    auto* translator = new QTranslator(&application);
    if (translator->load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}

} // namespace app
