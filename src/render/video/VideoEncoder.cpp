#include "render/video/VideoEncoder.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libavutil/log.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace kalvion {

namespace {

std::string AvErrorText(int averror)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(averror, text, sizeof text);
    return text;
}

// The picture's bytes as the scaler reads them; other layouts are converted.
AVPixelFormat SourceFormat(const QImage &image)
{
    switch (image.format()) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
        return AV_PIX_FMT_RGB32;  // 0xAARRGGBB words in the machine's byte order
    case QImage::Format_RGB888:
        return AV_PIX_FMT_RGB24;
    case QImage::Format_RGBX8888:
    case QImage::Format_RGBA8888:
        return AV_PIX_FMT_RGBA;
    default:
        return AV_PIX_FMT_NONE;
    }
}

// A unique name beside the target, created exclusively so that nothing
// planted there is written through; FFmpeg then reopens it by name.
bool MakeScratchName(const std::string &target, std::string &scratch, std::string &error)
{
    std::vector<char> name(target.begin(), target.end());
    const char suffix[] = ".XXXXXX.part";
    name.insert(name.end(), suffix, suffix + sizeof suffix);  // with the terminating zero
    const int fd = ::mkstemps(name.data(), 5);
    if (fd < 0) {
        error = std::strerror(errno);
        return false;
    }
    ::fchmod(fd, 0644);
    ::close(fd);
    scratch.assign(name.data());
    return true;
}

} // namespace

TVideoEncoder::~TVideoEncoder() { Abandon(); }

bool TVideoEncoder::Fail(const std::string &what, int averror)
{
    Error_ = averror == 0 ? what : what + ": " + AvErrorText(averror);
    Abandon();
    return false;
}

