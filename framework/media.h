#pragma once
// Pictures and sounds. Both are shared: every holder of one refers to the same
// object, and it lives as long as anyone holds it.

#include <memory>
#include <string>

namespace fw {

struct PcmData;

class Picture {
public:
    ~Picture();
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;

    int Width() const;
    int Height() const;

    // A PNG or JPEG file (any format Qt reads, judged by content); nil when the
    // file is missing or cannot be read as a picture.
    static std::shared_ptr<Picture> Load(const std::string& path);

    struct Impl;
    Impl& Native() const { return *impl_; }

private:
    explicit Picture(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

class Sound {
public:
    // Starts playing through the audio output and returns at once.
    void Play() const;

    const std::shared_ptr<const PcmData>& Data() const { return data_; }

    // An AIFF (or any libsndfile format) file; nil when it is missing or cannot
    // be decoded.
    static std::shared_ptr<Sound> Load(const std::string& path);

private:
    explicit Sound(std::shared_ptr<const PcmData> data) : data_(std::move(data)) {}
    std::shared_ptr<const PcmData> data_;
};

}  // namespace fw
