#include "app/video/RecordVideoDialog.h"

#include "app/DialogValues.h"
#include "render/video/VideoRecorder.h"
#include "ui_RecordVideoDialog.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTimer>

namespace kalvion::app {

namespace {

const QString CAPTION = QStringLiteral("Record Video");

bool IsVideoSuffix(const QString &suffix)
{
    return suffix.compare(QLatin1String("mp4"), Qt::CaseInsensitive) == 0 ||
           suffix.compare(QLatin1String("webm"), Qt::CaseInsensitive) == 0;
}

QString FolderWithSeparator(const QString &folder)
{
    return folder.isEmpty() || folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

std::optional<std::int32_t> SizeFromText(const QString &text)
{
    const auto v = Int32FromText(text);
    if (!v || *v < VIDEO_MIN_SIZE || *v > VIDEO_MAX_SIZE)
        return std::nullopt;
    return v;
}

} // namespace

TfrmRecordVideo::TfrmRecordVideo(TAppMessages &messages, TVideoRecorder &recorder, TAppSettings &settings,
                                 QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::TfrmRecordVideo>()), FMessages(messages), FRecorder(recorder),
      FSettings(settings)
{
    ui->setupUi(this);
    setModal(false);
    FStateTimer = new QTimer(this);
    FStateTimer->setInterval(250);
    connect(FStateTimer, &QTimer::timeout, this, &TfrmRecordVideo::ShowState);
    connect(ui->btnBrowse, &QPushButton::clicked, this, &TfrmRecordVideo::Browse);
    connect(ui->btnStart, &QPushButton::clicked, this, &TfrmRecordVideo::StartRecording);
    connect(ui->btnStop, &QPushButton::clicked, this, &TfrmRecordVideo::StopRecording);
    connect(ui->btnClose, &QPushButton::clicked, this, &TfrmRecordVideo::hide);
    ShowState();
}

TfrmRecordVideo::~TfrmRecordVideo() = default;

void TfrmRecordVideo::Load(const QString &baseName)
{
    if (FRecording)
        return;
    QString folder = FSettings.VideoFolder;
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString base = baseName.isEmpty() ? QStringLiteral("Kalvion") : baseName;
    ui->edFileName->setText(QDir::toNativeSeparators(FolderWithSeparator(folder) + base + QStringLiteral(".mp4")));
    ui->edWidth->setText(QString::number(FSettings.VideoFrameWidth));
    ui->edHeight->setText(QString::number(FSettings.VideoFrameHeight));
    ui->edFPS->setText(TextFromNumber(FSettings.VideoFPS));
    ui->cbQuick->setChecked(FSettings.VideoQuick);
    ShowState();
}

QString TfrmRecordVideo::Validate() const
{
    const QString file = ui->edFileName->text().trimmed();
    if (file.isEmpty())
        return QStringLiteral("Please enter a name for the video file.");
    const QString suffix = QFileInfo(file).suffix();
    if (!suffix.isEmpty() && !IsVideoSuffix(suffix))
        return QStringLiteral("A video file name ends in \".mp4\" or \".webm\".");
    if (QFileInfo(file).fileName() == QLatin1Char('.') + suffix)
        return QStringLiteral("Please enter a name for the video file.");
    const QString range = QStringLiteral("a whole number from %1 to %2.").arg(VIDEO_MIN_SIZE).arg(VIDEO_MAX_SIZE);
    if (!SizeFromText(ui->edWidth->text()))
        return QStringLiteral("The frame width must be ") + range;
    if (!SizeFromText(ui->edHeight->text()))
        return QStringLiteral("The frame height must be ") + range;
    const auto fps = NumberFromText(ui->edFPS->text());
    if (!fps || !(*fps >= VIDEO_MIN_FPS && *fps <= VIDEO_MAX_FPS))
        return QStringLiteral("The frames per second must be a number from %1 to %2.")
            .arg(VIDEO_MIN_FPS)
            .arg(VIDEO_MAX_FPS);
    return {};
}

TVideoChoice TfrmRecordVideo::Choice() const
{
    TVideoChoice c;
    QString file = QDir::fromNativeSeparators(ui->edFileName->text().trimmed());
    // A bare name goes to the video folder, like a script's.
    if (!file.contains(QLatin1Char('/'))) {
        QString folder = FSettings.VideoFolder;
        if (folder.isEmpty())
            folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        file = FolderWithSeparator(folder) + file;
    }
    if (QFileInfo(file).suffix().isEmpty())
        file += QStringLiteral(".mp4");
    c.File = QFileInfo(file).absoluteFilePath();
    c.Width = SizeFromText(ui->edWidth->text()).value_or(0);
    c.Height = SizeFromText(ui->edHeight->text()).value_or(0);
    c.Fps = NumberFromText(ui->edFPS->text()).value_or(0);
    c.Quick = ui->cbQuick->isChecked();
    return c;
}

void TfrmRecordVideo::Apply(TAppSettings &settings) const
{
    const TVideoChoice c = Choice();
    settings.VideoFrameWidth = c.Width;
    settings.VideoFrameHeight = c.Height;
    settings.VideoFPS = c.Fps;
    settings.VideoQuick = c.Quick;
    settings.VideoFolder = FolderWithSeparator(QFileInfo(c.File).absolutePath());
}

void TfrmRecordVideo::Browse()
{
    const TVideoChoice c = Choice();
    const QString ext = QFileInfo(c.File).suffix().compare(QLatin1String("webm"), Qt::CaseInsensitive) == 0
                            ? QStringLiteral("webm")
                            : QStringLiteral("mp4");
    if (const auto file =
            FMessages.SaveFileName(QStringLiteral("Save Video As"), QString::fromLatin1(VIDEO_FILE_FILTER), c.File, ext))
        ui->edFileName->setText(QDir::toNativeSeparators(*file));
}

bool TfrmRecordVideo::StartRecording()
{
    if (FRecording || FRecorder.isRecording()) {
        FMessages.Tell(QStringLiteral("A video is already being recorded."), CAPTION, TMsgIcon::Information);
        return false;
    }
    if (const QString error = Validate(); !error.isEmpty()) {
        FMessages.Tell(error, CAPTION, TMsgIcon::Warning);
        return false;
    }
    const TVideoChoice c = Choice();
    if (QFileInfo::exists(c.File) &&
        FMessages.Ask(QLatin1Char('"') + QDir::toNativeSeparators(c.File) +
                          QStringLiteral("\" already exists.  Do you want to replace it?"),
                      CAPTION, TMsgButtons::YesNo, TMsgIcon::Question) != TMsgAnswer::Yes)
        return false;
    Apply(FSettings);
    if (!FRecorder.start(c.File.toStdString(), c.Width, c.Height, c.Fps, c.Quick)) {
        FMessages.Tell(QString::fromStdString(FRecorder.lastError()), CAPTION, TMsgIcon::Error);
        return false;
    }
    ui->edFileName->setText(QDir::toNativeSeparators(c.File));
    if (!FRecorder.sizeNotice().empty()) {
        // The boxes and the settings show the size the file really has.
        ui->edWidth->setText(QString::number(FRecorder.frameWidth()));
        ui->edHeight->setText(QString::number(FRecorder.frameHeight()));
        FSettings.VideoFrameWidth = FRecorder.frameWidth();
        FSettings.VideoFrameHeight = FRecorder.frameHeight();
        FMessages.Tell(QString::fromStdString(FRecorder.sizeNotice()), CAPTION, TMsgIcon::Information);
    }
    FRecording = true;
    FFrames = 0;
    FStateTimer->start();
    ShowState();
    emit recordingChanged(true);
    return true;
}

bool TfrmRecordVideo::StopRecording()
{
    if (!FRecording)
        return false;
    // A file without a single frame would not play anywhere.
    if (FRecorder.framesAdded() == 0) {
        AbandonRecording(QStringLiteral("No frames were recorded, so no video file was written."));
        return false;
    }
    const bool ok = FRecorder.finish();
    FRecording = false;
    FStateTimer->stop();
    ShowState();
    if (ok)
        ui->lblState->setText(QStringLiteral("%1 frames saved to \"%2\"")
                                  .arg(FFrames)
                                  .arg(QFileInfo(QString::fromStdString(FRecorder.fileName())).fileName()));
    emit recordingChanged(false);
    if (!ok)
        FMessages.Tell(QString::fromStdString(FRecorder.lastError()), CAPTION, TMsgIcon::Error);
    return ok;
}

void TfrmRecordVideo::AbandonRecording(const QString &reason)
{
    if (!FRecording)
        return;
    FRecorder.cancel();
    FRecording = false;
    FStateTimer->stop();
    ShowState();
    emit recordingChanged(false);
    FMessages.Tell(reason, CAPTION, TMsgIcon::Error);
}

void TfrmRecordVideo::ShowState()
{
    const bool elsewhere = !FRecording && FRecorder.isRecording();
    for (QWidget *w : {static_cast<QWidget *>(ui->edFileName), static_cast<QWidget *>(ui->btnBrowse),
                       static_cast<QWidget *>(ui->edWidth), static_cast<QWidget *>(ui->edHeight),
                       static_cast<QWidget *>(ui->edFPS), static_cast<QWidget *>(ui->cbQuick)})
        w->setEnabled(!FRecording);
    ui->btnStart->setEnabled(!FRecording && !elsewhere);
    ui->btnStop->setEnabled(FRecording);
    if (FRecording)
        ui->lblState->setText(QStringLiteral("Recording: %1 frames").arg(FFrames));
    else if (elsewhere)
        ui->lblState->setText(QStringLiteral("A script is recording a video"));
    else
        ui->lblState->setText(QStringLiteral("Not recording"));
}

} // namespace kalvion::app
