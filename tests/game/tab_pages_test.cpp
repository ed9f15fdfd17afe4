// The tab pages: the practice square, the sound tests and the links, all of
// which act beside the game and never on it.

#include <QImage>

#include <string>
#include <vector>

#include "tests/game/game_fixture.h"

namespace {

class TabPagesTest : public GameTest {
protected:
    fw::ImageWell& Practice() { return w().ImageWell2(); }

    // What the practice square reports when clicked.
    std::string Reported() {
        const std::size_t before = seam.dialogs.messages.size();
        Click(Practice());
        EXPECT_EQ(seam.dialogs.messages.size(), before + 1);
        return seam.dialogs.messages.empty() ? "" : seam.dialogs.messages.back();
    }

    void PressSoundTests() {
        for (fw::PushButton* b : {&w().PushButton4(), &w().PushButton5(), &w().PushButton6()}) Click(*b);
    }

    // Everything of the game that a tab page must leave alone.
    std::string GameState() {
        std::string s = w().str1 + "/" + w().str2 + "/" + w().color1 + "/" + std::to_string(w().jj) + "/" +
                        std::to_string(w().kk) + "/" + std::to_string(w().numb2) + "/" + std::to_string(w().last) +
                        "/" + w().Label2().Text() + "/" + w().Label26().Text() + "/" +
                        std::to_string(w().Timer1().Mode()) + std::to_string(w().Timer2().Mode());
        for (int i = 0; i <= 8; ++i) s += w().ImageWell1(i).Image() == white() ? 'w' : 'c';
        for (int i = 0; i <= 8; ++i) s += w().ImageWell1(i).Enabled() ? 'e' : 'd';
        return s;
    }
};

}  // namespace

// A click reports the colour last chosen with the wheel: down blue, up red, left yellow, right green.
TEST_F(TabPagesTest, PracticeSquareReportsLastWheelChoice) {
    SelectPage(1);
    ASSERT_TRUE(Practice().NativeWidget()->isVisible());
    EXPECT_EQ(Reported(), "You chose ");
    EXPECT_EQ(Practice().Image(), nullptr);

    WheelDown(Practice());
    EXPECT_EQ(Practice().Image(), blue());
    EXPECT_EQ(Reported(), "You chose blue");
    WheelLeft(Practice());
    EXPECT_EQ(Practice().Image(), yellow());
    EXPECT_EQ(Reported(), "You chose yellow");
    WheelRight(Practice());
    EXPECT_EQ(Reported(), "You chose green");

    // Down and right in one event: the vertical turn wins.
    Wheel(Practice(), -120, -120);
    EXPECT_EQ(Practice().Image(), blue());
    EXPECT_EQ(w().color2, "blue");
    // No turn at all changes nothing.
    Wheel(Practice(), 0, 0);
    EXPECT_EQ(Practice().Image(), blue());
    EXPECT_EQ(Reported(), "You chose blue");

    // Leaving blanks the square but the choice stands.
    WheelUp(Practice());
    Leave(Practice());
    EXPECT_EQ(Practice().Image(), white());
    Enter(Practice());
    EXPECT_EQ(Reported(), "You chose red");
}

// At opening the practice square holds no picture, yet the player can see where it is on "Instructions".
TEST_F(TabPagesTest, EmptyPracticeSquareIsVisible) {
    SelectPage(1);
    ASSERT_EQ(Practice().Image(), nullptr);
    const QImage page = w().ContentWidget()->grab().toImage();
    const QRect square(Practice().Left(), Practice().Top(), Practice().Width(), Practice().Height());
    // The page's own colour, just left of the square.
    const QColor background = page.pixelColor(square.left() - 3, square.center().y());
    int differing = 0;
    for (int y = square.top(); y <= square.bottom(); ++y)
        for (int x = square.left(); x <= square.right(); ++x) differing += page.pixelColor(x, y) != background;
    // Its outline at least: two widths and two heights, less the corners.
    EXPECT_GE(differing, 2 * (square.width() + square.height()) - 8);
}

// The practice square and the grid keep separate choices, and the square works during a play-back.
TEST_F(TabPagesTest, PracticeAndGridDoNotMix) {
    SelectPage(1);
    Click(w().PushButton1());
    seam.clock.RunNext();
    ASSERT_EQ(w().Timer1().Mode(), 2);
    WheelLeft(Practice());
    EXPECT_EQ(Practice().Image(), yellow());
    EXPECT_EQ(w().color1, "");
    PlayBack();

    Choose(4, 'g');
    WheelDown(Practice());
    EXPECT_EQ(w().color1, "g");
    Click(w().ImageWell1(4));
    EXPECT_EQ(w().str2, "4g");
    Choose(2, 'r');
    EXPECT_EQ(w().color2, "blue");
    EXPECT_EQ(Reported(), "You chose blue");
    EXPECT_EQ(w().ImageWell1(2).Image(), red());
}

// "ring", "beep" and "buzz" each play their sound once in "normal" and nothing in "silent".
TEST_F(TabPagesTest, SoundTestsFollowTheMode) {
    SelectPage(1);
    PressSoundTests();
    EXPECT_EQ(seam.audio.played, (std::vector<std::string>{"Purr.aiff", "Ping.aiff", "Basso.aiff"}));

    SelectPage(0);
    ClickRadio(w().RadioButton2());
    SelectPage(1);
    PressSoundTests();
    EXPECT_EQ(seam.audio.played.size(), 3u);
    EXPECT_TRUE(seam.dialogs.problems.empty());
}

// The three links open their addresses and leave the game alone, before and during a game.
TEST_F(TabPagesTest, LinksOpenTheirAddresses) {
    const std::vector<std::string> addresses = {"https://www.example.com/", "mailto:mirel@example.com",
                                                "https://www.example.com/corvessan/"};
    for (bool playing : {false, true}) {
        SCOPED_TRACE(playing ? "during a game" : "before a game");
        if (playing) {
            Click(w().PushButton1());
            seam.clock.RunNext();
        }
        seam.urls.opened.clear();
        const std::string before = GameState();
        for (fw::Label* link : {&w().Label7(), &w().Label8(), &w().Label22()}) Click(*link);
        EXPECT_EQ(seam.urls.opened, addresses);
        EXPECT_EQ(GameState(), before);
    }
    EXPECT_TRUE(seam.dialogs.messages.empty());
    EXPECT_TRUE(seam.audio.played.empty());
}
