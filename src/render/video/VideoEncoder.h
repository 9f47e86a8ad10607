#pragma once
// TVideoEncoder: one video file written through FFmpeg's libraries, used by
// the recorder's worker thread only.  It owns the codec, the muxer and the
// scaler, writes to a scratch name beside the target and renames it at the
// end; every failure is a false result with a message, never an exception.
#include <QImage>

#include <cstdint>
#include <string>
#include <vector>

struct AVCodecContext;
struct AVFormatContext;
struct AVFrame;
struct AVPacket;
struct AVStream;
struct SwsContext;

namespace kalvion {

struct TVideoFormat {
    int Width = 0, Height = 0;
    double Fps = 10;
    bool Quick = false;
    bool WebM = false;
    std::string Encoder;  // empty: the usual one for the container
};

class TVideoEncoder {
public:
    TVideoEncoder() = default;
    ~TVideoEncoder();
    TVideoEncoder(const TVideoEncoder &) = delete;
    TVideoEncoder &operator=(const TVideoEncoder &) = delete;

    // Finds and opens the codec, then makes the scratch file and writes the
    // container header.  On failure nothing is left on disk.
    bool Open(const std::string &target, const TVideoFormat &format);
    bool Encode(const QImage &image);
    // Drains the codec, writes the trailer, closes and renames.
    bool Finish();
    // Closes without keeping anything.
    void Abandon();

    std::string CodecName() const { return CodecName_; }
    const std::string &Error() const { return Error_; }

private:
    bool Fail(const std::string &what, int averror);
    bool Drain();
    void Release();
    void RemoveScratch();

    AVFormatContext *Format_ = nullptr;
    AVCodecContext *Codec_ = nullptr;
    AVStream *Stream_ = nullptr;
    AVFrame *Frame_ = nullptr;
    AVPacket *Packet_ = nullptr;
    SwsContext *Scaler_ = nullptr;
    bool HeaderWritten_ = false;
    std::int64_t NextPts_ = 0;
    std::string Target_, Scratch_, CodecName_, Error_;
    std::vector<unsigned char> Padded_;
};

} // namespace kalvion
