// Every media file of the bundle spoiled in turn: gone, cut short, or
// replaced by a file of another kind. The game must open and play through
// its real widgets to the game-over screen whatever happened to the file.

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <string>
#include <tuple>

#include "tests/game/game_fixture.h"

namespace {

namespace fs = std::filesystem;

struct MediaFile {
    const char* name;
    PicturePtr (*picture)();  // exactly one of picture and sound is set
    SoundPtr (*sound)();
    int score;  // a game must reach this score before the picture has shown
};

const MediaFile kMedia[] = {
    {"white.png", &white, nullptr, 2},   {"red.png", &red, nullptr, 2},       {"blue.png", &blue, nullptr, 2},
    {"green.png", &green, nullptr, 2},   {"yellow.png", &yellow, nullptr, 2}, {"two.png", &two, nullptr, 2},
    {"three.png", &three, nullptr, 8},   {"four.png", &four, nullptr, 20},    {"five.png", &five, nullptr, 36},
    {"six.png", &six, nullptr, 86},      {"seven.png", &seven, nullptr, 116}, {"eight.png", &eight, nullptr, 151},
    {"nine.png", &nine, nullptr, 191},   {"sad.jpg", &sad, nullptr, 2},
    {"star.jpg", &star, nullptr, 20},  // the first star takes a score above 19
    {"grey.jpg", &grey, nullptr, 2},     {"Basso.aiff", nullptr, &Basso, 2},  {"Ping.aiff", nullptr, &Ping, 2},
    {"Purr.aiff", nullptr, &Purr, 2},
};

struct LevelPicture {
    int score;
    PicturePtr (*picture)();
};
constexpr LevelPicture kLevelPictures[] = {{8, &three},   {20, &four},   {36, &five},  {86, &six},
                                           {116, &seven}, {151, &eight}, {191, &nine}};

enum class Fault { Missing, Truncated, OtherKind };

bool EndsWith(const std::string& s, const std::string& end) {
    return s.size() >= end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
}

// Spoils `file` in `folder`. Another kind is a JPEG for a PNG (which still
// loads: the bytes decide), a text file for a JPEG, a PNG for a sound.
void Spoil(const fs::path& folder, const std::string& file, Fault fault) {
    const fs::path path = folder / file;
    switch (fault) {
        case Fault::Missing: fs::remove(path); break;
        case Fault::Truncated: {
            const std::string bytes = corvessan_test::ReadFile(path);
            corvessan_test::WriteFile(path, bytes.substr(0, bytes.size() / 2));
            break;
        }
        case Fault::OtherKind:
            if (EndsWith(file, ".png")) corvessan_test::WriteFile(path, corvessan_test::ReadFile(folder / "sad.jpg"));
            else if (EndsWith(file, ".jpg")) corvessan_test::WriteFile(path, "Not a picture at all.\n");
            else corvessan_test::WriteFile(path, corvessan_test::ReadFile(folder / "red.png"));
            break;
    }
}

PicturePtr PictureOfLetter(char letter) {
    for (const Colour& c : kColours)
        if (*c.letter == letter) return c.picture();
    ADD_FAILURE() << "no colour " << letter;
    return nullptr;
}

// Test names (and CTest's) show the case: "(white.png, missing)".
void PrintTo(const MediaFile& file, std::ostream* out) { *out << file.name; }
void PrintTo(Fault fault, std::ostream* out) {
    *out << (fault == Fault::Missing ? "missing" : fault == Fault::Truncated ? "truncated" : "other kind");
}

using Param = std::tuple<MediaFile, Fault>;

class MediaFaultTest : public GameTest, public ::testing::WithParamInterface<Param> {
protected:
    void SetUp() override {
        // The fixture's window must already meet the spoiled folder.
        Spoil(spoiled.Resources(), File().name, std::get<1>(GetParam()));
        savedCerr = std::cerr.rdbuf(captured.rdbuf());
        GameTest::SetUp();
    }
    void TearDown() override {
        GameTest::TearDown();
        std::cerr.rdbuf(savedCerr);
    }

    const MediaFile& File() const { return std::get<0>(GetParam()); }

