// Opening the window with the stored high score, and resetting it.

#include "framework/dialogs.h"
#include "game_window/high_score_file.h"
#include "game_window/window1.h"

void Window1::Event_Open() {
    Clearit();
    DISABLEIT();
    const StoredHighScore stored = ReadHighScore();
    if (stored.line) Label26().Text(*stored.line);
    else if (!stored.exists) WriteHighScore(kDefaultHighScore);
}

void Window1::PushButton7_Action(fw::PushButton&) {
    fw::MessageDialog d;
    d.Icon = 3;
    d.ActionButton->Caption = "Yes";
    d.CancelButton->Visible = true;
    d.Message = "Are you sure you want to reset the high score to the default score of 20?";
    d.Explanation = "If you don't want to do this click cancel. ";
    const auto chosen = d.ShowModal();
    if (chosen == d.ActionButton) {
        if (WriteHighScore(kDefaultHighScore)) Label26().Text(kDefaultHighScore);
    }
    // A cancelled reset leaves the button in place for later.
}
