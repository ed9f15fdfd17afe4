#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "framework/dialogs.h"
#include "framework/production.h"
#include "tests/doubles/doubles.h"

namespace {

using fw::testing::VirtualClock;
using Log = std::vector<std::pair<std::string, std::int64_t>>;

TEST(VirtualClock, TimersFireInTimeOrderWithTiesInScheduleOrder) {
    // Due fires run at their own times, earliest first; equal times go in the order they were scheduled.
    VirtualClock clock;
    Log log;
    auto a = clock.NewTimer([&] { log.emplace_back("a", clock.NowMs()); });
    auto b = clock.NewTimer([&] { log.emplace_back("b", clock.NowMs()); });
    a->Start(30, true);
    b->Start(50, true);
    EXPECT_EQ(clock.NextDue(), 30);
    clock.Advance(150);
    // At 150 b's wait was set at 100, a's only at 120.
    EXPECT_EQ(log, (Log{{"a", 30}, {"b", 50}, {"a", 60}, {"a", 90}, {"b", 100},
                        {"a", 120}, {"b", 150}, {"a", 150}}));
    EXPECT_EQ(clock.NowMs(), 150);

    log.clear();
    b->Stop();
    EXPECT_TRUE(clock.RunNext());
    EXPECT_EQ(log, (Log{{"a", 180}}));
    a->Stop();
    EXPECT_FALSE(clock.RunNext());
    EXPECT_EQ(clock.NextDue(), -1);

    // A zero period cannot stall Advance: it counts as one millisecond.
    int ticks = 0;
    auto c = clock.NewTimer([&] { ++ticks; });
    c->Start(0, true);
    clock.Advance(5);
    EXPECT_EQ(ticks, 5);
}

TEST(VirtualClock, PeriodChangesAndRestartsTakeEffectFromTheNextWait) {
    // SetPeriod keeps the fire already due; Start restarts the wait; a one-shot fires once.
    VirtualClock clock;
    std::vector<std::int64_t> times;
    auto t = clock.NewTimer([&] { times.push_back(clock.NowMs()); });
    t->Start(100, true);
    clock.Advance(50);
    t->SetPeriod(30);
    clock.Advance(150);
    EXPECT_EQ(times, (std::vector<std::int64_t>{100, 130, 160, 190}));

    times.clear();
    t->Start(40, false);  // now 200
    clock.Advance(30);
    t->Start(40, false);  // restarting pushes the fire back
    clock.Advance(100);
    EXPECT_EQ(times, (std::vector<std::int64_t>{270}));
    EXPECT_FALSE(clock.AnyPending());
}

TEST(VirtualClock, FiresMayStopRestartOrDestroyTimers) {
    // A fire that stops, restarts or destroys a timer (its own or another) wins, and nothing freed is touched.
    VirtualClock clock;
    int stopCount = 0;
    std::unique_ptr<fw::ClockTimer> stopper;
    stopper = clock.NewTimer([&] { if (++stopCount == 2) stopper->Stop(); });
    stopper->Start(10, true);

    std::vector<std::int64_t> restarts;
    std::unique_ptr<fw::ClockTimer> restarter;
    restarter = clock.NewTimer([&] {
        restarts.push_back(clock.NowMs());
        if (restarts.size() == 1) restarter->Start(25, true);
    });
    restarter->Start(10, true);

    // Both due at 5: the first destroys the second before it can fire.
    bool victimFired = false;
    std::unique_ptr<fw::ClockTimer> victim;
    auto killer = clock.NewTimer([&] { victim.reset(); });
    victim = clock.NewTimer([&] { victimFired = true; });
    killer->Start(5, false);
    victim->Start(5, false);

    // A timer whose fire destroys its own handle, capturing state it still uses afterwards.
    std::unique_ptr<fw::ClockTimer> self;
    std::string note = "self";
    std::string seen;
    self = clock.NewTimer([&, copy = note] {
        self.reset();
        seen = copy;
    });
    self->Start(7, true);

    clock.Advance(100);
    EXPECT_EQ(stopCount, 2);
    EXPECT_EQ(restarts, (std::vector<std::int64_t>{10, 35, 60, 85}));
    EXPECT_FALSE(victimFired);
    EXPECT_EQ(self, nullptr);
    EXPECT_EQ(seen, "self");

    // A handle that outlives its clock is still safe to use and destroy.
    std::unique_ptr<fw::ClockTimer> orphan;
    {
        VirtualClock shortLived;
        orphan = shortLived.NewTimer([] {});
        orphan->Start(10, true);
    }
    orphan->Stop();
    orphan->Start(5, false);
    orphan.reset();
}

TEST(ScriptedRandom, QueuedValuesFirstThenSeededDraws) {
    // Queued values come out first and must fit the asked range; then draws repeat for a seed.
    fw::testing::ScriptedRandom random(7);
    auto engine = random.NewEngine();
    random.Queue({3, 1});
    EXPECT_EQ(engine->InRange(1, 5), 3);
    EXPECT_EQ(random.NewEngine()->InRange(0, 1), 1);  // every engine shares the one queue
    EXPECT_EQ(random.Queued(), 0u);

    fw::testing::ScriptedRandom twin(7);
    auto twinEngine = twin.NewEngine();
    for (int i = 0; i < 20; ++i) {
        const auto v = engine->InRange(-3, 3);
        EXPECT_GE(v, -3);
        EXPECT_LE(v, 3);
        EXPECT_EQ(v, twinEngine->InRange(-3, 3));
    }
    EXPECT_EQ(engine->InRange(4, 4), 4);
    ASSERT_EQ(random.Draws().size(), 23u);
    EXPECT_EQ(random.Draws()[0].low, 1);
    EXPECT_EQ(random.Draws()[0].high, 5);
    EXPECT_EQ(random.Draws()[0].result, 3);

    random.Queue(9);
    EXPECT_THROW(engine->InRange(1, 6), std::logic_error);
}

TEST(DialogSeam, ShowModalReturnsTheChosenButtonAndShowsItsFields) {
    // The presenter sees the dialog's fields, and its answer maps back to the very button object.
    fw::testing::TestSeam seam;
    fw::MessageDialog dialog;
    EXPECT_EQ(dialog.ActionButton->Caption, "OK");
    EXPECT_TRUE(dialog.ActionButton->Visible);
    EXPECT_FALSE(dialog.CancelButton->Visible);

    dialog.Icon = 1;
    dialog.Message = "Save the game?";
    dialog.Explanation = "It will be lost otherwise.";
    dialog.ActionButton->Caption = "Save";
    dialog.CancelButton->Caption = "Later";
    dialog.CancelButton->Visible = true;
    seam.dialogs.answers = {fw::DialogChoice::Action, fw::DialogChoice::Cancel, fw::DialogChoice::None};
    EXPECT_EQ(dialog.ShowModal(), dialog.ActionButton);
    EXPECT_EQ(dialog.ShowModal(), dialog.CancelButton);
    EXPECT_EQ(dialog.ShowModal(), nullptr);
    EXPECT_EQ(dialog.ShowModal(), nullptr);  // script exhausted

    ASSERT_EQ(seam.dialogs.requests.size(), 4u);
    const fw::DialogRequest& r = seam.dialogs.requests[0];
    EXPECT_EQ(r.icon, 1);
    EXPECT_EQ(r.message, "Save the game?");
    EXPECT_EQ(r.explanation, "It will be lost otherwise.");
    EXPECT_EQ(r.actionCaption, "Save");
    EXPECT_TRUE(r.actionVisible);
    EXPECT_EQ(r.cancelCaption, "Later");
    EXPECT_TRUE(r.cancelVisible);

    fw::MsgBox("Hello");
    EXPECT_EQ(seam.dialogs.messages, std::vector<std::string>{"Hello"});
}

// Runs `answer` on the next message box once it is up. A box the answer leaves
// open, or one never seen as the modal widget, is closed, so a fault fails the
// test instead of hanging the run.
void AnswerNextBox(std::function<void(QMessageBox*)> answer) {
    auto* poll = new QTimer;
    auto polls = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, [poll, polls, answer] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            poll->deleteLater();
            QPointer<QMessageBox> guard(box);
            answer(box);
            QTimer::singleShot(2000, box, [guard] {
                ADD_FAILURE() << "the message box stayed open";
                if (guard) guard->reject();
            });
        } else if (++*polls > 500) {
            poll->deleteLater();
            ADD_FAILURE() << "no message box became modal";
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) box->reject();
        }
    });
    poll->start(10);
}

