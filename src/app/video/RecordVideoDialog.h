#pragma once
// The "Record Video" window: where a recording of the 3D view goes (file,
// frame size, frames per second, quick encoding) and its Start and Stop.
// It lives for the whole run beside the main window and shares the
// window's recorder; the main window hands it the frames while it records.
#include "app/AppMessages.h"
#include "app/AppSettings.h"

#include <QDialog>
#include <QString>

#include <memory>

class QTimer;
namespace Ui { class TfrmRecordVideo; }

namespace kalvion {
class TVideoRecorder;
}

namespace kalvion::app {

inline constexpr const char *VIDEO_FILE_FILTER = "MPEG-4 Video (*.mp4)|*.mp4|WebM Video (*.webm)|*.webm";

// What the boxes hold once checked.
struct TVideoChoice {
    QString File;  // a full path ending in ".mp4" or ".webm"
    int Width = 0, Height = 0;
    double Fps = 0;
    bool Quick = false;
};

class TfrmRecordVideo : public QDialog {
    Q_OBJECT
public:
    TfrmRecordVideo(TAppMessages &messages, TVideoRecorder &recorder, TAppSettings &settings,
                    QWidget *parent = nullptr);
    ~TfrmRecordVideo() override;

    // Fills the boxes from the settings; the file name is `baseName` in the
    // video folder.  The boxes keep what they hold while a recording runs.
    void Load(const QString &baseName);
    // The checks of "Start" in order: the first failure's message, or "".
    QString Validate() const;
    // The checked boxes (Validate has passed).
    TVideoChoice Choice() const;
    // Writes the boxes into the settings; the video folder becomes the
    // chosen file's folder.
    void Apply(TAppSettings &settings) const;

    // "Start": the checks, then the recorder opens the file.  A size the
    // encoder rounds is told.  False when nothing was started.
    bool StartRecording();
    // "Stop": the recorder finishes the file.  False (after telling why)
    // when the file could not be completed or holds no frame (then it is
    // not kept).
    bool StopRecording();
    // The recording ended by a failure elsewhere (a frame that could not be
    // drawn or encoded): what was written is removed and the reason told.
    void AbandonRecording(const QString &reason);
    // True while a recording started here is open.
    bool Recording() const { return FRecording; }
    // Frames added since Start (the main window counts them in).
    void FrameAdded() { ++FFrames; }
    int FramesRecorded() const { return FFrames; }

signals:
    // A recording started here began or ended.
    void recordingChanged(bool recording);

private:
    void Browse();
    void ShowState();

    std::unique_ptr<Ui::TfrmRecordVideo> ui;
    TAppMessages &FMessages;
    TVideoRecorder &FRecorder;
    TAppSettings &FSettings;
    QTimer *FStateTimer = nullptr;
    bool FRecording = false;
    int FFrames = 0;
};

} // namespace kalvion::app
