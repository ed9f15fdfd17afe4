#include "framework/media.h"

#include <QFile>
#include <QImageReader>

#include <sndfile.h>

#include <filesystem>

#include "framework/media_p.h"
#include "framework/seam.h"

namespace fw {

namespace {
// Our sounds are clicks and chimes; anything far beyond this is not one of
// them, and decoding it whole would only cost memory.
constexpr double kMaxSoundSeconds = 60.0;
constexpr int kMaxChannels = 8;
constexpr int kMaxSampleRate = 384000;
}  // namespace

const QPixmap& Picture::Impl::Pixmap() const {
    if (pixmap.isNull() && !image.isNull()) pixmap = QPixmap::fromImage(image);
    return pixmap;
}

Picture::Picture(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
Picture::~Picture() = default;

int Picture::Width() const { return impl_->image.width(); }
int Picture::Height() const { return impl_->image.height(); }

std::shared_ptr<Picture> Picture::Load(const std::string& path) {
    // The file name's suffix may lie (a JPEG saved as .png); the bytes decide.
    QImageReader reader(QFile::decodeName(path.c_str()));
    reader.setDecideFormatFromContent(true);
    QImage image;
    if (!reader.read(&image) || image.isNull()) return nullptr;
    // Converting once here keeps every later paint free of per-draw conversions.
    const QImage::Format want =
        image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
    if (image.format() != want) image = image.convertToFormat(want);
    if (image.isNull()) return nullptr;
    auto impl = std::make_unique<Impl>();
    impl->image = std::move(image);
    return std::shared_ptr<Picture>(new Picture(std::move(impl)));
}

void Sound::Play() const { CurrentSeam().audio->Play(data_); }

std::shared_ptr<Sound> Sound::Load(const std::string& path) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (!file) return nullptr;
    struct Closer {
        SNDFILE* f;
        ~Closer() { sf_close(f); }
    } closer{file};

    // The header's claims are checked before any memory is sized from them.
    if (info.channels <= 0 || info.channels > kMaxChannels) return nullptr;
    if (info.samplerate <= 0 || info.samplerate > kMaxSampleRate) return nullptr;
    if (info.frames <= 0) return nullptr;
    if (static_cast<double>(info.frames) / info.samplerate > kMaxSoundSeconds) return nullptr;

    auto pcm = std::make_shared<PcmData>();
    pcm->sampleRate = info.samplerate;
    pcm->channels = info.channels;
    pcm->samples.resize(static_cast<std::size_t>(info.frames) * info.channels);
    const sf_count_t got = sf_readf_short(file, pcm->samples.data(), info.frames);
    // A file cut short keeps what it has; one with no sound at all is no sound.
    if (got <= 0) return nullptr;
    pcm->samples.resize(static_cast<std::size_t>(got) * info.channels);
    pcm->name = std::filesystem::path(path).filename().string();
    return std::shared_ptr<Sound>(new Sound(std::move(pcm)));
}

}  // namespace fw
