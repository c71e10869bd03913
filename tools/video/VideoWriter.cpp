#include "VideoWriter.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/log.h>
#include <libswscale/swscale.h>
}

#include <cmath>
#include <memory>

namespace orv::videowriter {

namespace {

struct Writer {
    AVFormatContext* format = nullptr;
    AVCodecContext* picture = nullptr;
    AVCodecContext* sound = nullptr;
    AVStream* pictureStream = nullptr;
    AVStream* soundStream = nullptr;
    SwsContext* scaler = nullptr;
    AVFrame* frame = av_frame_alloc();
    AVPacket* packet = av_packet_alloc();
    int64_t soundSamples = 0;
    std::string error;

    ~Writer() {
        sws_freeContext(scaler);
        avcodec_free_context(&picture);
        avcodec_free_context(&sound);
        av_frame_free(&frame);
        av_packet_free(&packet);
        if (format) {
            if (format->pb) avio_closep(&format->pb);
            avformat_free_context(format);
        }
    }

    bool fail(const std::string& why) {
        error = why;
        return false;
    }

    AVCodecContext* addStream(const std::string& name, AVStream** stream) {
        const AVCodec* codec = avcodec_find_encoder_by_name(name.c_str());
        if (!codec) return nullptr;
        *stream = avformat_new_stream(format, nullptr);
        return *stream ? avcodec_alloc_context3(codec) : nullptr;
    }

    bool openStream(AVCodecContext* context, AVStream* stream) {
        if (format->oformat->flags & AVFMT_GLOBALHEADER)
            context->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        if (avcodec_open2(context, context->codec, nullptr) < 0) return false;
        stream->time_base = context->time_base;
        return avcodec_parameters_from_context(stream->codecpar, context) >= 0;
    }

    // Sends a frame (null: the end) and writes every packet the encoder gives back.
    bool encode(AVCodecContext* context, AVStream* stream, AVFrame* input) {
        if (avcodec_send_frame(context, input) < 0) return fail("the encoder refused a frame");
        while (avcodec_receive_packet(context, packet) == 0) {
            av_packet_rescale_ts(packet, context->time_base, stream->time_base);
            packet->stream_index = stream->index;
            if (av_interleaved_write_frame(format, packet) < 0) return fail("cannot write");
        }
        return true;
    }

    // A 440 Hz tone up to the given sample.
    bool soundUntil(int64_t end) {
        const int size = sound->frame_size > 0 ? sound->frame_size : 1024;
        while (soundSamples < end) {
            av_frame_unref(frame);
            frame->format = sound->sample_fmt;
            frame->nb_samples = size;
            frame->sample_rate = sound->sample_rate;
            av_channel_layout_copy(&frame->ch_layout, &sound->ch_layout);
            if (av_frame_get_buffer(frame, 0) < 0) return fail("no memory");
            auto* samples = reinterpret_cast<int16_t*>(frame->data[0]);
            for (int i = 0; i < size; ++i)
                samples[i] = int16_t(8000 * std::sin(2 * M_PI * 440.0 * double(soundSamples + i) /
                                                     sound->sample_rate));
            frame->pts = soundSamples;
            soundSamples += size;
            if (!encode(sound, soundStream, frame)) return false;
        }
        return true;
    }

    bool picturesAndSound(const VideoPlan& plan, const DrawPicture& draw) {
        std::vector<uint8_t> rgb(size_t(plan.width) * size_t(plan.height) * 3);
        for (int i = 0; i < plan.frames; ++i) {
            if (picture) {
                draw(i, rgb);
                av_frame_unref(frame);
                frame->format = picture->pix_fmt;
                frame->width = plan.width;
                frame->height = plan.height;
                if (av_frame_get_buffer(frame, 0) < 0) return fail("no memory");
                const uint8_t* source[1] = {rgb.data()};
                const int stride[1] = {plan.width * 3};
                sws_scale(scaler, source, stride, 0, plan.height, frame->data, frame->linesize);
                frame->pts = i;
                if (!encode(picture, pictureStream, frame)) return false;
            }
            if (sound && !soundUntil(int64_t(i + 1) * plan.soundRate / plan.framesPerSecond))
                return false;
        }
        if (picture && !encode(picture, pictureStream, nullptr)) return false;
        return !sound || encode(sound, soundStream, nullptr);
    }

    bool write(const std::filesystem::path& path, const VideoPlan& plan, const DrawPicture& draw) {
        if (avformat_alloc_output_context2(&format, nullptr, "avi", path.c_str()) < 0)
            return fail("no AVI writer");
        if (!plan.codec.empty()) {
            picture = addStream(plan.codec, &pictureStream);
            if (!picture) return fail("no encoder " + plan.codec);
            picture->width = plan.width;
            picture->height = plan.height;
            picture->time_base = {1, plan.framesPerSecond};
            picture->framerate = {plan.framesPerSecond, 1};
            picture->gop_size = plan.framesPerSecond;
            picture->pix_fmt =
                picture->codec->pix_fmts ? picture->codec->pix_fmts[0] : AV_PIX_FMT_YUV420P;
            // Fine quantising, so that flat colours come back close to what was drawn.
            picture->flags |= AV_CODEC_FLAG_QSCALE;
            picture->global_quality = FF_QP2LAMBDA * 2;
            if (!openStream(picture, pictureStream)) return fail("cannot start " + plan.codec);
            scaler =
                sws_getContext(plan.width, plan.height, AV_PIX_FMT_RGB24, plan.width, plan.height,
                               picture->pix_fmt, SWS_POINT, nullptr, nullptr, nullptr);
            if (!scaler) return fail("cannot convert pictures");
        }
        if (!plan.soundCodec.empty()) {
            sound = addStream(plan.soundCodec, &soundStream);
            if (!sound) return fail("no encoder " + plan.soundCodec);
            sound->sample_fmt =
                sound->codec->sample_fmts ? sound->codec->sample_fmts[0] : AV_SAMPLE_FMT_S16;
            sound->sample_rate = plan.soundRate;
            sound->time_base = {1, plan.soundRate};
            const AVChannelLayout mono = AV_CHANNEL_LAYOUT_MONO;
            av_channel_layout_copy(&sound->ch_layout, &mono);
            if (sound->sample_fmt != AV_SAMPLE_FMT_S16) return fail("sound encoder not 16-bit");
            if (!openStream(sound, soundStream)) return fail("cannot start " + plan.soundCodec);
        }
        if (avio_open(&format->pb, path.c_str(), AVIO_FLAG_WRITE) < 0)
            return fail("cannot create " + path.string());
        if (avformat_write_header(format, nullptr) < 0) return fail("cannot write the header");
        if (!picturesAndSound(plan, draw)) return false;
        if (av_write_trailer(format) < 0) return fail("cannot finish the file");
        return true;
    }
};

} // namespace

bool writeVideo(const std::filesystem::path& path, const VideoPlan& plan, const DrawPicture& draw,
                std::string* error) {
    av_log_set_level(AV_LOG_ERROR);
    Writer writer;
    const bool ok = writer.write(path, plan, draw);
    if (!ok && error) *error = writer.error;
    return ok;
}

} // namespace orv::videowriter