    // The play-back to the player's turn, checking every flash as it shows.
    void WatchPlayBack() {
        for (int guard = 0; guard < 100 && w().Timer1().Mode() != 0; ++guard) {
            const std::size_t before = w().str1.size();
            seam.clock.RunNext();
            if (w().str1.size() == before) continue;
            const int square = w().str1[w().str1.size() - 2] - '0';
            EXPECT_EQ(w().ImageWell1(square).Image(), PictureOfLetter(w().str1.back())) << "flash " << w().str1;
        }
        ASSERT_EQ(w().Timer1().Mode(), 0) << "the play-back did not end";
        EXPECT_TRUE(GridShows(white()));
    }

    // Enters `round` with the wheel and clicks, checking each chosen colour as it shows.
    void WatchAnswer(const std::string& round) {
        for (std::size_t i = 0; i + 1 < round.size(); i += 2) {
            const int square = round[i] - '0';
            Choose(square, round[i + 1]);
            EXPECT_EQ(w().ImageWell1(square).Image(), PictureOfLetter(round[i + 1])) << "wheel on " << square;
            Click(w().ImageWell1(square));
        }
    }

    corvessan_test::BundleCopy spoiled;
    fw::testing::ScopedBundle spoiledBundle{spoiled.Path()};
    std::ostringstream captured;
    std::streambuf* savedCerr = nullptr;
};

}  // namespace

// One spoiled media file never stops a game: what fails to load shows an empty square or stays silent.
TEST_P(MediaFaultTest, GamePlaysToItsEnd) {
    const MediaFile& file = File();
    const Fault fault = std::get<1>(GetParam());
    const bool loaded = file.picture ? file.picture() != nullptr : file.sound() != nullptr;
    const bool jpegAsPng = fault == Fault::OtherKind && EndsWith(file.name, ".png");
    if (fault == Fault::Missing || (fault == Fault::OtherKind && !jpegAsPng)) { EXPECT_FALSE(loaded); }
    if (jpegAsPng) { EXPECT_TRUE(loaded) << "a JPEG under a .png name is a picture all the same"; }
    if (fault == Fault::Truncated && file.sound) { EXPECT_TRUE(loaded) << "a sound cut short keeps what it has"; }

    // Every flash draws a colour then a square: the first two rounds show all four colours.
    seam.random.Queue({0, 0, 1, 4, 2, 8, 3, 6});
    fw::ImageWell* starSlots[] = {&w().ImageWell3(), &w().ImageWell4(), &w().ImageWell5(), &w().ImageWell6(),
                                  &w().ImageWell7()};
    Click(w().PushButton1());
    EXPECT_TRUE(GridShows(two()));
    for (fw::ImageWell* slot : starSlots) EXPECT_EQ(slot->Image(), grey());

    int score = 0;
    do {
        WatchPlayBack();
        if (HasFatalFailure()) return;
        WatchAnswer(CurrentRound());
        ASSERT_GT(std::stoi(w().Label2().Text()), score) << "a right round was not counted";
        score = std::stoi(w().Label2().Text());
        for (const LevelPicture& level : kLevelPictures)
            if (score == level.score) { EXPECT_TRUE(GridShows(level.picture())) << "level of " << score; }
    } while (score < file.score);

    WatchPlayBack();
    if (HasFatalFailure()) return;
    std::string wrong = CurrentRound();
    wrong.back() = wrong.back() == 'b' ? 'r' : 'b';
    WatchAnswer(wrong);

    EXPECT_TRUE(w().PushButton1().Visible());
    EXPECT_EQ(w().PushButton1().Caption(), "New Game");
    EXPECT_EQ(w().Label3().Text(), "Final Score: " + std::to_string(score));
    EXPECT_TRUE(GridShows(sad()));
    if (file.picture == &star) { EXPECT_EQ(starSlots[0]->Image(), star()); }
    // The round played every sound: each loaded one was heard, none of the others.
    for (const MediaFile& media : kMedia) {
        if (!media.sound) continue;
        const auto& played = seam.audio.played;
        EXPECT_EQ(std::count(played.begin(), played.end(), media.name) > 0, media.sound() != nullptr) << media.name;
    }

    const std::string messages = captured.str();
    EXPECT_EQ(messages.find("unhandled"), std::string::npos) << messages;
    // A silent sound is named once on standard error; a missing picture just leaves its square empty.
    if (!loaded && file.sound) {
        EXPECT_NE(messages.find(file.name), std::string::npos) << "the silent sound went unreported";
    }
}

INSTANTIATE_TEST_SUITE_P(EveryMediaFile, MediaFaultTest,
                         ::testing::Combine(::testing::ValuesIn(kMedia),
                                            ::testing::Values(Fault::Missing, Fault::Truncated, Fault::OtherKind)));
