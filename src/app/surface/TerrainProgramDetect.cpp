#include "app/surface/TerrainProgramDetect.h"

#include "app/AppMessages.h"
#include "app/AppSettings.h"
#include "surface/manager/RWIntegrate.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTextStream>

namespace kalvion::app {

namespace {

constexpr const char *SELECT_ENGINE_TEXT =
    "Ridgeworks was found on your system.  Do you want to use that as your default planet map & terrain generator "
    "instead of Kalvion' built-in terrain generator?  This option can always be changed in the program preferences "
    "window.";
// xdg-mime is a small shell script; one that hangs must not hold start-up.
constexpr int XDG_MIME_WAIT_MS = 5000;

bool IsProgram(const QString &path)
{
    const QFileInfo info(path);
    return info.isFile() && info.isExecutable();
}

QString DefaultHandler(const QString &xdgMime, const QString &mimeType)
{
    QProcess process;
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(xdgMime, {QStringLiteral("query"), QStringLiteral("default"), mimeType});
    if (!process.waitForStarted(XDG_MIME_WAIT_MS))
        return {};
    if (!process.waitForFinished(XDG_MIME_WAIT_MS)) {
        process.kill();
        process.waitForFinished(-1);
        return {};
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return {};
    // The first line names the desktop entry, as "name.desktop".
    const QString id = QString::fromLocal8Bit(process.readAllStandardOutput()).section(QLatin1Char('\n'), 0, 0).trimmed();
    if (id.isEmpty() || id.contains(QLatin1Char('/')) || !id.endsWith(QLatin1String(".desktop")))
        return {};
    return QStandardPaths::locate(QStandardPaths::ApplicationsLocation, id);
}

} // namespace

QStringList TerrainProgramMimeTypes()
{
    return {QStringLiteral("application/x-ridgeworks-world"), QStringLiteral("application/x-ridgeworks-pro")};
}

QStringList TerrainProgramNames() { return {QStringLiteral("ridgeworks"), QStringLiteral("RW")}; }

QString DesktopEntryProgram(const QString &desktopFile)
{
    QFile file(desktopFile);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QTextStream in(&file);
    bool mainGroup = false;
    // A desktop entry is a few lines; a huge file is not one.
    for (int lines = 0; !in.atEnd() && lines < 10000; ++lines) {
        const QString line = in.readLine().trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            mainGroup = line == QLatin1String("[Desktop Entry]");
            continue;
        }
        if (!mainGroup || !line.startsWith(QLatin1String("Exec=")))
            continue;
        const std::vector<std::string> words = SplitCommandLine(line.mid(5).toStdString());
        if (words.empty())
            return {};
        const QString program = QString::fromStdString(words.front());
        if (program.contains(QLatin1Char('/')))
            return IsProgram(program) ? QFileInfo(program).absoluteFilePath() : QString();
        return QStandardPaths::findExecutable(program);
    }
    return {};
}

QString DetectTerrainProgram()
{
    const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (!xdgMime.isEmpty()) {
        for (const QString &type : TerrainProgramMimeTypes()) {
            const QString entry = DefaultHandler(xdgMime, type);
            if (entry.isEmpty())
                continue;
            const QString program = DesktopEntryProgram(entry);
            if (!program.isEmpty())
                return program;
        }
    }
    for (const QString &name : TerrainProgramNames())
        if (const QString program = QStandardPaths::findExecutable(name); !program.isEmpty())
            return program;
    return {};
}

void ApplyDetectedTerrainProgram(TAppSettings &settings, TAppMessages &messages, const QString &found)
{
    if (!found.isEmpty()) {
        if (settings.RWFilePathAlt.isEmpty())
            settings.RWFilePathAlt = found;
        if (settings.TerrainEngine == 0 &&
            messages.Ask(QString::fromLatin1(SELECT_ENGINE_TEXT), QStringLiteral("Select Terrain Engine"),
                         TMsgButtons::YesNo, TMsgIcon::Question) == TMsgAnswer::Yes)
            settings.TerrainEngine = 2;
    }
    if (settings.TerrainEngine == 0)
        settings.TerrainEngine = 1;
}

} // namespace kalvion::app
