#pragma once
// A main window over a program folder whose "Plugins/" a test fills first,
// and messages answered from a list that also keep the file filters the
// window offered.
#include "../support/ScratchWindow.h"
#include "app/MainWindow.h"
#include "app/ScriptedMessages.h"
#include "app/SettingsStore.h"
#include "model/VexaSector.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTextStream>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>

// Readable failures for Qt's strings.
inline void PrintTo(const QString &s, std::ostream *os) { *os << '"' << s.toStdString() << '"'; }

namespace kalvion::app::test {

class TFilterKeepingMessages final : public TAppMessages {
public:
    TScriptedMessages Inner;
    QString LastOpenFilter;

    void Tell(const QString &t, const QString &c, TMsgIcon i) override { Inner.Tell(t, c, i); }
    TMsgAnswer Ask(const QString &t, const QString &c, TMsgButtons b, TMsgIcon i) override
    {
        return Inner.Ask(t, c, b, i);
    }
    std::optional<QString> InputBox(const QString &c, const QString &p, const QString &i) override
    {
        return Inner.InputBox(c, p, i);
    }
    std::optional<QString> OpenFileName(const QString &c, const QString &f, const QString &i) override
    {
        LastOpenFilter = f;
        return Inner.OpenFileName(c, f, i);
    }
    std::optional<QString> SaveFileName(const QString &c, const QString &f, const QString &i,
                                        const QString &e) override
    {
        return Inner.SaveFileName(c, f, i, e);
    }
    std::optional<QString> FolderName(const QString &c, const QString &i) override { return Inner.FolderName(c, i); }
    std::optional<TColor> ChooseColor(TColor i) override { return Inner.ChooseColor(i); }
};

struct PluginWindow : ::testing::Test, TScratchWindow<TFilterKeepingMessages> {
    void SetUp() override
    {
        PrepareScratch();
        QDir().mkpath(PluginFolder());
    }
    void TearDown() override
    {
        if (window)
            window->Sector().Modified = false;
        window.reset();
    }
    QString PluginFolder() const { return dir.filePath(QStringLiteral("Plugins")); }
    QString Write(const QString &rel, const QString &text)
    {
        const QString path = dir.filePath(rel);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text.toUtf8());
        return QFileInfo(path).absoluteFilePath();
    }
    QString WritePlugin(const QString &name, const QString &text)
    {
        return Write(QStringLiteral("Plugins/") + name, text);
    }
    // The plug-ins that ship with the program.
    void CopySamples()
    {
        const QDir samples(QStringLiteral(KALVION_SOURCE_DIR "/data/Plugins"));
        for (const QString &f : samples.entryList(QDir::Files))
            ASSERT_TRUE(QFile::copy(samples.filePath(f), PluginFolder() + QLatin1Char('/') + f));
    }
    void Open(const QString &fileToOpen = QString())
    {
        TfrmVexaMain::TOptions o;
        o.ProgramFolder = dir.path() + QLatin1Char('/');
        o.SkipGL = true;
        o.FileToOpen = fileToOpen;
        window = std::make_unique<TfrmVexaMain>(messages, *store, o);
    }
    // The messages told since `from`, as "caption: text".
    QStringList Told(qsizetype from = 0) const
    {
        QStringList told;
        const QStringList &log = messages.Inner.Log();
        for (qsizetype i = from; i < log.size(); ++i)
            if (log[i].startsWith(QLatin1String("tell\t")))
                told << log[i].section(QLatin1Char('\t'), 1, 1) + QStringLiteral(": ") +
                            log[i].section(QLatin1Char('\t'), 2);
        return told;
    }
    qsizetype LogSize() const { return messages.Inner.Log().size(); }
    QMenu *TopMenu(int index) const { return window->menuBar()->actions().at(index)->menu(); }
    // Actions anywhere in the menu bar with this text.
    QList<QAction *> MenuActions(const QString &text) const
    {
        QList<QAction *> found;
        std::function<void(QMenu *)> walk = [&](QMenu *m) {
            for (QAction *a : m->actions()) {
                if (a->text() == text)
                    found << a;
                if (a->menu())
                    walk(a->menu());
            }
        };
        for (QAction *top : window->menuBar()->actions())
            if (top->menu())
                walk(top->menu());
        return found;
    }
};

} // namespace kalvion::app::test
