#pragma once
// The picture windows' tests share one QApplication on the offscreen
// platform and answer every question from a list.
#include "../appdialogs/DialogTestSupport.h"

#include "../support/ScratchWindow.h"
#include "app/MainWindow.h"
#include "app/SettingsStore.h"
#include "model/StellarBody.h"
#include "model/VexaSector.h"

#include <QApplication>
#include <QObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace kalvion::app::test {

class PicturesTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (!QApplication::instance()) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
            static int argc = 1;
            static char arg0[] = "test_app_pictures";
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

    // The messages shown so far, without kind and caption.
    QStringList Told() const
    {
        QStringList out;
        for (const QString &line : Messages.Log())
            out << line.section(QLatin1Char('\t'), 2);
        return out;
    }

    // A sector of the given size with a row of systems along x.
    static std::unique_ptr<TVexaSector> RowSector(double sx, double sy, int count)
    {
        auto s = TVexaSector::Create();
        s->Name = "Row";
        s->SizeX = sx;
        s->SizeY = sy;
        s->SizeZ = 10;
        for (int i = 0; i < count; ++i) {
            auto b = TStellarBody::Create();
            b->Name = "Star " + std::to_string(i);
            b->TypeID = 1;
            b->X = i - count / 2.0;
            s->AddSystem(std::move(b));
        }
        return s;
    }

    TTestMessages Messages;
};

// A main window without GL over a scratch folder: its settings file, the
// data folder below it, and questions answered from a script.
class PicturesWindowTest : public PicturesTest, protected TScratchWindow<TScriptedMessages> {
protected:
    TScriptedMessages &script = messages;

    void SetUp() override
    {
        PrepareScratch();
        OpenWindow();
    }
};

} // namespace kalvion::app::test
