// The picture and sound accessors: each file is read until it has loaded once,
// a sound is tried once per run, and every caller gets the one cached object.

#include <filesystem>
#include <memory>

#include "tests/game/game_fixture.h"

namespace fs = std::filesystem;

namespace {

// The shipped media copied to a bundle the test may spoil, installed as the
// program's bundle for the test's lifetime.
struct ResourcesCopy {
    fs::path operator/(const char* file) const { return bundle.Resources() / file; }
    void Hide(const char* file) const { fs::rename(*this / file, stash.Path() / file); }
    void Restore(const char* file) const { fs::rename(stash.Path() / file, *this / file); }

    corvessan_test::BundleCopy bundle;
    corvessan_test::TempDir stash;
    fw::testing::ScopedBundle installed{bundle.Path()};
};

class MediaAccessorsTest : public ::testing::Test {
protected:
    void SetUp() override { ResetMediaCaches(); }
    void TearDown() override { ResetMediaCaches(); }

    fw::testing::TestSeam seam;
    ResourcesCopy media;
};

class MediaInPlayTest : public GameTest {};

}  // namespace

// A loaded picture is the same object at every call and its file is never read again.
TEST_F(MediaAccessorsTest, PictureLoadsOnceAndIsShared) {
    const PicturePtr first = white();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(white(), first);
    fs::remove(media / "white.png");
    EXPECT_EQ(white(), first);
    // The cache, not the file, is what answered: a fresh run now finds nothing.
    ResetMediaCaches();
    EXPECT_EQ(white(), nullptr);
}

// A picture that cannot be loaded is tried again at every call until it loads, then kept.
TEST_F(MediaAccessorsTest, MissingPictureLoadsOnceItAppears) {
    media.Hide("star.jpg");
    EXPECT_EQ(star(), nullptr);
    EXPECT_EQ(star(), nullptr);
    // A file that is not a picture counts as missing.
    corvessan_test::WriteFile(media / "star.jpg", "not a picture");
    EXPECT_EQ(star(), nullptr);
    fs::remove(media / "star.jpg");
    media.Restore("star.jpg");
    const PicturePtr loaded = star();
    ASSERT_NE(loaded, nullptr);
    fs::remove(media / "star.jpg");
    EXPECT_EQ(star(), loaded);
}

// A sound is tried once per run: missing at its first call, it stays nil after the file appears.
TEST_F(MediaAccessorsTest, SoundIsTriedOnlyOnce) {
    media.Hide("Ping.aiff");
    EXPECT_EQ(Ping(), nullptr);
    media.Restore("Ping.aiff");
    EXPECT_EQ(Ping(), nullptr);

    const SoundPtr basso = Basso();
    ASSERT_NE(basso, nullptr);
    fs::remove(media / "Basso.aiff");
    EXPECT_EQ(Basso(), basso);

    // Releasing at the stop lets the cached sounds go: no one else holds them.
    const std::weak_ptr<fw::Sound> held = basso;
    const std::weak_ptr<fw::Sound> purr = Purr();
    ASSERT_FALSE(purr.expired());
    ReleaseSounds();
    EXPECT_EQ(Basso(), nullptr);
    EXPECT_EQ(Purr(), nullptr);
    EXPECT_FALSE(held.expired());  // the test's own reference still holds it
    EXPECT_TRUE(purr.expired());
}

// Every picture has the size of the place it is shown in: squares 64x64, star slots 16x16.
TEST_F(MediaAccessorsTest, PicturesHaveTheirSizes) {
    const struct {
        PicturePtr (*accessor)();
        int size;
    } kPictures[] = {{white, 64}, {red, 64},   {blue, 64},  {green, 64}, {yellow, 64}, {two, 64},
                     {three, 64}, {four, 64},  {five, 64},  {six, 64},   {seven, 64},  {eight, 64},
                     {nine, 64},  {sad, 64},   {star, 16},  {grey, 16}};
    for (std::size_t i = 0; i < std::size(kPictures); ++i) {
        const PicturePtr p = kPictures[i].accessor();
        ASSERT_NE(p, nullptr) << "picture " << i;
        EXPECT_EQ(p->Width(), kPictures[i].size) << "picture " << i;
        EXPECT_EQ(p->Height(), kPictures[i].size) << "picture " << i;
    }
}

// In "silent" the sound tests fetch no sound: a sound first asked for later still loads.
TEST_F(MediaInPlayTest, SilentSoundTestsTouchNoSoundFile) {
    ResourcesCopy media;
    for (const char* sound : {"Purr.aiff", "Ping.aiff", "Basso.aiff"}) media.Hide(sound);
    ClickRadio(w().RadioButton2());
    SelectPage(1);
    for (fw::PushButton* b : {&w().PushButton4(), &w().PushButton5(), &w().PushButton6()}) Click(*b);
    EXPECT_TRUE(seam.audio.played.empty());

    for (const char* sound : {"Purr.aiff", "Ping.aiff", "Basso.aiff"}) media.Restore(sound);
    SelectPage(0);
    ClickRadio(w().RadioButton1());
    SelectPage(1);
    for (fw::PushButton* b : {&w().PushButton4(), &w().PushButton5(), &w().PushButton6()}) Click(*b);
    EXPECT_EQ(seam.audio.played, (std::vector<std::string>{"Purr.aiff", "Ping.aiff", "Basso.aiff"}));
}
