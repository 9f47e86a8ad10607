#pragma once
// The real program under an X display, for end-to-end tests: a private
// settings folder, the program's questions answered from a file (and logged
// beside it), keys and clicks sent with xdotool, the command line tool run
// on the side.
#include <QList>
#include <QPair>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace kalvion::test {

class TProgramRun {
public:
    // Everything lives below `folder`: settings, data folder, answers.
    explicit TProgramRun(const QString &folder);
    ~TProgramRun();
    TProgramRun(const TProgramRun &) = delete;
    TProgramRun &operator=(const TProgramRun &) = delete;

    // Whether xdotool can be run (the tests skip without it).
    static bool HaveXdotool();

    // Settings written before the start, over the standard ones (every
    // value the reading meets before "PerformanceSkip": a missing one would
    // stop it there).
    void SetIni(const QString &key, const QString &value);
    void SetEnv(const QString &name, const QString &value) { FExtraEnv << qMakePair(name, value); }
    // Starts the program with these answers and arguments.
    bool Start(const QStringList &answers, const QStringList &args);
    bool Running() const { return FProcess.state() != QProcess::NotRunning; }
    bool WaitForExit(int ms) { return FProcess.waitForFinished(ms); }
    // Ends the program at once (SIGKILL), as a crash would.
    void Kill()
    {
        FProcess.kill();
        FProcess.waitForFinished(10000);
    }

    // The log lines of a kind ("view", "ask", "tell" …) as they stand, and
    // waiting up to `ms` until there are at least `count`.
    QStringList LogLines(const QString &kind) const;
    QStringList WaitForLog(const QString &kind, int ms, qsizetype count = 1) const;
    // The view's place on the screen from the "view" line: x, y, width,
    // height (empty until the first frame).
    QList<int> ViewGeometry(int ms) const;

    // The first visible window whose name matches the pattern; empty after `ms`.
    static QString WaitForWindow(const QString &pattern, int ms);
    // A window captioned exactly so (looked for among the main windows);
    // empty after `ms`, with what was seen instead in LastCaption.
    QString WaitForCaption(const QString &caption, int ms);
    static QString WindowName(const QString &id);
    // Focuses a window and waits until it has the focus.
    static void Focus(const QString &id);
    static QString XDo(const QStringList &args);
    // Keys one after another, `delayMs` apart.
    static void Keys(const QStringList &keys, int delayMs = 120);
    static void Type(const QString &text);
    static void ClickAt(int x, int y);

    // Runs kalvion-cli; its exit code (-1 when it did not finish in time).
    static int Cli(const QStringList &args, QString *output = nullptr, int ms = 120000);

    QString Folder() const { return FFolder; }
    QString AnswersFile() const { return FAnswers; }
    QString LastCaption;

private:
    QString FFolder;
    QString FAnswers;
    QList<QPair<QString, QString>> FIni;
    QList<QPair<QString, QString>> FExtraEnv;
    QProcess FProcess;
};

} // namespace kalvion::test
