#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QCoreApplication>
#include <QMediaDevices>
#include <QTimer>

#include <algorithm>
#include <cstring>
#include <string>

#include "framework/production.h"

namespace fw::production {

namespace {

// Slack for the sound server's own latency on top of what the sink reports.
constexpr int kStopMarginMs = 100;

// The sound's frames in `to`'s layout. Sounds are short effects, so the
// nearest-sample rate change and the channel copy are good enough; an empty
// result means the layout is one we do not write.
QByteArray Convert(const PcmData& pcm, const QAudioFormat& to) {
    const int inChannels = pcm.channels;
    const int outChannels = to.channelCount();
    const qint64 inRate = pcm.sampleRate;
    const qint64 outRate = to.sampleRate();
    const int bytesPerSample = to.bytesPerSample();
    if (inChannels <= 0 || outChannels <= 0 || inRate <= 0 || outRate <= 0 || bytesPerSample <= 0)
        return {};
    const qint64 inFrames = static_cast<qint64>(pcm.samples.size()) / inChannels;
    const qint64 outFrames = inFrames * outRate / inRate;
    if (outFrames <= 0) return {};

    QByteArray out(outFrames * outChannels * bytesPerSample, Qt::Uninitialized);
    char* write = out.data();
    for (qint64 frame = 0; frame < outFrames; ++frame) {
        const qint64 source = std::min(frame * inRate / outRate, inFrames - 1);
        for (int channel = 0; channel < outChannels; ++channel) {
            // A mono sound goes to every speaker; extra source channels are dropped.
            const std::int16_t v = pcm.samples[source * inChannels + std::min(channel, inChannels - 1)];
            switch (to.sampleFormat()) {
            case QAudioFormat::UInt8: {
                const auto s = static_cast<std::uint8_t>((v >> 8) + 128);
                std::memcpy(write, &s, sizeof s);
                break;
            }
            case QAudioFormat::Int16:
                std::memcpy(write, &v, sizeof v);
                break;
            case QAudioFormat::Int32: {
                const std::int32_t s = static_cast<std::int32_t>(v) * 65536;
                std::memcpy(write, &s, sizeof s);
                break;
            }
            case QAudioFormat::Float: {
                const float s = static_cast<float>(v) / 32768.0f;
                std::memcpy(write, &s, sizeof s);
                break;
            }
            default:
                return {};
            }
            write += bytesPerSample;
        }
    }
    return out;
}

class QtAudioOutput : public AudioOutput {
public:
    // Nothing happens at construction: QtMultimedia's back end is only woken by
    // the first sound, so start-up never waits for it.
    void Play(const std::shared_ptr<const PcmData>& sound) override {
        if (!sound || sound->samples.empty() || !QCoreApplication::instance()) return;
        const QAudioDevice device = QMediaDevices::defaultAudioOutput();
        if (device.isNull()) return;
        // A device that refused once would refuse (and warn) at every sound.
        if (!failedDevice_.empty() && device.id().toStdString() == failedDevice_) return;

        QAudioFormat format;
        format.setSampleRate(sound->sampleRate);
        format.setChannelCount(sound->channels);
        format.setSampleFormat(QAudioFormat::Int16);
        if (!device.isFormatSupported(format)) format = device.preferredFormat();
        QByteArray bytes = Convert(*sound, format);
        if (bytes.isEmpty()) return;

        // Parented to the application so a sound still playing at exit is freed with it.
        auto* sink = new QAudioSink(device, format, QCoreApplication::instance());
        auto* buffer = new QBuffer(sink);
        buffer->setData(bytes);
        buffer->open(QIODevice::ReadOnly);
        // Each sound owns its sink, so sounds overlap freely. Idle only means our
        // buffer has been handed on: what the sink and the sound server still hold
        // would be cut off by an immediate stop, so the stop waits that long.
        const qint64 totalUs = format.durationForBytes(bytes.size());
        QObject::connect(sink, &QAudioSink::stateChanged, sink,
                         [sink, buffer, totalUs, format](QAudio::State state) {
            if (state == QAudio::StoppedState) {
                sink->deleteLater();
            } else if (state == QAudio::IdleState && buffer->atEnd()) {
                const qint64 unsentUs = std::max<qint64>(0, totalUs - sink->processedUSecs());
                const qint64 queuedUs = format.durationForBytes(sink->bufferSize());
                const int waitMs = static_cast<int>((unsentUs + queuedUs) / 1000) + kStopMarginMs;
                QTimer::singleShot(waitMs, sink, [sink] { sink->stop(); });
            }
        });
        sink->start(buffer);
        if (sink->error() == QAudio::OpenError || sink->error() == QAudio::FatalError) {
            failedDevice_ = device.id().toStdString();
            sink->deleteLater();
        }
    }

private:
    // Not a QByteArray: the output lives in static storage, where nothing of
    // Qt may wait for a static destructor.
    std::string failedDevice_;
};

}  // namespace

}  // namespace fw::production

// The module's one entry point, looked up by name when the first sound plays.
extern "C" __attribute__((visibility("default"))) fw::AudioOutput* corvessan_audio_output() {
    static fw::production::QtAudioOutput output;
    return &output;
}
