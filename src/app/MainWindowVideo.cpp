// Video recording in the main window: the "Record Video" window, the
// toolbar button that shows whether it records, and the frames.  While the
// window records, every frame the sector view draws (animations included)
// is drawn again off screen at the video's size and handed to the recorder.
#include "app/MainWindow.h"

#include "app/ActionTable.h"
#include "app/AppMessages.h"
#include "app/ScriptedMessages.h"
#include "app/video/RecordVideoDialog.h"
#include "app/video/ViewCapture.h"

#include "files/SectorFile.h"
#include "model/VexaSector.h"
#include "render/RenderSectorOGL.h"
#include "render/orbit/RenderOrbitOGL.h"
#include "render/SectorGLWidget.h"
#include "render/video/VideoRecorder.h"
#include "scriptui/MovieNames.h"

#include <QAction>
#include <QFileInfo>
#include <QLabel>
#include <QTimer>

namespace kalvion::app {

namespace {
const QString RECORD_ID = QStringLiteral("Animations.RecordVideo");
}

void TfrmVexaMain::BuildVideo()
{
    FVideo = std::make_unique<TVideoRecorder>();
    FVideoCapture = std::make_unique<TViewCapture>();
    FRecordVideo = new TfrmRecordVideo(FMessages, *FVideo, FSettings, this);
    FRecordVideo->setObjectName(QStringLiteral("frmRecordVideo"));
    connect(FRecordVideo, &TfrmRecordVideo::recordingChanged, this, &TfrmVexaMain::OnVideoRecordingChanged);
    FActions->Action(RECORD_ID)->setCheckable(true);
    if (FView)
        connect(FView, &TSectorGLWidget::frameDrawn, this, &TfrmVexaMain::OnVideoViewFrame);
}

void TfrmVexaMain::ShutDownVideo()
{
    // The window goes before the recorder it refers to; a recording still
    // open then is abandoned by the recorder.
    delete FRecordVideo;
    FRecordVideo = nullptr;
    FVideoCapture.reset();
    FVideo.reset();
}

void TfrmVexaMain::RecordVideoCommand()
{
    if (FRecordVideo->Recording()) {
        FRecordVideo->StopRecording();
        return;
    }
    // The action toggles its own check; it shows the recording state only.
    FActions->Action(RECORD_ID)->setChecked(false);
    const bool untitled = FSector->FileName.empty() || FSector->FileName == GenerateTempFile();
    FRecordVideo->Load(untitled ? QStringLiteral("Untitled")
                                : QFileInfo(QString::fromStdString(FSector->FileName)).completeBaseName());
    FRecordVideo->show();
    FRecordVideo->raise();
    FRecordVideo->activateWindow();
}

void TfrmVexaMain::OnVideoRecordingChanged(bool recording)
{
    QAction *a = FActions->Action(RECORD_ID);
    a->setChecked(recording);
    a->setIconText(recording ? QStringLiteral("Stop") : QStringLiteral("Record"));
    a->setToolTip(recording ? QStringLiteral("Stop recording the video") : QStringLiteral("Record Video"));
    FVideoFailing = false;
    NoteForAnswers(QStringLiteral("video"),
                   (recording ? QStringLiteral("recording ") : QStringLiteral("stopped ")) +
                       QString::number(FRecordVideo->FramesRecorded()) + QLatin1Char(' ') +
                       QString::fromStdString(FVideo->fileName()));
    // The view as it stands is the first frame.
    if (recording && FView)
        FView->update();
}

QImage TfrmVexaMain::VideoFrame(int width, int height)
{
    if (!FView)
        return {};
    const int samples = FSettings.EnableMultisample ? 4 : 0;
    if (FViewMode == VIEW_MODE_ORBIT && FOrbit->Root())
        return FVideoCapture->OrbitFrame(*FSector, *FOrbit, width, height, samples);
    return FVideoCapture->Frame(*FSector, *FRenderer, width, height, samples);
}

void TfrmVexaMain::OnVideoViewFrame()
{
    if (!FRecordVideo || !FRecordVideo->Recording() || FVideoFailing)
        return;
    // Messages wait until the view has finished its frame.
    const auto fail = [this](const QString &reason) {
        FVideoFailing = true;
        QTimer::singleShot(0, this, [this, reason] {
            if (FRecordVideo)
                FRecordVideo->AbandonRecording(reason);
        });
    };
    if (!FVideo->isRecording()) {
        fail(QString::fromStdString(FVideo->lastError()));
        return;
    }
    const QImage frame = VideoFrame(FVideo->frameWidth(), FVideo->frameHeight());
    // The view is inside its paint: its own context must be current again.
    FView->makeCurrent();
    if (frame.isNull()) {
        fail(QStringLiteral("The 3D view could not be drawn for the video: ") + FVideoCapture->Error());
        return;
    }
    if (!FVideo->addFrame(frame)) {
        fail(QString::fromStdString(FVideo->lastError()));
        return;
    }
    FRecordVideo->FrameAdded();
}

void TfrmVexaMain::FinishVideoOnClose()
{
    if (FRecordVideo && FRecordVideo->Recording())
        FRecordVideo->StopRecording();
    else if (FVideo && FVideo->isRecording() && !FVideo->finish())
        ReportError(QString::fromStdString(FVideo->lastError()));
}

void TfrmVexaMain::NoteForAnswers(const QString &kind, const QString &text)
{
    if (auto *scripted = dynamic_cast<TScriptedMessages *>(&FMessages))
        scripted->Note(kind, text);
}

void TfrmVexaMain::RegisterVideoScripting(TScriptRegistry &registry)
{
    TMovieScriptHooks hooks;
    hooks.Frame = [this](int width, int height) { return VideoFrame(width, height); };
    hooks.Folder = [this] { return FSettings.VideoFolder.toStdString(); };
    hooks.Fps = [this] { return FSettings.VideoFPS; };
    hooks.Quick = [this] { return FSettings.VideoQuick; };
    // A script hears False and decides; the reason stays readable in the
    // status bar rather than stopping the script with a message.
    hooks.OnFailure = [this](const std::string &why) { FStatus[0]->setText(QString::fromStdString(why)); };
    hooks.OnNotice = [this](const std::string &notice) {
        FMessages.Tell(QString::fromStdString(notice), QStringLiteral("Record Video"), TMsgIcon::Information);
    };
    RegisterMovieNames(registry, *FVideo, std::move(hooks));
}

} // namespace kalvion::app
