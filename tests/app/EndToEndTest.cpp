// The real program under Xvfb: it opens a sector named on its command line,
// a click selects a system, keys move it, Ctrl+S saves it, the lock keeps it
// in place, and closing with unsaved changes asks first.  The program's
// questions are answered from a file, and it notes where its 3D view lies
// so the test can click into it.
#include "../render/XDisplay.h"
#include "../support/ProgramRun.h"

#include "files/SectorFile.h"
#include "model/StellarBody.h"
#include "model/VexaSector.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

using namespace kalvion;
using kalvion::test::TProgramRun;

namespace {

// The program on the one-system sector, with the lock as asked.
class Program : public TProgramRun {
public:
    Program(const QTemporaryDir &dir, const QString &sector, const QStringList &answers, bool autoLock)
        : TProgramRun(dir.path())
    {
        SetIni(QStringLiteral("AutoLock"), autoLock ? QStringLiteral("1") : QStringLiteral("0"));
        EXPECT_TRUE(Start(answers, {sector}));
    }
    QString WaitForWindow(const QString &caption) { return WaitForCaption(caption, 60000); }
    // The log line of a kind ("view", "ask" …), waiting up to 30 s for it.
    QString WaitForLog(const QString &kind)
    {
        const QStringList lines = TProgramRun::WaitForLog(kind, 30000);
        return lines.isEmpty() ? QString() : lines.first();
    }
};

struct EndToEnd : ::testing::Test {
    QTemporaryDir dir;
    QString sector;
    void SetUp() override
    {
        kalvion::test::EnsureXDisplay();
        if (!TProgramRun::HaveXdotool())
            GTEST_SKIP() << "xdotool is not installed";
        // One system at the origin, which the home camera looks at: it lies
        // in the middle of the view.
        TVexaSector s;
        TStellarBody *b = s.NewSystem(1);
        b->Name = "Hub";
        s.UpdateRootAttribs();
        sector = dir.filePath(QStringLiteral("Hub.VexaDB"));
        ASSERT_TRUE(SaveToFile(s, sector.toStdString(), false));
    }
    double StoredY()
    {
        TVexaSector s;
        EXPECT_TRUE(LoadFromFile(s, sector.toStdString()));
        return s.SystemCount() == 1 ? s.GetSystem(0)->Y : -999;
    }
    // Clicks until the window says it selected there: on a busy machine the
    // first click may reach a window not yet ready for it.
    void ClickViewCentre(Program &program)
    {
        const QList<int> view = program.ViewGeometry(30000);
        ASSERT_EQ(view.size(), 4);
        const qsizetype before = program.LogLines(QStringLiteral("select")).size();
        for (int attempt = 0; attempt < 10; ++attempt) {
            Program::ClickAt(view[0] + view[2] / 2, view[1] + view[3] / 2);
            if (program.TProgramRun::WaitForLog(QStringLiteral("select"), 3000, before + 1).size() > before)
                return;
        }
        FAIL() << "no click reached the view";
    }
};

const QString CAPTION = QStringLiteral("Hub Sector (1 Systems; 1 total bodies) ");

} // namespace

