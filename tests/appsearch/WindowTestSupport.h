#pragma once
// A main window over a generated sector file, and kalvion-cli to compare
// with.  The sector is generated once per test program with a fixed seed.
#include "../support/ScratchWindow.h"
#include "app/MainWindow.h"
#include "app/ScriptedMessages.h"
#include "app/SettingsStore.h"
#include "model/VexaSector.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace kalvion::app::test {

inline const QString &GeneratedSector()
{
    static QTemporaryDir dir;
    static QString file;
    if (file.isEmpty()) {
        const QString path = dir.filePath(QStringLiteral("generated.VexaDB"));
        QProcess p;
        p.start(QStringLiteral(KALVION_BIN_DIR "/kalvion-cli"),
                {QStringLiteral("--seed"), QStringLiteral("9090"), QStringLiteral("generate"), path,
                 QStringLiteral("--size"), QStringLiteral("10"), QStringLiteral("--frequency"),
                 QStringLiteral("30")});
        if (p.waitForFinished(180000) && p.exitCode() == 0)
            file = path;
        else
            ADD_FAILURE() << "generation failed: " << p.readAllStandardError().toStdString();
    }
    return file;
}

// Runs kalvion-cli; the standard output, or a failure.
inline QByteArray RunCli(const QStringList &args)
{
    QProcess p;
    p.start(QStringLiteral(KALVION_BIN_DIR "/kalvion-cli"), args);
    if (!p.waitForFinished(120000) || p.exitCode() != 0) {
        ADD_FAILURE() << "kalvion-cli " << args.join(QLatin1Char(' ')).toStdString() << ": "
                      << p.readAllStandardError().toStdString();
        return {};
    }
    return p.readAllStandardOutput();
}

// Does `act` with the modal window of type T once it is shown.
template <class T>
void WhenShown(QWidget *owner, std::function<void(T *)> act)
{
    auto *timer = new QTimer(owner);
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, owner, [owner, timer, act] {
        T *w = owner->findChild<T *>();
        if (!w || !w->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        act(w);
    });
    timer->start();
}

struct WindowFixture : ::testing::Test, TScratchWindow<TScriptedMessages> {
    void SetUp() override
    {
        PrepareScratch();
        Reopen();
    }
    void TearDown() override
    {
        if (window)
            window->Sector().Modified = false;
        window.reset();
    }
    // The old window closes without asking about unsaved changes.
    void Reopen()
    {
        if (window)
            window->Sector().Modified = false;
        OpenWindow();
    }
    // A copy of the generated sector, open in the window.
    QString OpenCopy(const QString &name)
    {
        const QString copy = dir.filePath(name);
        QFile::remove(copy);
        EXPECT_TRUE(QFile::copy(GeneratedSector(), copy));
        QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
        EXPECT_TRUE(window->OpenSectorFile(copy));
        return copy;
    }
    // The log lines of the messages told since `from`.
    QStringList ToldSince(qsizetype from) const
    {
        QStringList told;
        for (qsizetype i = from; i < messages.Log().size(); ++i)
            if (messages.Log()[i].startsWith(QLatin1String("tell\t")))
                told << messages.Log()[i].section(QLatin1Char('\t'), 2);
        return told;
    }
};

} // namespace kalvion::app::test
