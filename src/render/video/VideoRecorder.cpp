#include "render/video/VideoRecorder.h"

#include "graphics/ZentImages.h"
#include "render/video/VideoEncoder.h"

#include <cmath>

namespace kalvion {

bool IsWebMName(const std::string &file) { return UpperExtension(file) == ".WEBM"; }

TVideoRecorder::TVideoRecorder() = default;

TVideoRecorder::~TVideoRecorder() { cancel(); }

bool TVideoRecorder::start(const std::string &file, int width, int height, double fps, bool quick,
                           const std::string &encoder)
{
    {
        std::unique_lock<std::mutex> lock(Mutex_);
        if (Open_ && !Failed_) {
            Error_ = "A video is already being recorded to \"" + File_ + "\"";
            return false;
        }
        // A recording that failed is over; its worker has ended.
        if (Open_) {
            lock.unlock();
            StopWorker(false);
        }
    }
    auto refuse = [this](const std::string &message) {
        std::lock_guard<std::mutex> lock(Mutex_);
        Error_ = message;
        return false;
    };
    if (file.empty())
        return refuse("No video file name was given");
    if (width < VIDEO_MIN_SIZE || width > VIDEO_MAX_SIZE || height < VIDEO_MIN_SIZE || height > VIDEO_MAX_SIZE)
        return refuse("The video frame size must be between " + std::to_string(VIDEO_MIN_SIZE) + " and " +
                      std::to_string(VIDEO_MAX_SIZE) + " pixels");
    if (!std::isfinite(fps) || fps < VIDEO_MIN_FPS || fps > VIDEO_MAX_FPS)
        return refuse("The video frame rate must be between 1 and 240 frames per second");

    // Both encoders store colour at half the resolution in each direction,
    // so they take even sizes only.
    const int evenWidth = width & ~1, evenHeight = height & ~1;
    std::string notice;
    if (evenWidth != width || evenHeight != height)
        notice = "The video frame size " + std::to_string(width) + " x " + std::to_string(height) +
                 " was rounded to " + std::to_string(evenWidth) + " x " + std::to_string(evenHeight) +
                 ": the encoder takes even sizes only";

    TVideoFormat format;
    format.Width = evenWidth;
    format.Height = evenHeight;
    format.Fps = fps;
    format.Quick = quick;
    format.WebM = IsWebMName(file);
    format.Encoder = encoder;
    auto made = std::make_unique<TVideoEncoder>();
    if (!made->Open(file, format))
        return refuse(made->Error());

    std::lock_guard<std::mutex> lock(Mutex_);
    Encoder_ = std::move(made);
    EncoderName_ = Encoder_->CodecName();
    File_ = file;
    SizeNotice_ = notice;
    Width_ = evenWidth;
    Height_ = evenHeight;
    Fps_ = fps;
    FramesAdded_ = 0;
    Queue_.clear();
    Closing_ = Cancelled_ = Failed_ = false;
    Error_.clear();
    Open_ = true;
    Worker_ = std::thread([this] { WorkerLoop(); });
    return true;
}

bool TVideoRecorder::addFrame(const QImage &image)
{
    std::unique_lock<std::mutex> lock(Mutex_);
    if (!Open_) {
        Error_ = "No video is being recorded";
        return false;
    }
    if (Failed_)
        return false;
    if (image.isNull() || image.width() > VIDEO_MAX_SIZE || image.height() > VIDEO_MAX_SIZE) {
        Error_ = image.isNull() ? "An empty picture cannot be a video frame"
                                : "A picture larger than " + std::to_string(VIDEO_MAX_SIZE) +
                                      " pixels across cannot be a video frame";
        return false;
    }
    QueueChanged_.wait(lock, [this] { return Queue_.size() < QUEUE_DEPTH || Failed_; });
    if (Failed_)
        return false;
    Queue_.push_back(image);
    ++FramesAdded_;
    QueueChanged_.notify_all();
    return true;
}

bool TVideoRecorder::addFrameRGB(const unsigned char *rgb, int width, int height, int bytesPerLine)
{
    if (!rgb || width <= 0 || height <= 0 || bytesPerLine < width * 3) {
        std::lock_guard<std::mutex> lock(Mutex_);
        Error_ = "A video frame needs pixels";
        return false;
    }
    // A copy: the caller may reuse its buffer as soon as this returns.
    return addFrame(QImage(rgb, width, height, bytesPerLine, QImage::Format_RGB888).copy());
}

void TVideoRecorder::WorkerLoop()
{
    for (;;) {
        QImage image;
        {
            std::unique_lock<std::mutex> lock(Mutex_);
            QueueChanged_.wait(lock, [this] { return !Queue_.empty() || Closing_; });
            if (Cancelled_ || Queue_.empty())
                break;
            image = std::move(Queue_.front());
            Queue_.pop_front();
            QueueChanged_.notify_all();  // a place is free again
        }
        if (!Encoder_->Encode(image)) {
            Fail(Encoder_->Error());  // the encoder has removed its file
            return;
        }
    }
    bool cancelled;
    {
        std::lock_guard<std::mutex> lock(Mutex_);
        cancelled = Cancelled_;
    }
    if (cancelled)
        Encoder_->Abandon();
    else if (!Encoder_->Finish())
        Fail(Encoder_->Error());
}

void TVideoRecorder::Fail(const std::string &message)
{
    std::lock_guard<std::mutex> lock(Mutex_);
    Failed_ = true;
    Error_ = message;
    Queue_.clear();
    QueueChanged_.notify_all();
}

void TVideoRecorder::StopWorker(bool keep)
{
    {
        std::lock_guard<std::mutex> lock(Mutex_);
        Closing_ = true;
        Cancelled_ = !keep;
        QueueChanged_.notify_all();
    }
    if (Worker_.joinable())
        Worker_.join();
    std::lock_guard<std::mutex> lock(Mutex_);
    Encoder_.reset();
    Queue_.clear();
    Open_ = false;
}

bool TVideoRecorder::finish()
{
    {
        std::lock_guard<std::mutex> lock(Mutex_);
        if (!Open_) {
            Error_ = "No video is being recorded";
            return false;
        }
    }
    StopWorker(true);
    std::lock_guard<std::mutex> lock(Mutex_);
    return !Failed_;
}

void TVideoRecorder::cancel()
{
    bool open;
    {
        std::lock_guard<std::mutex> lock(Mutex_);
        open = Open_;
    }
    if (open)
        StopWorker(false);
}

bool TVideoRecorder::isRecording() const
{
    std::lock_guard<std::mutex> lock(Mutex_);
    return Open_ && !Failed_;
}

std::string TVideoRecorder::lastError() const
{
    std::lock_guard<std::mutex> lock(Mutex_);
    return Error_;
}

} // namespace kalvion
