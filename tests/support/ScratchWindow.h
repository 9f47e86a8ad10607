#pragma once
// A main window without GL over a scratch folder: its settings file (the
// start-up performance test skipped) and the data folder below it.  The
// messages are declared before the window, so they outlive it.
#include "app/MainWindow.h"
#include "app/SettingsStore.h"
#include "generation/NewSectorOptions.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <QLatin1Char>
#include <QString>
#include <QTemporaryDir>
#include <QtGlobal>

#include <cstdint>
#include <memory>
#include <optional>

namespace kalvion::app::test {

template <class TMessagesType>
struct TScratchWindow {
    QTemporaryDir dir;
    TMessagesType messages;
    std::unique_ptr<TSettingsStore> store;
    std::unique_ptr<TfrmVexaMain> window;

    // The settings file and the data folder; before the first OpenWindow.
    void PrepareScratch()
    {
        qputenv("XDG_DATA_HOME", dir.filePath(QStringLiteral("data")).toLocal8Bit());
        store = std::make_unique<TSettingsStore>(dir.filePath(QStringLiteral("k.ini")));
        store->SetBool(QStringLiteral("PerformanceSkip"), true);
    }
    // A new window in place of the last one.
    void OpenWindow(std::optional<std::int32_t> seed = std::nullopt)
    {
        TfrmVexaMain::TOptions o;
        o.ProgramFolder = dir.path() + QLatin1Char('/');
        o.SkipGL = true;
        o.Seed = seed;
        window.reset();
        window = std::make_unique<TfrmVexaMain>(messages, *store, o);
    }
    // Starts a generation and waits for its end; false when it did not
    // start or did not end within two minutes.
    bool GenerateAndWait(const TNewSectorOptions &options)
    {
        bool finished = false;
        const auto c = QObject::connect(window.get(), &TfrmVexaMain::generationFinished, [&] { finished = true; });
        const bool started = window->GenerateNewSector(options);
        QElapsedTimer clock;
        clock.start();
        while (started && !finished && clock.elapsed() < 120000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QObject::disconnect(c);
        return started && finished;
    }
};

} // namespace kalvion::app::test