TEST_F(EndToEnd, ClickKeysAndSaveMoveTheSystemOnDisk)
{
    Program program(dir, sector, {QStringLiteral("Cancel"), QStringLiteral("No")}, false);
    const QString id = program.WaitForWindow(CAPTION);
    ASSERT_FALSE(id.isEmpty()) << "no window captioned " << CAPTION.toStdString() << "; last seen \""
                                 << program.LastCaption.toStdString() << "\"";
    ASSERT_NO_FATAL_FAILURE(ClickViewCentre(program));
    Program::XDo({QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("50"), QStringLiteral("Up"),
                  QStringLiteral("Up"), QStringLiteral("Up"), QStringLiteral("ctrl+s")});
    QElapsedTimer clock;
    clock.start();
    while (std::abs(StoredY() - 0.15) > 1e-9 && clock.elapsed() < 30000)
        QThread::msleep(100);
    EXPECT_NEAR(StoredY(), 0.15, 1e-9) << program.WaitForLog(QStringLiteral("select")).toStdString();

    // An unsaved change, then File ▸ Exit: the question is answered Cancel
    // and the window stays; the second time No closes it.
    Program::XDo({QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("50"), QStringLiteral("Up")});
    Program::XDo({QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("150"), QStringLiteral("alt+f"),
                  QStringLiteral("Up"), QStringLiteral("Return")});
    EXPECT_EQ(program.WaitForLog(QStringLiteral("ask")),
              QStringLiteral("ask\tKalvion\tDo you want to save the changes you made to \"Hub.VexaDB\""));
    QThread::msleep(500);
    EXPECT_TRUE(program.Running());
    Program::XDo({QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("150"), QStringLiteral("alt+f"),
                  QStringLiteral("Up"), QStringLiteral("Return")});
    EXPECT_TRUE(program.WaitForExit(30000));
    EXPECT_NEAR(StoredY(), 0.15, 1e-9);  // the last move was not saved
}

TEST_F(EndToEnd, LockedSystemsStayInPlace)
{
    Program program(dir, sector, {}, true);
    const QString id = program.WaitForWindow(CAPTION);
    ASSERT_FALSE(id.isEmpty());
    ASSERT_NO_FATAL_FAILURE(ClickViewCentre(program));
    Program::XDo({QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("50"), QStringLiteral("Up"),
                  QStringLiteral("shift+Up"), QStringLiteral("Left"), QStringLiteral("ctrl+s")});
    QThread::msleep(1500);
    // Nothing moved, so nothing was modified and the window closes without
    // a question.
    EXPECT_DOUBLE_EQ(StoredY(), 0.0);
    EXPECT_EQ(program.WindowName(id), CAPTION);
}

TEST_F(EndToEnd, ScreenshotOfAGeneratedSectorShowsItsStars)
{
    const QString file = dir.filePath(QStringLiteral("Shot.VexaDB"));
    QProcess cli;
    cli.start(QStringLiteral(KALVION_BIN_DIR "/kalvion-cli"),
              {QStringLiteral("--seed"), QStringLiteral("5"), QStringLiteral("generate"), file, QStringLiteral("--size"),
               QStringLiteral("24"), QStringLiteral("--frequency"), QStringLiteral("20")});
    ASSERT_TRUE(cli.waitForFinished(120000));
    ASSERT_EQ(cli.exitCode(), 0);
    const QString png = dir.filePath(QStringLiteral("window.png"));
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("cfg")));
    env.insert(QStringLiteral("XDG_DATA_HOME"), dir.filePath(QStringLiteral("data")));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("LIBGL_ALWAYS_SOFTWARE"), QStringLiteral("1"));
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(KALVION_BIN_DIR "/kalvion"), {QStringLiteral("--screenshot"), png, file});
    ASSERT_TRUE(program.waitForFinished(120000));
    QImage image(png);
    ASSERT_FALSE(image.isNull());
    EXPECT_GE(image.width(), 800);
    // The 3D view on the right holds the stars: many bright pixels on black.
    int bright = 0;
    for (int y = image.height() / 4; y < image.height() * 3 / 4; ++y)
        for (int x = image.width() / 2; x < image.width() * 7 / 8; ++x)
            if (qGray(image.pixel(x, y)) > 100)
                ++bright;
    EXPECT_GT(bright, 200);
    if (qEnvironmentVariableIsSet("KALVION_KEEP_SCREENSHOT"))
        QFile::copy(png, qEnvironmentVariable("KALVION_KEEP_SCREENSHOT"));
}

