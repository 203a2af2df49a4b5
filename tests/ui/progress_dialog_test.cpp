#include "fakes/fake_dialog_view.h"
#include "ui/dialog_ids.h"
#include "ui/progress_dialog.h"

#include <gtest/gtest.h>
#include <limits>
#include <vector>

namespace corvane {
namespace {

using platform::SystemColor;

// Records what a frame paints.
class RecordingSurface final : public platform::DrawSurface {
public:
    explicit RecordingSurface(int width) : width_(width) {}
    int Width() override { return width_; }
    int Height() override { return 14; }
    void Fill(SystemColor color) override {
        fills.push_back({static_cast<int>(lines.size()), color});
    }
    void VerticalLine(int x, SystemColor color) override { lines.push_back({x, color}); }

    struct Painted {
        int linesBefore;
        SystemColor color;
    };
    struct Line {
        int x;
        SystemColor color;
    };
    std::vector<Painted> fills;
    std::vector<Line> lines;

private:
    int width_;
};

// Draws and ticks in turn, as the dialog does, and notes the positions at
// which the block turned.
struct Cycle {
    std::vector<std::int32_t> leftTurns;
    std::vector<std::int32_t> rightTurns;
};
Cycle RunCycle(int barWidth, int ticks) {
    StripeMotion motion;
    Cycle cycle;
    for (int i = 0; i < ticks; ++i) {
        const StripeDirection before = motion.direction;
        motion.direction = DirectionAtDraw(motion, barWidth);
        if (before != motion.direction) {
            (motion.direction == StripeDirection::Left ? cycle.leftTurns : cycle.rightTurns)
                .push_back(motion.position);
        }
        motion.position = PositionAfterTick(motion);
    }
    return cycle;
}

TEST(StripeGeometry, TurnsAtBothEndsOfTheBar) {
    struct Case {
        int barWidth;
        int ticks;
        std::vector<std::int32_t> leftTurns;
        std::vector<std::int32_t> rightTurns;
    };
    const Case cases[] = {
        // 290 + 60 > 348 is the first position past the right edge; a whole
        // trip there and back takes 58 ticks.
        {348, 120, {290, 290}, {0, 0}},
        {344, 120, {290, 290}, {0, 0}},
        {350, 125, {300, 300}, {0, 0}},
        {100, 31, {50, 50, 50}, {0, 0, 0}},
        {61, 7, {10, 10, 10}, {0, 0, 0}},
        // A bar exactly as wide as the block: it fits at 0 and turns at 10.
        {60, 7, {10, 10, 10}, {0, 0, 0}},
        // Narrower than the block: it jitters between 0 and -10.
        {50, 4, {0, 0}, {-10, -10}},
    };
    for (const Case& c : cases) {
        const Cycle cycle = RunCycle(c.barWidth, c.ticks);
        EXPECT_EQ(c.leftTurns, cycle.leftTurns) << "bar " << c.barWidth;
        EXPECT_EQ(c.rightTurns, cycle.rightTurns) << "bar " << c.barWidth;
    }
}

TEST(StripeGeometry, DirectionRules) {
    struct Case {
        std::int32_t position;
        StripeDirection direction;
        int barRight;
        StripeDirection expected;
    };
    const Case cases[] = {
        {0, StripeDirection::Right, 348, StripeDirection::Right},
        {280, StripeDirection::Right, 348, StripeDirection::Right}, // 340 fits
        {288, StripeDirection::Right, 348, StripeDirection::Right}, // 348 is not past 348
        {289, StripeDirection::Right, 348, StripeDirection::Left},
        {150, StripeDirection::Left, 348, StripeDirection::Left},
        {0, StripeDirection::Left, 348, StripeDirection::Right},
        {-10, StripeDirection::Left, 348, StripeDirection::Right},
        // The right-edge rule comes first: on a bar narrower than the block
        // it wins over the left edge.
        {0, StripeDirection::Right, 50, StripeDirection::Left},
        {-5, StripeDirection::Left, 50, StripeDirection::Left},
        {-10, StripeDirection::Left, 50, StripeDirection::Right},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.expected, DirectionAtDraw(StripeMotion{c.position, c.direction}, c.barRight))
            << c.position << " on " << c.barRight;
    }
}

TEST(StripeGeometry, TicksMoveTenPixelsAndSaturate) {
    EXPECT_EQ(10, PositionAfterTick({0, StripeDirection::Right}));
    EXPECT_EQ(-10, PositionAfterTick({0, StripeDirection::Left}));
    EXPECT_EQ(280, PositionAfterTick({290, StripeDirection::Left}));

    // A bar that is never drawn never turns the block: the position stops
    // short of the 32-bit limits instead of overflowing.
    StripeMotion far{std::numeric_limits<std::int32_t>::max() - 5, StripeDirection::Right};
    far.position = PositionAfterTick(far);
    EXPECT_LT(far.position, std::numeric_limits<std::int32_t>::max() - kStripeBlockWidth);
    EXPECT_EQ(far.position, PositionAfterTick(far));
    StripeMotion low{std::numeric_limits<std::int32_t>::min(), StripeDirection::Left};
    low.position = PositionAfterTick(low);
    EXPECT_GT(low.position, std::numeric_limits<std::int32_t>::min() + kStripeBlockWidth);
    for (const std::int32_t x : StripeColumns(far.position)) {
        EXPECT_GE(x, far.position); // no wrap-around
    }
}

TEST(StripeGeometry, AFrameIsTheButtonFaceAndFifteenDoubleStripes) {
    RecordingSurface surface(348);
    StripeMotion motion{120, StripeDirection::Right};
    DrawStripeBlock(surface, motion);

    ASSERT_EQ(1u, surface.fills.size());
    EXPECT_EQ(0, surface.fills[0].linesBefore); // filled before any stripe
    EXPECT_EQ(SystemColor::ButtonFace, surface.fills[0].color);
    ASSERT_EQ(30u, surface.lines.size());
    for (int stripe = 0; stripe < 15; ++stripe) {
        const auto& first = surface.lines[static_cast<std::size_t>(2 * stripe)];
        const auto& second = surface.lines[static_cast<std::size_t>(2 * stripe + 1)];
        EXPECT_EQ(120 + 4 * stripe, first.x);
        EXPECT_EQ(121 + 4 * stripe, second.x);
        EXPECT_EQ(SystemColor::Highlight, first.color);
        EXPECT_EQ(SystemColor::Highlight, second.color);
    }
    EXPECT_EQ(177, surface.lines.back().x); // the block ends 60 pixels on

    // The draw is what turns the block.
    RecordingSurface edge(348);
    StripeMotion atEdge{290, StripeDirection::Right};
    DrawStripeBlock(edge, atEdge);
    EXPECT_EQ(StripeDirection::Left, atEdge.direction);
}

class ProgressDialogLogic : public testing::Test {
protected:
    AutoResetEvent done;
    ProgressDialog logic{done};
    fakes::FakeDialogView view;
};

TEST_F(ProgressDialogLogic, StartsItsTimerAndLeavesTheFocusAlone) {
    EXPECT_FALSE(logic.OnInitDialog(view, 0));
    ASSERT_EQ(1u, view.timers().count(kProgressTimer));
    EXPECT_EQ(100u, view.timers().at(kProgressTimer));
    logic.OnDestroy(view);
    EXPECT_TRUE(view.timers().empty());
}

TEST_F(ProgressDialogLogic, EachTickRepaintsTheBarAndMovesTheBlock) {
    logic.OnInitDialog(view, 0);
    logic.OnTimer(view, kProgressTimer);
    logic.OnTimer(view, kProgressTimer);
    EXPECT_EQ(2, view.invalidations(ui::progress_dialog::kBar));
    EXPECT_EQ(20, logic.Motion().position);
    logic.OnTimer(view, 7); // not its timer
    EXPECT_EQ(2, view.invalidations(ui::progress_dialog::kBar));
    EXPECT_EQ(20, logic.Motion().position);

    RecordingSurface other(348);
    logic.OnDrawItem(view, 1023, other);
    EXPECT_TRUE(other.lines.empty());
    RecordingSurface bar(348);
    logic.OnDrawItem(view, ui::progress_dialog::kBar, bar);
    EXPECT_EQ(20, bar.lines.front().x);
}

TEST_F(ProgressDialogLogic, TheDoneEventEndsItAtTheNextMessage) {
    logic.OnMessage(view);
    EXPECT_EQ(0, view.endResult());
    done.Set();
    logic.OnMessage(view);
    EXPECT_EQ(platform::kDialogOk, view.endResult());
    EXPECT_FALSE(done.TryWait()); // the look consumed the signal
    EXPECT_TRUE(logic.Finished());
    // A close that comes with the signal keeps the run finished.
    logic.OnClose(view);
    EXPECT_EQ(platform::kDialogOk, view.endResult());
}

TEST_F(ProgressDialogLogic, ClosingEndsItAsCancelledWhileEscapeAndEnterDoNothing) {
    logic.OnInitDialog(view, 0);
    logic.OnCommand(view, ui::kItemCancel, platform::kBnClicked);
    logic.OnCommand(view, ui::kItemOk, platform::kBnClicked);
    EXPECT_EQ(0, view.endResult());
    logic.OnClose(view);
    EXPECT_EQ(platform::kDialogCancel, view.endResult());
    EXPECT_FALSE(logic.Finished());
}

} // namespace
} // namespace corvane
