#include "video/VideoFile.h"

#include "platform/Platform.h"
#include "video/VideoSound.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/imgutils.h>
#include <libavutil/log.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cmath>

namespace orv {

struct VideoFile::Codec {
    template <class T, void (*Free)(T**)> struct Freer {
        void operator()(T* p) const { Free(&p); }
    };
    static void closeInput(AVFormatContext** c) { avformat_close_input(c); }

    std::unique_ptr<AVFormatContext, Freer<AVFormatContext, closeInput>> format;
    std::unique_ptr<AVCodecContext, Freer<AVCodecContext, avcodec_free_context>> picture;
    std::unique_ptr<AVCodecContext, Freer<AVCodecContext, avcodec_free_context>> audio;
    std::unique_ptr<AVPacket, Freer<AVPacket, av_packet_free>> packet{av_packet_alloc()};
    std::unique_ptr<AVFrame, Freer<AVFrame, av_frame_free>> frame{av_frame_alloc()};
    SwsContext* scaler = nullptr;
    SwrContext* resampler = nullptr;
    int pictureStream = -1;
    int audioStream = -1;
    AVRational timeBase{1, 1000};
    int64_t startPts = AV_NOPTS_VALUE;
    int64_t nextMs = 0; // for frames without a time stamp
    std::vector<float> converted;