TEST_F(EndToEnd, AKilledProgramOffersItsUnsavedChangesAndSavesThemIntoTheFile)
{
    const QString recovery = dir.filePath(QStringLiteral("data/kalvion/Recovery"));
    const auto copies = [&] {
        QStringList found;
        for (const QString &d : QDir(recovery).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
            if (QFile::exists(recovery + QLatin1Char('/') + d + QStringLiteral("/sector.VexaDB")))
                found << d;
        return found;
    };
    {
        // A copy every second instead of every few minutes (the program's
        // override for tests).
        qputenv("KALVION_RECOVERY_SECONDS", "1");
        Program first(dir, sector, {}, false);
        qunsetenv("KALVION_RECOVERY_SECONDS");
        ASSERT_FALSE(first.WaitForWindow(CAPTION).isEmpty()) << first.LastCaption.toStdString();
        ASSERT_NO_FATAL_FAILURE(ClickViewCentre(first));
        Program::Keys({QStringLiteral("Up"), QStringLiteral("Up"), QStringLiteral("Up")}, 50);
        QElapsedTimer clock;
        clock.start();
        while (copies().isEmpty() && clock.elapsed() < 60000)
            QThread::msleep(100);
        ASSERT_EQ(copies().size(), 1);
        // Written while the program goes on: the last move may still be on
        // its way into a newer copy, so the copy is read once it shows it.
        clock.restart();
        const auto copyY = [&] {
            TVexaSector s;
            const QStringList c = copies();
            return !c.isEmpty() &&
                           LoadFromFile(s, (recovery + QLatin1Char('/') + c.first() + QStringLiteral("/sector.VexaDB"))
                                               .toStdString()) &&
                           s.SystemCount() == 1
                       ? s.GetSystem(0)->Y
                       : -999.0;
        };
        while (std::abs(copyY() - 0.15) > 1e-9 && clock.elapsed() < 60000)
            QThread::msleep(100);
        EXPECT_NEAR(copyY(), 0.15, 1e-9);
        first.Kill();
    }
    EXPECT_DOUBLE_EQ(StoredY(), 0.0);  // the file never saw the moves

    Program second(dir, sector, {QStringLiteral("Yes")}, false);
    const QStringList asked = second.TProgramRun::WaitForLog(QStringLiteral("ask"), 60000);
    ASSERT_EQ(asked.size(), 1);
    EXPECT_EQ(asked.first(), QStringLiteral("ask\tKalvion\tKalvion was closed while \"Hub.VexaDB\" had unsaved "
                                            "changes. Recover them?"));
    const QString id = second.WaitForWindow(CAPTION);
    ASSERT_FALSE(id.isEmpty()) << second.LastCaption.toStdString();
    QElapsedTimer clock;
    clock.start();
    while (std::abs(StoredY() - 0.15) > 1e-9 && clock.elapsed() < 60000) {
        TProgramRun::Focus(id);
        TProgramRun::Keys({QStringLiteral("ctrl+s")});
        for (int i = 0; i < 20 && std::abs(StoredY() - 0.15) > 1e-9; ++i)
            QThread::msleep(100);
    }
    EXPECT_NEAR(StoredY(), 0.15, 1e-9);
    QElapsedTimer gone;
    gone.start();
    while (!copies().isEmpty() && gone.elapsed() < 30000)
        QThread::msleep(100);
    EXPECT_TRUE(copies().isEmpty());
    EXPECT_TRUE(QDir(recovery).entryList(QDir::Dirs | QDir::NoDotAndDotDot).isEmpty());
}

TEST(NoDisplay, SaysSoInOneLineAndRunsTheDemonstration)
{
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(KALVION_BIN_DIR "/kalvion"), {});
    ASSERT_TRUE(program.waitForFinished(120000));
    EXPECT_EQ(program.exitCode(), 0);
    const QString err = QString::fromUtf8(program.readAllStandardError());
    EXPECT_TRUE(err.startsWith(QStringLiteral("kalvion: no display found; running the command-line demonstration instead\n")))
        << err.toStdString();
    EXPECT_FALSE(program.readAllStandardOutput().isEmpty());
}