bool TVideoEncoder::Open(const std::string &target, const TVideoFormat &format)
{
    // The libraries' progress notes would clutter the console; failures come
    // back through Error().  A host that chose a level of its own keeps it.
    static std::once_flag quiet;
    std::call_once(quiet, [] {
        if (av_log_get_level() == AV_LOG_INFO)
            av_log_set_level(AV_LOG_ERROR);
    });
    Abandon();
    Error_.clear();
    Target_ = target;
    NextPts_ = 0;

    const AVCodec *codec = nullptr;
    if (!format.Encoder.empty()) {
        codec = avcodec_find_encoder_by_name(format.Encoder.c_str());
        if (!codec || !av_codec_is_encoder(codec))
            return Fail("The video encoder \"" + format.Encoder + "\" is not available", 0);
    } else if (format.WebM) {
        codec = avcodec_find_encoder_by_name("libvpx-vp9");
        if (!codec)
            codec = avcodec_find_encoder(AV_CODEC_ID_VP9);
        if (!codec)
            return Fail("No VP9 video encoder is available for WebM files", 0);
    } else {
        codec = avcodec_find_encoder_by_name("libx264");
        if (!codec)
            codec = avcodec_find_encoder(AV_CODEC_ID_H264);
        if (!codec)
            return Fail("No H.264 video encoder is available for MP4 files", 0);
    }
    CodecName_ = codec->name;

    int ret = avformat_alloc_output_context2(&Format_, nullptr, format.WebM ? "webm" : "mp4", nullptr);
    if (ret < 0 || !Format_)
        return Fail("Cannot prepare the video container", ret);
    if (avformat_query_codec(Format_->oformat, codec->id, FF_COMPLIANCE_NORMAL) != 1)
        return Fail(std::string("The encoder \"") + codec->name + "\" cannot write " +
                        (format.WebM ? "WebM" : "MP4") + " files",
                    0);

    Codec_ = avcodec_alloc_context3(codec);
    if (!Codec_)
        return Fail("Out of memory for the video encoder", AVERROR(ENOMEM));
    const AVRational rate = av_d2q(format.Fps, 100000);
    Codec_->width = format.Width;
    Codec_->height = format.Height;
    Codec_->framerate = rate;
    Codec_->time_base = av_inv_q(rate);
    Codec_->pix_fmt = AV_PIX_FMT_YUV420P;
    Codec_->sample_aspect_ratio = AVRational{1, 1};
    // The scaler turns RGB into YUV with the BT.601 matrix in video range;
    // the stream says so, so players turn it back the same way.
    Codec_->colorspace = AVCOL_SPC_SMPTE170M;
    Codec_->color_primaries = AVCOL_PRI_SMPTE170M;
    Codec_->color_trc = AVCOL_TRC_SMPTE170M;
    Codec_->color_range = AVCOL_RANGE_MPEG;
    // A key frame every two seconds keeps seeking quick in players.
    Codec_->gop_size = std::max(1, static_cast<int>(2 * format.Fps));
    // One encoder thread: with several, x264 made a different file now and
    // then from the same frames, and a recording should be repeatable.  The
    // encoder already runs beside the renderer on a thread of its own.
    Codec_->thread_count = 1;
    if (Format_->oformat->flags & AVFMT_GLOBALHEADER)
        Codec_->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;

    AVDictionary *options = nullptr;
    if (CodecName_ == "libx264") {
        av_dict_set(&options, "preset", format.Quick ? "ultrafast" : "veryfast", 0);
        av_dict_set(&options, "crf", "20", 0);
    } else if (CodecName_ == "libvpx-vp9") {
        av_dict_set(&options, "deadline", format.Quick ? "realtime" : "good", 0);
        av_dict_set(&options, "cpu-used", format.Quick ? "8" : "5", 0);
        av_dict_set(&options, "crf", "32", 0);
        av_dict_set(&options, "b", "0", 0);
        av_dict_set(&options, "row-mt", "1", 0);
    } else if (Codec_->bit_rate == 0 || Codec_->bit_rate == 200000) {
        // Encoders without a quality scale get a rate that suits the size.
        Codec_->bit_rate = static_cast<std::int64_t>(format.Width) * format.Height * 4;
    }
    ret = avcodec_open2(Codec_, codec, &options);
    av_dict_free(&options);
    if (ret < 0)
        return Fail(std::string("Cannot start the video encoder \"") + codec->name + "\"", ret);

    Stream_ = avformat_new_stream(Format_, nullptr);
    if (!Stream_)
        return Fail("Out of memory for the video stream", AVERROR(ENOMEM));
    Stream_->time_base = Codec_->time_base;
    Stream_->avg_frame_rate = rate;
    ret = avcodec_parameters_from_context(Stream_->codecpar, Codec_);
    if (ret < 0)
        return Fail("Cannot describe the video stream", ret);

    Frame_ = av_frame_alloc();
    Packet_ = av_packet_alloc();
    if (!Frame_ || !Packet_)
        return Fail("Out of memory for video frames", AVERROR(ENOMEM));
    Frame_->format = Codec_->pix_fmt;
    Frame_->width = Codec_->width;
    Frame_->height = Codec_->height;
    ret = av_frame_get_buffer(Frame_, 0);
    if (ret < 0)
        return Fail("Out of memory for video frames", ret);

    std::string why;
    if (!MakeScratchName(Target_, Scratch_, why))
        return Fail("Cannot write the video file \"" + Target_ + "\": " + why, 0);
    // The MP4 muxer reopens the file by this name to move its index to the front.
    av_freep(&Format_->url);
    Format_->url = av_strdup(Scratch_.c_str());
    ret = avio_open(&Format_->pb, Scratch_.c_str(), AVIO_FLAG_WRITE);
    if (ret < 0)
        return Fail("Cannot write the video file \"" + Target_ + "\"", ret);
    AVDictionary *muxOptions = nullptr;
    if (!format.WebM)
        av_dict_set(&muxOptions, "movflags", "+faststart", 0);  // playable while it downloads
    ret = avformat_write_header(Format_, &muxOptions);
    av_dict_free(&muxOptions);
    if (ret < 0)
        return Fail("Cannot write the video file \"" + Target_ + "\"", ret);
    HeaderWritten_ = true;
    return true;
}

