#include "Startup.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <algorithm>
#include <cstdio>
#include <span>
#include <string_view>

namespace app {
namespace {

// The menu entry's file name (org.sanivex.Genesor.desktop) and the icon's theme name.
constexpr auto appId = "org.sanivex.Genesor";
// The X11 window class; the menu entry's StartupWMClass names it.
constexpr auto windowClass = "sanivex-genesor";

constexpr auto usage =
    "Aufruf: sanivex-genesor [OPTION]\n"
    "Rechnet Heilung und medizinische Versorgung für ein Cyberpunk-Rollenspiel.\n"
    "Ohne Option öffnet sich das Hauptfenster.\n"
    "\n"
    "  -h, --help     diese Hilfe zeigen und beenden\n"
    "      --version  die Version zeigen und beenden\n"
    "\n"
    "Qt-Optionen wie -platform oder -style gehen an Qt weiter.\n";

// Qt 6's own options (QGuiApplication, QApplication, the X11 platform), without their dash;
// these take the next argument as their value unless it follows a '='.
constexpr std::string_view qtOptionsWithValue[] = {"platform",
                                                   "platformpluginpath",
                                                   "platformtheme",
                                                   "plugin",
                                                   "qwindowgeometry",
                                                   "geometry",
                                                   "qwindowicon",
                                                   "icon",
                                                   "qwindowtitle",
                                                   "title",
                                                   "session",
                                                   "style",
                                                   "stylesheet",
                                                   "display",
                                                   "name",
                                                   "visual",
                                                   "qmljsdebugger"};
constexpr std::string_view qtFlags[] = {"reverse", "testability", "widgetcount", "nograb",
                                        "dograb"};

bool isOneOf(std::string_view name, std::span<const std::string_view> names) {
    return std::ranges::find(names, name) != names.end();
}

int refuse(const char* what, std::string_view argument) {
    std::fprintf(stderr, "sanivex-genesor: %s „%.*s“\nMehr mit „sanivex-genesor --help“.\n", what,
                 static_cast<int>(argument.size()), argument.data());
    return 2;
}

} // namespace

std::optional<int> answerCommandLine(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--help" || argument == "-h") {
            std::fputs(usage, stdout);
            return 0;
        }
        if (argument == "--version") {
            std::puts("Sanivex - Genesor " SANIVEX_VERSION);
            return 0;
        }
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

void introduceToDesktop(QApplication& application) {
    // Qt names the X11 window class after the application, which would otherwise be the name
    // the program file was started by.
    QCoreApplication::setApplicationName(QString::fromLatin1(windowClass));
    QCoreApplication::setApplicationVersion(QStringLiteral(SANIVEX_VERSION));
    // Wayland matches windows to their menu entry by this name.
    QGuiApplication::setDesktopFileName(QString::fromLatin1(appId));

    // A -qwindowicon on the command line wins. The built-in SVG is only made when the theme
    // has no icon: constructing it already loads Qt's SVG icon engine.
    if (QGuiApplication::windowIcon().isNull()) {
        QIcon icon = QIcon::fromTheme(QString::fromLatin1(appId));
        if (icon.isNull())
            icon = QIcon(QStringLiteral(":/sanivex/org.sanivex.Genesor.svg"));
        QGuiApplication::setWindowIcon(icon);
    }

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
