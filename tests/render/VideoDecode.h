#pragma once
// Reads a video file back through libavformat and libavcodec: its codec,
// frame size, frame count and duration, and its first frame as RGB.
extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

#include <QImage>

#include <cmath>
#include <string>

namespace kalvion::test {

struct TDecodedVideo {
    std::string Error;  // empty when the file was read to its end
    std::string Codec;
    int Width = 0, Height = 0;
    int Frames = 0;
    double Seconds = 0;  // the container's duration
    QImage First, Last;
};

inline TDecodedVideo DecodeVideo(const std::string &file)
{
    TDecodedVideo v;
    AVFormatContext *format = nullptr;
    if (avformat_open_input(&format, file.c_str(), nullptr, nullptr) < 0) {
        v.Error = "cannot open";
        return v;
    }
    AVCodecContext *codec = nullptr;
    AVFrame *frame = av_frame_alloc();
    AVPacket *packet = av_packet_alloc();
    SwsContext *sws = nullptr;
    auto take = [&]() {
        if (!sws)
            sws = sws_getContext(frame->width, frame->height, static_cast<AVPixelFormat>(frame->format),
                                 frame->width, frame->height, AV_PIX_FMT_RGB32, SWS_BICUBIC, nullptr, nullptr,
                                 nullptr);
        QImage rgb(frame->width, frame->height, QImage::Format_RGB32);
        uint8_t *planes[1] = {rgb.bits()};
        const int strides[1] = {static_cast<int>(rgb.bytesPerLine())};
        sws_scale(sws, frame->data, frame->linesize, 0, frame->height, planes, strides);
        if (v.Frames++ == 0)
            v.First = rgb;
        v.Last = rgb;
    };
    int stream = -1;
    const AVCodec *decoder = nullptr;
    if (avformat_find_stream_info(format, nullptr) < 0 ||
        (stream = av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, &decoder, 0)) < 0) {
        v.Error = "no video stream";
    } else {
        codec = avcodec_alloc_context3(decoder);
        avcodec_parameters_to_context(codec, format->streams[stream]->codecpar);
        v.Codec = avcodec_get_name(codec->codec_id);
        v.Width = codec->width;
        v.Height = codec->height;
        if (format->duration != AV_NOPTS_VALUE)
            v.Seconds = static_cast<double>(format->duration) / AV_TIME_BASE;
        if (avcodec_open2(codec, decoder, nullptr) < 0)
            v.Error = "cannot open the decoder";
        while (v.Error.empty() && av_read_frame(format, packet) >= 0) {
            if (packet->stream_index == stream && avcodec_send_packet(codec, packet) < 0)
                v.Error = "damaged packet";
            av_packet_unref(packet);
            while (v.Error.empty() && avcodec_receive_frame(codec, frame) == 0)
                take();
        }
        if (v.Error.empty()) {
            avcodec_send_packet(codec, nullptr);
            while (avcodec_receive_frame(codec, frame) == 0)
                take();
        }
    }
    sws_freeContext(sws);
    av_packet_free(&packet);
    av_frame_free(&frame);
    avcodec_free_context(&codec);
    avformat_close_input(&format);
    return v;
}

// Peak signal-to-noise ratio of two pictures of one size over R, G and B, in
// decibels (99 for identical pictures).
inline double Psnr(const QImage &a, const QImage &b)
{
    const QImage x = a.convertToFormat(QImage::Format_RGB32), y = b.convertToFormat(QImage::Format_RGB32);
    if (x.size() != y.size() || x.isNull())
        return 0;
    double sum = 0;
    for (int row = 0; row < x.height(); ++row) {
        const QRgb *p = reinterpret_cast<const QRgb *>(x.constScanLine(row));
        const QRgb *q = reinterpret_cast<const QRgb *>(y.constScanLine(row));
        for (int col = 0; col < x.width(); ++col) {
            const int d[3] = {qRed(p[col]) - qRed(q[col]), qGreen(p[col]) - qGreen(q[col]),
                              qBlue(p[col]) - qBlue(q[col])};
            sum += d[0] * d[0] + d[1] * d[1] + d[2] * d[2];
        }
    }
    const double mse = sum / (3.0 * x.width() * x.height());
    return mse == 0 ? 99 : 10 * std::log10(255.0 * 255.0 / mse);
}

} // namespace kalvion::test
