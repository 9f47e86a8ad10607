#include "ProgramRun.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>

namespace kalvion::test {

TProgramRun::TProgramRun(const QString &folder) : FFolder(folder)
{
    FIni = {{"DataBackgroundColor", "0"}, {"DataLabelColor", "32768"}, {"DataPopulatedColor", "65535"},
            {"AnimationPerformanceAdjust", "1"}, {"TerrainEngine", "1"}, {"SectorX", "0"}, {"SectorY", "0"},
            {"SectorZ", "0"}, {"SectorIsSphere", "0"}, {"SectorGrid", "0"}, {"SectorGridTick", "0"},
            {"SectorTickLabels", "0"}, {"SectorGridColor", "0"}, {"PerformanceFactor", "1"},
            {"PerformanceSkip", "1"}, {"AutoLock", "0"}};
    FAnswers = QDir(folder).filePath(QStringLiteral("answers.txt"));
}

TProgramRun::~TProgramRun()
{
    if (Running()) {
        FProcess.kill();
        FProcess.waitForFinished(5000);
    }
}

bool TProgramRun::HaveXdotool() { return QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("version")}) == 0; }

void TProgramRun::SetIni(const QString &key, const QString &value)
{
    for (auto &kv : FIni)
        if (kv.first == key) {
            kv.second = value;
            return;
        }
    FIni << qMakePair(key, value);
}

bool TProgramRun::Start(const QStringList &answers, const QStringList &args)
{
    const QDir dir(FFolder);
    QDir().mkpath(dir.filePath(QStringLiteral("cfg/Zent Software")));
    QFile ini(dir.filePath(QStringLiteral("cfg/Zent Software/Kalvion.ini")));
    if (!ini.open(QIODevice::WriteOnly))
        return false;
    QByteArray text = "[CurrentVersion]\n";
    for (const auto &kv : FIni)
        text += kv.first.toUtf8() + '=' + kv.second.toUtf8() + '\n';
    ini.write(text);
    ini.close();
    QFile a(FAnswers);
    if (!a.open(QIODevice::WriteOnly))
        return false;
    a.write(answers.join(QLatin1Char('\n')).toUtf8() + '\n');
    a.close();
    QFile::remove(FAnswers + QStringLiteral(".log"));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("cfg")));
    env.insert(QStringLiteral("XDG_DATA_HOME"), dir.filePath(QStringLiteral("data")));
    env.insert(QStringLiteral("KALVION_ANSWERS_FILE"), FAnswers);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("LIBGL_ALWAYS_SOFTWARE"), QStringLiteral("1"));
    // Pages and pictures the program hands to the desktop open nowhere.
    env.insert(QStringLiteral("BROWSER"), QStringLiteral("true"));
    for (const auto &kv : FExtraEnv)
        env.insert(kv.first, kv.second);
    FProcess.setProcessEnvironment(env);
    FProcess.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    FProcess.start(QStringLiteral(KALVION_BIN_DIR "/kalvion"), args);
    return FProcess.waitForStarted(30000);
}

QStringList TProgramRun::LogLines(const QString &kind) const
{
    QStringList found;
    QFile f(FAnswers + QStringLiteral(".log"));
    if (f.open(QIODevice::ReadOnly))
        for (const QByteArray &line : f.readAll().split('\n'))
            if (line.startsWith(kind.toUtf8() + '\t'))
                found << QString::fromUtf8(line);
    return found;
}

QStringList TProgramRun::WaitForLog(const QString &kind, int ms, qsizetype count) const
{
    QElapsedTimer clock;
    clock.start();
    QStringList found = LogLines(kind);
    while (found.size() < count && clock.elapsed() < ms) {
        QThread::msleep(100);
        found = LogLines(kind);
    }
    return found;
}

QList<int> TProgramRun::ViewGeometry(int ms) const
{
    const QStringList lines = WaitForLog(QStringLiteral("view"), ms);
    if (lines.isEmpty())
        return {};
    QList<int> g;
    for (const QString &n : lines.first().section(QLatin1Char('\t'), 2).split(QLatin1Char(' ')))
        g << n.toInt();
    return g.size() == 4 ? g : QList<int>{};
}

QString TProgramRun::XDo(const QStringList &args)
{
    QProcess p;
    p.start(QStringLiteral("xdotool"), args);
    p.waitForFinished(10000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

void TProgramRun::Keys(const QStringList &keys, int delayMs)
{
    XDo(QStringList{QStringLiteral("key"), QStringLiteral("--delay"), QString::number(delayMs)} + keys);
}

void TProgramRun::Type(const QString &text)
{
    XDo({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("40"), text});
}

void TProgramRun::ClickAt(int x, int y)
{
    XDo({QStringLiteral("mousemove"), QString::number(x), QString::number(y), QStringLiteral("click"),
         QStringLiteral("1")});
}

QString TProgramRun::WaitForWindow(const QString &pattern, int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) {
        const QString id = XDo({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                                pattern})
                               .section(QLatin1Char('\n'), 0, 0)
                               .trimmed();
        if (!id.isEmpty())
            return id;
        QThread::msleep(100);
    }
    return {};
}

QString TProgramRun::WaitForCaption(const QString &caption, int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) {
        const QString id = XDo({QStringLiteral("search"), QStringLiteral("--name"), QStringLiteral("Sector \\(")})
                               .section(QLatin1Char('\n'), 0, 0)
                               .trimmed();
        if (!id.isEmpty()) {
            LastCaption = WindowName(id);
            if (LastCaption == caption)
                return id;
        }
        QThread::msleep(100);
    }
    LastCaption = QStringLiteral("running=%1 display=%2").arg(Running()).arg(qEnvironmentVariable("DISPLAY"));
    for (const QString &w : XDo({QStringLiteral("search"), QStringLiteral("--name"), QStringLiteral(".")}).split('\n'))
        if (!w.isEmpty())
            LastCaption += QStringLiteral(" [") + WindowName(w) + QStringLiteral("]");
    return {};
}

QString TProgramRun::WindowName(const QString &id)
{
    QString name = XDo({QStringLiteral("getwindowname"), id});
    if (name.endsWith(QLatin1Char('\n')))
        name.chop(1);
    return name;
}

void TProgramRun::Focus(const QString &id)
{
    XDo({QStringLiteral("windowfocus"), QStringLiteral("--sync"), id});
    QThread::msleep(300);
}

int TProgramRun::Cli(const QStringList &args, QString *output, int ms)
{
    QProcess cli;
    cli.start(QStringLiteral(KALVION_BIN_DIR "/kalvion-cli"), args);
    if (!cli.waitForFinished(ms)) {
        cli.kill();
        cli.waitForFinished(5000);
        return -1;
    }
    if (output)
        *output = QString::fromUtf8(cli.readAllStandardOutput());
    return cli.exitStatus() == QProcess::NormalExit ? cli.exitCode() : -1;
}

} // namespace kalvion::test
