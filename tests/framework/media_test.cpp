#include <gtest/gtest.h>

#include <QPixmap>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "framework/media.h"
#include "framework/media_p.h"
#include "framework/seam.h"
#include "tests/doubles/doubles.h"
#include "tests/support/test_env.h"

namespace {

using corvessan_test::ReadFile;
using corvessan_test::SourceResources;
using corvessan_test::TempDir;
using corvessan_test::WriteFile;

void PutBE(std::string& out, std::uint64_t value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// A 16-bit AIFF holding `frames` frames whose samples count up from 0, so a
// test can make files of any shape without shipping them.
std::string MakeAiff(int channels, int rate, std::uint32_t frames) {
    std::string comm = "COMM";
    PutBE(comm, 18, 4);
    PutBE(comm, channels, 2);
    PutBE(comm, frames, 4);
    PutBE(comm, 16, 2);
    int exponent = 0;
    while ((rate >> (exponent + 1)) != 0) ++exponent;
    PutBE(comm, 16383 + exponent, 2);
    PutBE(comm, static_cast<std::uint64_t>(rate) << (63 - exponent), 8);

    std::string ssnd = "SSND";
    const std::uint64_t dataBytes = std::uint64_t{frames} * channels * 2;
    PutBE(ssnd, 8 + dataBytes, 4);
    PutBE(ssnd, 0, 4);
    PutBE(ssnd, 0, 4);
    for (std::uint64_t i = 0; i < std::uint64_t{frames} * channels; ++i) PutBE(ssnd, i & 0x7FFF, 2);

    std::string file = "FORM";
    PutBE(file, 4 + comm.size() + ssnd.size(), 4);
    return file + "AIFF" + comm + ssnd;
}

TEST(MediaResources, EveryCommittedFileDecodesAtItsSize) {
    // Every shipped picture and sound decodes with the framework's own loaders.
    struct Item { const char* name; bool sound; int width, height; };
    const std::vector<Item> items = {
        {"blue.png", false, 64, 64},  {"eight.png", false, 64, 64}, {"five.png", false, 64, 64},
        {"four.png", false, 64, 64},  {"green.png", false, 64, 64}, {"nine.png", false, 64, 64},
        {"red.png", false, 64, 64},   {"seven.png", false, 64, 64}, {"six.png", false, 64, 64},
        {"three.png", false, 64, 64}, {"two.png", false, 64, 64},   {"white.png", false, 64, 64},
        {"yellow.png", false, 64, 64}, {"sad.jpg", false, 64, 64},  {"star.jpg", false, 16, 16},
        {"grey.jpg", false, 16, 16},  {"Basso.aiff", true, 0, 0},   {"Ping.aiff", true, 0, 0},
        {"Purr.aiff", true, 0, 0},
    };
    fw::testing::TestSeam seam;
    for (const Item& item : items) {
        SCOPED_TRACE(item.name);
        const std::string path = (SourceResources() / item.name).string();
        if (item.sound) {
            auto sound = fw::Sound::Load(path);
            ASSERT_NE(sound, nullptr);
            // Short effects: under a second of sound, but not none.
            const fw::PcmData& pcm = *sound->Data();
            ASSERT_GT(pcm.channels, 0);
            ASSERT_GT(pcm.sampleRate, 0);
            EXPECT_GT(pcm.samples.size(), 0u);
            EXPECT_LT(pcm.samples.size() / pcm.channels, static_cast<std::size_t>(pcm.sampleRate));
            EXPECT_EQ(sound->Data()->name, item.name);
            sound->Play();
            EXPECT_EQ(seam.audio.played.back(), item.name);
        } else {
            auto picture = fw::Picture::Load(path);
            ASSERT_NE(picture, nullptr);
            EXPECT_EQ(picture->Width(), item.width);
            EXPECT_EQ(picture->Height(), item.height);
            EXPECT_EQ(picture->Native().Pixmap().size(), QSize(item.width, item.height));
        }
    }
    EXPECT_EQ(seam.audio.played.size(), 3u);
}

TEST(MediaLoad, BrokenOrForeignFilesGiveNil) {
    // Files that are missing, cut short or of the wrong kind load as nil, never throw.
    TempDir dir;
    const auto& d = dir.Path();
    const std::string png = ReadFile(SourceResources() / "red.png");
    const std::string aiff = ReadFile(SourceResources() / "Ping.aiff");
    WriteFile(d / "truncated.png", png.substr(0, 40));
    WriteFile(d / "text.png", "This is not a picture.\n");
    WriteFile(d / "empty.png", "");
    WriteFile(d / "sound.png", aiff);
    WriteFile(d / "picture.aiff", png);
    WriteFile(d / "text.aiff", "This is not a sound either.\n");
    WriteFile(d / "empty.aiff", "");
    // Ping.aiff's header ends at byte 54: every chunk is named but no sample follows.
    WriteFile(d / "header-only.aiff", aiff.substr(0, 54));

    for (const char* name : {"missing.png", "truncated.png", "text.png", "empty.png", "sound.png"}) {
        SCOPED_TRACE(name);
        std::shared_ptr<fw::Picture> picture;
        EXPECT_NO_THROW(picture = fw::Picture::Load((d / name).string()));
        EXPECT_EQ(picture, nullptr);
    }
    for (const char* name : {"missing.aiff", "picture.aiff", "text.aiff", "empty.aiff", "header-only.aiff"}) {
        SCOPED_TRACE(name);
        std::shared_ptr<fw::Sound> sound;
        EXPECT_NO_THROW(sound = fw::Sound::Load((d / name).string()));
        EXPECT_EQ(sound, nullptr);
    }
    EXPECT_EQ(fw::Picture::Load(d.string()), nullptr);
    EXPECT_EQ(fw::Sound::Load(d.string()), nullptr);
}

TEST(MediaLoad, ContentNotNameDecidesPictureFormat) {
    // A JPEG saved under a .png name still loads.
    TempDir dir;
    WriteFile(dir.Path() / "sad.png", ReadFile(SourceResources() / "sad.jpg"));
    auto picture = fw::Picture::Load((dir.Path() / "sad.png").string());
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->Width(), 64);
    EXPECT_EQ(picture->Height(), 64);
}

TEST(MediaSound, DecodesFramesAndRejectsAbsurdFiles) {
    // Samples arrive interleaved and intact; too many channels or too long a sound is refused.
    TempDir dir;
    const auto& d = dir.Path();
    WriteFile(d / "stereo.aiff", MakeAiff(2, 8000, 4000));
    WriteFile(d / "nine-channels.aiff", MakeAiff(9, 8000, 100));
    WriteFile(d / "long.aiff", MakeAiff(1, 1000, 61 * 1000));

    auto sound = fw::Sound::Load((d / "stereo.aiff").string());
    ASSERT_NE(sound, nullptr);
    const fw::PcmData& pcm = *sound->Data();
    EXPECT_EQ(pcm.sampleRate, 8000);
    EXPECT_EQ(pcm.channels, 2);
    ASSERT_EQ(pcm.samples.size(), 8000u);
    EXPECT_EQ(pcm.samples[0], 0);
    EXPECT_EQ(pcm.samples[1], 1);
    EXPECT_EQ(pcm.samples[7999], 7999);
    EXPECT_EQ(pcm.name, "stereo.aiff");

    EXPECT_EQ(fw::Sound::Load((d / "nine-channels.aiff").string()), nullptr);
    EXPECT_EQ(fw::Sound::Load((d / "long.aiff").string()), nullptr);
}

}  // namespace