    ~Codec() {
        sws_freeContext(scaler);
        swr_free(&resampler);
    }
};

VideoFile::VideoFile() : codec_(std::make_unique<Codec>()) {}
VideoFile::~VideoFile() = default;

namespace {

AVCodecContext* openDecoder(AVStream* stream) {
    const AVCodec* decoder = avcodec_find_decoder(stream->codecpar->codec_id);
    if (!decoder) return nullptr;
    AVCodecContext* context = avcodec_alloc_context3(decoder);
    if (!context) return nullptr;
    // One decoding thread: the engine's own decoder thread already runs beside the game.
    context->thread_count = 1;
    if (avcodec_parameters_to_context(context, stream->codecpar) < 0 ||
        avcodec_open2(context, decoder, nullptr) < 0) {
        avcodec_free_context(&context);
        return nullptr;
    }
    return context;
}

} // namespace

std::unique_ptr<VideoFile> VideoFile::open(const std::filesystem::path& path, int soundRate,
                                           VideoOpenError* error) {
    auto fail = [&](VideoOpenError why) {
        if (error) *error = why;
        return nullptr;
    };
    // The libraries' own remarks (guessed durations, slow conversions) are not the player's.
    av_log_set_level(AV_LOG_QUIET);
    std::unique_ptr<VideoFile> video(new VideoFile());
    Codec& c = *video->codec_;
    AVFormatContext* format = nullptr;
    // Named as a file outright: a folder called "x:" must not pass for a network protocol.
    const std::string url = "file:" + path.string();
    if (avformat_open_input(&format, url.c_str(), nullptr, nullptr) < 0)
        return fail(VideoOpenError::CannotOpen);
    c.format.reset(format);
    if (avformat_find_stream_info(format, nullptr) < 0) return fail(VideoOpenError::CannotOpen);
    c.pictureStream = av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (c.pictureStream < 0) return fail(VideoOpenError::NoPicture);
    AVStream* stream = format->streams[c.pictureStream];
    c.picture.reset(openDecoder(stream));
    if (!c.picture) return fail(VideoOpenError::CannotOpen);
    c.timeBase = stream->time_base;
    const AVRational rate = av_guess_frame_rate(format, stream, nullptr);
    if (rate.num > 0 && rate.den > 0)
        video->frameMs_ =
            std::clamp<int64_t>(int64_t(std::lround(1000.0 * rate.den / rate.num)), 1, 1000);
    // A stream whose size or pixel layout could not be learnt was never decoded: a broken file.
    if (c.picture->width <= 0 || c.picture->height <= 0 || c.picture->pix_fmt == AV_PIX_FMT_NONE)
        return fail(VideoOpenError::CannotOpen);
    if (!sws_isSupportedInput(c.picture->pix_fmt)) return fail(VideoOpenError::CannotScale);
    c.scaler = sws_getContext(c.picture->width, c.picture->height, c.picture->pix_fmt, kScreenWidth,
                              kScreenHeight, AV_PIX_FMT_BGR24, SWS_FAST_BILINEAR, nullptr, nullptr,
                              nullptr);
    if (!c.scaler) return fail(VideoOpenError::CannotScale);

    if (soundRate > 0) {
        const int audio =
            av_find_best_stream(format, AVMEDIA_TYPE_AUDIO, -1, c.pictureStream, nullptr, 0);
        AVCodecContext* decoder = audio >= 0 ? openDecoder(format->streams[audio]) : nullptr;
        if (decoder) {
            c.audio.reset(decoder);
            c.audioStream = audio;
            AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;
            AVChannelLayout in{};
            if (decoder->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC ||
                av_channel_layout_copy(&in, &decoder->ch_layout) < 0)
                av_channel_layout_default(&in, std::max(decoder->ch_layout.nb_channels, 1));
            const int made =
                swr_alloc_set_opts2(&c.resampler, &stereo, AV_SAMPLE_FMT_FLT, soundRate, &in,
                                    decoder->sample_fmt, decoder->sample_rate, 0, nullptr);
            const int inChannels = in.nb_channels;
            av_channel_layout_uninit(&in);
            // A mono track goes to both sides at its own level (not lowered as a centre speaker
            // mixed into two would be).
            const double bothSides[2] = {1.0, 1.0};
            if (made >= 0 && inChannels == 1) swr_set_matrix(c.resampler, bothSides, 1);
            // A sound that cannot be converted leaves the pictures to play alone.
            if (made < 0 || swr_init(c.resampler) < 0) {
                swr_free(&c.resampler);
                c.audio.reset();
                c.audioStream = -1;
            } else {
                video->sound_ = std::make_shared<VideoSoundQueue>(soundRate);
            }
        }
    }
    for (unsigned i = 0; i < format->nb_streams; ++i)
        if (int(i) != c.pictureStream && int(i) != c.audioStream)
            format->streams[i]->discard = AVDISCARD_ALL;
    if (error) *error = VideoOpenError::None;
    return video;
}

void VideoFile::finish() {
    ended_ = true;
    if (sound_) sound_->finish();
}

// Sound frames waiting in the sound decoder, converted onto the queue.
void VideoFile::decodeSound() {
    Codec& c = *codec_;
    AVFrame* frame = c.frame.get();
    while (avcodec_receive_frame(c.audio.get(), frame) == 0) {
        const int out = swr_get_out_samples(c.resampler, frame->nb_samples);
        if (out > 0) {
            c.converted.resize(size_t(out) * 2);
            auto* target = reinterpret_cast<uint8_t*>(c.converted.data());
            const int got =
                swr_convert(c.resampler, &target, out,
                            const_cast<const uint8_t**>(frame->extended_data), frame->nb_samples);
            if (got > 0) sound_->append(c.converted.data(), size_t(got));
        }
        av_frame_unref(frame);
    }
}

bool VideoFile::decodePicture(VideoPicture& out) {
    Codec& c = *codec_;
    AVFrame* frame = c.frame.get();
    if (avcodec_receive_frame(c.picture.get(), frame) != 0) return false;
    int64_t pts = frame->best_effort_timestamp;
    if (pts != AV_NOPTS_VALUE && c.startPts == AV_NOPTS_VALUE) c.startPts = pts;
    const int64_t ms = pts == AV_NOPTS_VALUE
                           ? c.nextMs
                           : av_rescale_q(pts - c.startPts, c.timeBase, AVRational{1, 1000});
    c.nextMs = ms + frameMs_;
    out.ms = ms;
    const size_t stride = size_t(kScreenWidth) * 3;
    out.pixels.resize(stride * kScreenHeight);
    // The window's rows run bottom-up: start at the last row and step backwards.
    uint8_t* planes[4] = {out.pixels.data() + stride * (kScreenHeight - 1), nullptr, nullptr,
                          nullptr};
    int strides[4] = {-int(stride), 0, 0, 0};
    // A stream whose frame size changes midway gets a scaler for the new size.
    const bool usable =
        frame->width > 0 && frame->height > 0 && sws_isSupportedInput(AVPixelFormat(frame->format));
    if (usable)
        c.scaler = sws_getCachedContext(
            c.scaler, frame->width, frame->height, AVPixelFormat(frame->format), kScreenWidth,
            kScreenHeight, AV_PIX_FMT_BGR24, SWS_FAST_BILINEAR, nullptr, nullptr, nullptr);
    const bool scaled =
        usable && c.scaler &&
        sws_scale(c.scaler, frame->data, frame->linesize, 0, frame->height, planes, strides) > 0;
    av_frame_unref(frame);
    if (!scaled) std::fill(out.pixels.begin(), out.pixels.end(), uint8_t{0});
    return true;
}

bool VideoFile::nextPicture(VideoPicture& out) {
    Codec& c = *codec_;
    if (ended_) return false;
    for (;;) {
        if (decodePicture(out)) return true;
        if (draining_) {
            finish();
            return false;
        }
        AVPacket* packet = c.packet.get();
        if (av_read_frame(c.format.get(), packet) < 0) {
            // The end (or an unreadable rest): what the decoders still hold comes out.
            draining_ = true;
            avcodec_send_packet(c.picture.get(), nullptr);
            if (c.audio) {
                avcodec_send_packet(c.audio.get(), nullptr);
                decodeSound();
            }
            continue;
        }
        if (packet->stream_index == c.pictureStream) {
            // A damaged packet is skipped; the decoder carries on with the next.
            avcodec_send_packet(c.picture.get(), packet);
        } else if (packet->stream_index == c.audioStream) {
            if (avcodec_send_packet(c.audio.get(), packet) == 0) decodeSound();
        }
        av_packet_unref(packet);
    }
}

} // namespace orv
