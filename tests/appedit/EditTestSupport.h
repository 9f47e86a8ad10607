#pragma once
// A main window without OpenGL over a small sector built in memory, and a
// way to act on a modal window once it shows.
#include "app/DialogValues.h"
#include "app/MainWindow.h"
#include "app/ScriptedMessages.h"
#include "app/SettingsStore.h"
#include "model/StellarBody.h"
#include "model/VexaSector.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

namespace kalvion::app::test {

// Does `act` with the first visible window of type T once one shows.
template <class T>
void WhenShown(QWidget *owner, std::function<void(T *)> act)
{
    auto *timer = new QTimer(owner);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, owner, [owner, timer, act] {
        for (T *w : owner->findChildren<T *>()) {
            if (!w->isVisible())
                continue;
            timer->stop();
            timer->deleteLater();
            act(w);
            return;
        }
    });
    timer->start();
}

template <class C>
C *Control(QWidget *w, const char *name)
{
    C *c = w->findChild<C *>(QString::fromLatin1(name));
    EXPECT_NE(c, nullptr) << name;
    return c;
}

inline void Click(QWidget *w, const char *name)
{
    if (auto *b = Control<QAbstractButton>(w, name))
        b->click();
}

struct EditWindowFixture : ::testing::Test {
    QTemporaryDir dir;
    TScriptedMessages messages;
    std::unique_ptr<TSettingsStore> store;
    std::unique_ptr<TfrmVexaMain> window;

    void SetUp() override
    {
        qputenv("XDG_DATA_HOME", dir.filePath(QStringLiteral("data")).toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", dir.filePath(QStringLiteral("config")).toLocal8Bit());
        store = std::make_unique<TSettingsStore>(dir.filePath(QStringLiteral("k.ini")));
        store->SetBool(QStringLiteral("PerformanceSkip"), true);
        TfrmVexaMain::TOptions o;
        o.ProgramFolder = dir.path() + QLatin1Char('/');
        o.SkipGL = true;
        window = std::make_unique<TfrmVexaMain>(messages, *store, o);
    }
    void TearDown() override
    {
        window->Sector().Modified = false;
        window.reset();
    }
    TVexaSector &Sector() { return window->Sector(); }
    // A root system of the type, named, at x along the x axis.
    TStellarBody *AddSystem(const std::string &name, double x, int type = 1)
    {
        TStellarBody *b = Sector().NewSystem(type);
        b->Name = name;
        b->X = x;
        return b;
    }
    TStellarBody *AddChild(TStellarBody *parent, const std::string &name, int type)
    {
        auto child = TStellarBody::Create();
        child->Name = name;
        child->TypeID = type;
        TStellarBody *raw = child.get();
        parent->AddChild(std::move(child));
        return raw;
    }
    // Selects the systems in this order and refreshes the window.
    void Select(std::initializer_list<TStellarBody *> systems)
    {
        Sector().SelectAll(false);
        for (TStellarBody *s : systems)
            Sector().SelectBody(s);
        window->RefillTree();
        window->UpdateActions();
    }
    QStringList LogSince(qsizetype from, const QString &kind) const
    {
        QStringList lines;
        for (qsizetype i = from; i < messages.Log().size(); ++i)
            if (messages.Log()[i].startsWith(kind + QLatin1Char('\t')))
                lines << messages.Log()[i].section(QLatin1Char('\t'), 1);
        return lines;
    }
};

} // namespace kalvion::app::test
