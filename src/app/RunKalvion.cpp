// The program's entry: settings, the answers to questions, the OpenGL
// format, and the main window over the file named on the command line.
#include "app/MainWindow.h"

#include "app/QtMessages.h"
#include "app/ScreenFit.h"
#include "app/ScriptedMessages.h"
#include "app/SettingsStore.h"

#include "base/Paths.h"
#include "base/Version.h"
#include "render/OpenGLContext.h"

#include <QApplication>
#include <QFileInfo>
#include <QSurfaceFormat>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <unistd.h>

namespace kalvion::app {

namespace {

bool DisplayAvailable()
{
    const char *platform = std::getenv("QT_QPA_PLATFORM");
    if (platform && *platform)
        return true;
    const char *x = std::getenv("DISPLAY");
    const char *wayland = std::getenv("WAYLAND_DISPLAY");
    return (x && *x) || (wayland && *wayland);
}

// Without a display the command-line program shows what the core does.
int RunDemonstration(const char *self)
{
    std::fprintf(stderr, "kalvion: no display found; running the command-line demonstration instead\n");
    const std::string cli = QFileInfo(QString::fromLocal8Bit(self)).absolutePath().toStdString() + "/kalvion-cli";
    execl(cli.c_str(), cli.c_str(), "demo", static_cast<char *>(nullptr));
    std::fprintf(stderr, "kalvion: cannot start %s: %s\n", cli.c_str(), std::strerror(errno));
    return 1;
}

} // namespace

int RunKalvion(int argc, char **argv)
{
    TfrmVexaMain::TOptions options;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--seed" && i + 1 < argc) {
            options.Seed = static_cast<std::int32_t>(std::strtol(argv[++i], nullptr, 10));
        } else if (a == "--screenshot" && i + 1 < argc) {
            options.ScreenshotFile = QString::fromLocal8Bit(argv[++i]);
        } else if (a == "--exit-after-first-frame") {
            options.ExitAfterFirstFrame = true;
        } else if (a == "--help" || a == "-h") {
            std::printf("Usage: kalvion [--seed N] [--screenshot PNG] [FILE]\n"
                        "Opens the sector FILE (a .VexaDB sector, an older .Sector file or a template).\n");
            return 0;
        } else if (a == "--version") {
            std::printf("kalvion %s\n", KALVION_VERSION_TEXT);
            return 0;
        } else if (options.FileToOpen.isEmpty()) {
            options.FileToOpen = QString::fromLocal8Bit(argv[i]);
        }
    }
    if (!DisplayAvailable())
        return RunDemonstration(argv[0]);

    TSettingsStore store;
    const bool multisample = store.Bool(QStringLiteral("EnableMultisample")).value_or(true);
    QSurfaceFormat::setDefaultFormat(SectorSurfaceFormat(multisample ? 4 : 0));
    QApplication::setOrganizationName(QStringLiteral("Zent Software"));
    QApplication::setApplicationName(QStringLiteral("Kalvion"));
    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral("com.zentsoftware.Kalvion"));
    options.ProgramFolder = QString::fromStdString(ProgramFolder());
    TScreenFit screenFit;
    app.installEventFilter(&screenFit);

    TQtMessages qtMessages;
    TScriptedMessages scripted;
    TAppMessages *messages = &qtMessages;
    if (const char *answers = std::getenv("KALVION_ANSWERS_FILE"); answers && *answers) {
        scripted.LoadFile(QString::fromLocal8Bit(answers));
        scripted.SetLogFile(QString::fromLocal8Bit(answers) + QStringLiteral(".log"));
        messages = &scripted;
    }
    TfrmVexaMain window(*messages, store, options);
    qtMessages.SetParent(&window);
    window.show();
    window.activateWindow();
    // Once the window is up, so that the question has a window to belong to.
    QTimer::singleShot(0, &window, [&window] { window.OfferRecoveryCopies(); });
    return app.exec();
}

} // namespace kalvion::app