bool TVideoEncoder::Encode(const QImage &picture)
{
    if (!Codec_)
        return false;
    QImage image = picture;
    AVPixelFormat source = SourceFormat(image);
    if (source == AV_PIX_FMT_NONE) {
        image = picture.convertToFormat(QImage::Format_RGB32);
        source = AV_PIX_FMT_RGB32;
    }
    if (image.isNull())
        return Fail("A video frame could not be converted", 0);
    Scaler_ = sws_getCachedContext(Scaler_, image.width(), image.height(), source, Codec_->width, Codec_->height,
                                   Codec_->pix_fmt, SWS_BICUBIC, nullptr, nullptr, nullptr);
    if (!Scaler_)
        return Fail("Cannot convert the frames for the video encoder", 0);
    int ret = av_frame_make_writable(Frame_);
    if (ret < 0)
        return Fail("Out of memory for video frames", ret);
    const uint8_t *planes[1] = {nullptr};
    int strides[1] = {0};
    // The scaler's vector code reads up to a few dozen bytes past the end of
    // the picture (for three-byte pixels, for widths that are not a multiple
    // of 16, when it resizes).  The rows are copied into a buffer with room
    // to spare: a copy costs far less than encoding the frame.
    {
        const std::size_t row = static_cast<std::size_t>(image.width()) * static_cast<std::size_t>(image.depth() / 8);
        const std::size_t stride = (row + 64 + 63) / 64 * 64;
        Padded_.resize(stride * static_cast<std::size_t>(image.height() + 1));
        for (int y = 0; y < image.height(); ++y)
            std::memcpy(&Padded_[stride * static_cast<std::size_t>(y)], image.constScanLine(y), row);
        planes[0] = Padded_.data();
        strides[0] = static_cast<int>(stride);
    }
    sws_scale(Scaler_, planes, strides, 0, image.height(), Frame_->data, Frame_->linesize);
    Frame_->pts = NextPts_++;
    ret = avcodec_send_frame(Codec_, Frame_);
    if (ret < 0)
        return Fail("The video encoder refused a frame", ret);
    return Drain();
}

bool TVideoEncoder::Drain()
{
    for (;;) {
        int ret = avcodec_receive_packet(Codec_, Packet_);
        if (ret == AVERROR(EAGAIN) || ret == AVERROR_EOF)
            return true;
        if (ret < 0)
            return Fail("The video encoder failed", ret);
        av_packet_rescale_ts(Packet_, Codec_->time_base, Stream_->time_base);
        Packet_->stream_index = Stream_->index;
        ret = av_interleaved_write_frame(Format_, Packet_);  // takes the packet's data
        if (ret < 0 || Format_->pb->error < 0)
            return Fail("Cannot write the video file \"" + Target_ + "\"", ret < 0 ? ret : Format_->pb->error);
    }
}

bool TVideoEncoder::Finish()
{
    if (!Codec_)
        return false;
    int ret = avcodec_send_frame(Codec_, nullptr);
    if (ret < 0 && ret != AVERROR_EOF)
        return Fail("The video encoder failed", ret);
    if (!Drain())
        return false;
    ret = av_write_trailer(Format_);
    HeaderWritten_ = false;
    if (ret >= 0 && Format_->pb->error < 0)
        ret = Format_->pb->error;
    const int closed = avio_closep(&Format_->pb);
    if (ret >= 0)
        ret = closed;
    if (ret < 0)
        return Fail("Cannot write the video file \"" + Target_ + "\"", ret);
    std::error_code ec;
    std::filesystem::rename(Scratch_, Target_, ec);
    if (ec)
        return Fail("Cannot write the video file \"" + Target_ + "\": " + ec.message(), 0);
    Scratch_.clear();
    Release();
    return true;
}

void TVideoEncoder::Abandon()
{
    // Freeing the muxer without its trailer leaves the file incomplete, and
    // the file goes anyway.
    HeaderWritten_ = false;
    Release();
    RemoveScratch();
}

void TVideoEncoder::RemoveScratch()
{
    if (Scratch_.empty())
        return;
    std::error_code ec;
    std::filesystem::remove(Scratch_, ec);
    Scratch_.clear();
}

void TVideoEncoder::Release()
{
    sws_freeContext(Scaler_);
    Scaler_ = nullptr;
    av_packet_free(&Packet_);
    av_frame_free(&Frame_);
    avcodec_free_context(&Codec_);
    if (Format_) {
        avio_closep(&Format_->pb);
        avformat_free_context(Format_);
        Format_ = nullptr;
    }
    Stream_ = nullptr;
}

} // namespace kalvion
