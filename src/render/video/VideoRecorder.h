#pragma once
// TVideoRecorder: frames of the 3D views into a video file.  MP4 with H.264
// unless the name ends in ".webm" (WebM with VP9).  The caller hands over
// pictures; a worker thread converts and encodes them through a short queue,
// so adding a frame waits at most while the worker finishes the frame in
// hand.  The file is written under a temporary name beside the target and
// renamed when the recording finishes well; a recording that fails removes
// what it wrote and says why in lastError().  Nothing throws.  One thread
// (the window's, a script's) drives a recorder.
#include <QImage>

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace kalvion {

inline constexpr int VIDEO_MIN_SIZE = 16;
inline constexpr int VIDEO_MAX_SIZE = 8192;
inline constexpr double VIDEO_MIN_FPS = 1.0;
inline constexpr double VIDEO_MAX_FPS = 240.0;

class TVideoEncoder;

class TVideoRecorder {
public:
    TVideoRecorder();
    // A recording still open is abandoned (its partial file removed).
    ~TVideoRecorder();
    TVideoRecorder(const TVideoRecorder &) = delete;
    TVideoRecorder &operator=(const TVideoRecorder &) = delete;

    // Opens `file` for frames of width × height at `fps` frames per second;
    // `quick` trades file size for encoding speed.  Sizes the encoder cannot
    // take are rounded down to even numbers: frameWidth(), frameHeight() give
    // the size used and sizeNotice() says what was changed (empty when
    // nothing was).  `encoder` names an FFmpeg encoder to use instead of the
    // one the extension picks (empty: the usual one).  False with lastError()
    // when the file cannot be started; a recording already open stays open
    // (one that failed is cleared away first).
    bool start(const std::string &file, int width, int height, double fps, bool quick,
               const std::string &encoder = {});
    // Queues one frame.  A picture of another size is scaled to the frame
    // size.  False once the recording has failed (the reason in lastError())
    // or when none is open.
    bool addFrame(const QImage &image);
    // The same for tightly packed or padded RGB bytes (3 per pixel).
    bool addFrameRGB(const unsigned char *rgb, int width, int height, int bytesPerLine);
    // Encodes what is queued, closes the file and gives it its name; it
    // waits for the encoder's last frames and the file's index.  False with
    // lastError() when anything failed; the partial file is gone then.
    bool finish();
    // Stops without keeping anything: the partial file is removed.
    void cancel();

    bool isRecording() const;
    std::string lastError() const;
    std::string sizeNotice() const { return SizeNotice_; }
    int frameWidth() const { return Width_; }
    int frameHeight() const { return Height_; }
    double fps() const { return Fps_; }
    std::string fileName() const { return File_; }
    // Frames handed to the encoder so far (the worker may still hold some).
    std::int64_t framesAdded() const { return FramesAdded_; }
    // The encoder the recording uses, for example "libx264".
    std::string encoderName() const { return EncoderName_; }

    // How many frames may wait for the worker.  Two keep the worker busy
    // while the caller renders the next one.
    static constexpr std::size_t QUEUE_DEPTH = 2;

private:
    void WorkerLoop();
    void StopWorker(bool keep);
    void Fail(const std::string &message);

    mutable std::mutex Mutex_;
    std::condition_variable QueueChanged_;
    std::deque<QImage> Queue_;
    bool Closing_ = false;
    bool Cancelled_ = false;
    bool Failed_ = false;
    bool Open_ = false;
    std::string Error_;
    std::thread Worker_;
    std::unique_ptr<TVideoEncoder> Encoder_;

    std::string File_, SizeNotice_, EncoderName_;
    int Width_ = 0, Height_ = 0;
    double Fps_ = 0;
    std::int64_t FramesAdded_ = 0;
};

// True for names that record WebM/VP9 (".webm", any case).
bool IsWebMName(const std::string &file);

} // namespace kalvion
