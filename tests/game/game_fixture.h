#pragma once
// A game window made on the test seam: virtual clock, scripted draws and
// dialogs, recording audio and URLs, a private data folder and the shipped
// media. The player acts only through real Qt events on the real widgets.

#include <QApplication>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/doubles/doubles.h"
#include "framework/widgets_p.h"
#include "framework/window.h"
#include "game_window/window1.h"
#include "shell/media.h"
#include "tests/support/qt_input.h"
#include "tests/support/test_env.h"

class GameTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetMediaCaches();
        window = &fw::MakeWindow<Window1>();
    }
    void TearDown() override {
        fw::ReleaseWindows();
        ResetMediaCaches();
    }

    Window1& w() { return *window; }

    // ---- real input ----------------------------------------------------
    // A wheel turn as Qt reports it: up and left are positive angle deltas.
    static void Wheel(fw::RectControl& control, int angleX, int angleY) {
        corvessan_test::Wheel(control.NativeWidget(), angleX, angleY);
    }
    static void WheelUp(fw::RectControl& c) { Wheel(c, 0, 120); }
    static void WheelDown(fw::RectControl& c) { Wheel(c, 0, -120); }
    static void WheelLeft(fw::RectControl& c) { Wheel(c, 120, 0); }
    static void WheelRight(fw::RectControl& c) { Wheel(c, -120, 0); }

    static void Click(fw::RectControl& control) {
        QWidget* widget = control.NativeWidget();
        QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, QPoint(widget->width() / 2, widget->height() / 2));
    }
    static void Enter(fw::RectControl& control) { corvessan_test::Enter(control.NativeWidget()); }
    static void Leave(fw::RectControl& control) { corvessan_test::Leave(control.NativeWidget()); }

    // Chooses the colour of `letter` with the wheel over `square`.
    void Choose(int square, char letter) {
        fw::ImageWell& well = w().ImageWell1(square);
        switch (letter) {
            case 'b': WheelDown(well); break;
            case 'r': WheelUp(well); break;
            case 'g': WheelRight(well); break;
            case 'y': WheelLeft(well); break;
            default: FAIL() << "no colour " << letter;
        }
    }

    // Answers one round as given in history form ("4b0r"), choosing each
    // colour on the square it clicks.
    void Answer(const std::string& round) {
        for (std::size_t i = 0; i + 1 < round.size(); i += 2) {
            const int square = round[i] - '0';
            Choose(square, round[i + 1]);
            Click(w().ImageWell1(square));
        }
    }

    // The entries of the round under way in the computer's history.
    std::string CurrentRound() const {
        const std::string& s = window->str1;
        const auto bar = s.rfind('|');
        return bar == std::string::npos ? s : s.substr(bar + 1);
    }

    // Runs the play-back until the player's turn: Timer1 off again.
    void PlayBack() {
        for (int guard = 0; guard < 100 && w().Timer1().Mode() != 0; ++guard) seam.clock.RunNext();
        ASSERT_EQ(w().Timer1().Mode(), 0) << "the play-back did not end";
    }

    // ---- what the player sees ------------------------------------------
    // Whether all nine squares show `picture` (the shared object itself).
    bool GridShows(const PicturePtr& picture) const {
        for (int i = 0; i <= 8; ++i)
            if (window->ImageWell1(i).Image() != picture) return false;
        return true;
    }
    // The five star slots, left to right: '*' a star, '.' grey, '?' anything else.
    std::string StarSlots() const {
        std::string marks;
        for (fw::ImageWell* slot : {&window->ImageWell3(), &window->ImageWell4(), &window->ImageWell5(),
                                    &window->ImageWell6(), &window->ImageWell7()})
            marks += slot->Image() == star() ? '*' : slot->Image() == grey() ? '.' : '?';
        return marks;
    }

    // ---- the tab panel and the radio buttons ----------------------------
    // Selects a page of TabPanel1 (0 "About", 1 "Instructions") by clicking its tab.
    void SelectPage(int page) {
        QTabBar* bar = static_cast<QTabWidget*>(w().TabPanel1().NativeWidget())->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->tabRect(page).center());
    }
    // Clicks a radio button on its round indicator: a click on the empty part
    // of a wide radio button does nothing, as for the player.
    static void ClickRadio(fw::RadioButton& radio) {
        QWidget* widget = radio.NativeWidget();
        QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, QPoint(6, widget->height() / 2));
    }

    fw::testing::TestSeam seam;
    corvessan_test::TempDir data;
    corvessan_test::ScopedDataHome home{data.Path()};
    fw::testing::ScopedBundle bundle{corvessan_test::SourceBundle()};
    Window1* window = nullptr;
};

inline std::filesystem::path HighScorePath(const corvessan_test::TempDir& data) { return data.Path() / "plovt.txt"; }
