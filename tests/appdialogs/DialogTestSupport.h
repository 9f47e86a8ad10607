#pragma once
// Dialog tests run on Qt's offscreen platform and answer every question from
// a list; the filters and default extensions the choosers were given are kept
// so a test can check them.
#include "app/ScriptedMessages.h"

#include <QApplication>
#include <QObject>

#include <gtest/gtest.h>

namespace kalvion::app::test {

class TTestMessages final : public TAppMessages {
public:
    TScriptedMessages Script;
    QString LastFilter, LastDefaultExt, LastInitial;

    void Push(const QString &answer) { Script.Push(answer); }
    const QStringList &Log() const { return Script.Log(); }

    void Tell(const QString &text, const QString &caption, TMsgIcon icon) override { Script.Tell(text, caption, icon); }
    TMsgAnswer Ask(const QString &text, const QString &caption, TMsgButtons buttons, TMsgIcon icon) override
    {
        return Script.Ask(text, caption, buttons, icon);
    }
    std::optional<QString> InputBox(const QString &caption, const QString &prompt, const QString &initial) override
    {
        return Script.InputBox(caption, prompt, initial);
    }
    std::optional<QString> OpenFileName(const QString &caption, const QString &filter, const QString &initial) override
    {
        LastFilter = filter;
        LastInitial = initial;
        return Script.OpenFileName(caption, filter, initial);
    }
    std::optional<QString> SaveFileName(const QString &caption, const QString &filter, const QString &initial,
                                        const QString &defaultExt) override
    {
        LastFilter = filter;
        LastDefaultExt = defaultExt;
        LastInitial = initial;
        return Script.SaveFileName(caption, filter, initial, defaultExt);
    }
    std::optional<QString> FolderName(const QString &caption, const QString &initial) override
    {
        return Script.FolderName(caption, initial);
    }
    std::optional<TColor> ChooseColor(TColor initial) override { return Script.ChooseColor(initial); }
};

class DialogTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (!QApplication::instance()) {
            if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
                qputenv("QT_QPA_PLATFORM", "offscreen");
            static int argc = 1;
            static char arg0[] = "test_app_dialogs";
            static char *argv[] = {arg0, nullptr};
            new QApplication(argc, argv);
        }
    }

    template <class T>
    static T *Find(QObject &parent, const char *name)
    {
        T *w = parent.findChild<T *>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }

    TTestMessages Messages;
};

} // namespace kalvion::app::test