TEST(DialogQt, ClickedButtonsAndEscapeMapToChoices) {
    // The Qt presenter shows the request's captions and roles, and maps clicks and Escape back.
    fw::DialogPresenter& dialogs = fw::production::QtDialogs();
    fw::DialogRequest request;
    request.icon = 2;
    request.message = "Quit now?";
    request.explanation = "The board is not finished.";
    request.actionCaption = "Quit";
    request.cancelCaption = "Stay";
    request.cancelVisible = true;

    AnswerNextBox([](QMessageBox* box) {
        EXPECT_EQ(box->icon(), QMessageBox::Critical);
        EXPECT_EQ(box->text(), "Quit now?");
        EXPECT_EQ(box->informativeText(), "The board is not finished.");
        ASSERT_EQ(box->buttons().size(), 2);
        EXPECT_EQ(box->defaultButton()->text(), "Quit");
        for (QAbstractButton* b : box->buttons())
            if (b->text() == "Stay") {
                EXPECT_EQ(box->buttonRole(b), QMessageBox::RejectRole);
                b->click();
            }
    });
    EXPECT_EQ(dialogs.ShowModal(request), fw::DialogChoice::Cancel);

    AnswerNextBox([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); });
    EXPECT_EQ(dialogs.ShowModal(request), fw::DialogChoice::Cancel);

    AnswerNextBox([](QMessageBox* box) { box->defaultButton()->click(); });
    EXPECT_EQ(dialogs.ShowModal(request), fw::DialogChoice::Action);

    // With no cancel button, Escape or closing the box is no answer, not its only button.
    request.cancelVisible = false;
    AnswerNextBox([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); });
    EXPECT_EQ(dialogs.ShowModal(request), fw::DialogChoice::None);
    AnswerNextBox([](QMessageBox* box) { box->close(); });
    EXPECT_EQ(dialogs.ShowModal(request), fw::DialogChoice::None);
    AnswerNextBox([](QMessageBox* box) { box->defaultButton()->click(); });
    EXPECT_EQ(dialogs.ShowModal(request), fw::DialogChoice::Action);
}

}  // namespace
