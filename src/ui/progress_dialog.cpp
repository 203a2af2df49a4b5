#include "ui/progress_dialog.h"

#include "ui/dialog_ids.h"

#include <cstdint>
#include <limits>

namespace corvane {

namespace {

// Far enough inside the 32-bit range that position + block width and every
// stripe column stay representable.
constexpr std::int32_t kPositionLimit =
    std::numeric_limits<std::int32_t>::max() - 2 * kStripeBlockWidth;

} // namespace

StripeDirection DirectionAtDraw(const StripeMotion& motion, int barRight) {
    const std::int64_t blockRight = std::int64_t{motion.position} + kStripeBlockWidth;
    if (blockRight > barRight) {
        return StripeDirection::Left;
    }
    if (motion.position <= 0) {
        return StripeDirection::Right;
    }
    return motion.direction;
}

std::int32_t PositionAfterTick(const StripeMotion& motion) {
    const std::int64_t step =
        motion.direction == StripeDirection::Right ? kStripeStep : -kStripeStep;
    std::int64_t next = std::int64_t{motion.position} + step;
    if (next > kPositionLimit) {
        next = kPositionLimit;
    } else if (next < -kPositionLimit) {
        next = -kPositionLimit;
    }
    return static_cast<std::int32_t>(next);
}

std::array<std::int32_t, kStripeCount> StripeColumns(std::int32_t position) {
    std::array<std::int32_t, kStripeCount> columns{};
    for (int i = 0; i < kStripeCount; ++i) {
        columns[static_cast<std::size_t>(i)] = position + i * kStripePitch;
    }
    return columns;
}

void DrawStripeBlock(platform::DrawSurface& surface, StripeMotion& motion) {
    motion.direction = DirectionAtDraw(motion, surface.Width());
    surface.Fill(platform::SystemColor::ButtonFace);
    for (const std::int32_t x : StripeColumns(motion.position)) {
        surface.VerticalLine(x, platform::SystemColor::Highlight);
        surface.VerticalLine(x + 1, platform::SystemColor::Highlight);
    }
}

void ProgressDialog::OnMessage(platform::DialogView& dialog) {
    // Tested at every message, so the timer guarantees a look at least every
    // 100 ms; the test consumes the signal.
    if (done_.TryWait()) {
        finished_ = true;
        dialog.EndDialog(platform::kDialogOk);
    }
}

bool ProgressDialog::OnInitDialog(platform::DialogView& dialog, std::intptr_t /*parameter*/) {
    dialog.StartTimer(kProgressTimer, kProgressTimerPeriodMs);
    // Nothing in the dialog takes the focus, so Enter and Escape do nothing.
    return false;
}

void ProgressDialog::OnClose(platform::DialogView& dialog) {
    // A close that arrives with the done signal must not turn a finished
    // run into an abandoned one.
    if (!finished_) {
        dialog.EndDialog(platform::kDialogCancel);
    }
}

void ProgressDialog::OnTimer(platform::DialogView& dialog, std::uintptr_t timerId) {
    if (timerId != kProgressTimer) {
        return;
    }
    dialog.InvalidateItem(ui::progress_dialog::kBar);
    motion_.position = PositionAfterTick(motion_);
}

void ProgressDialog::OnDrawItem(platform::DialogView& /*dialog*/, int itemId,
                                platform::DrawSurface& surface) {
    if (itemId == ui::progress_dialog::kBar) {
        DrawStripeBlock(surface, motion_);
    }
}

void ProgressDialog::OnDestroy(platform::DialogView& dialog) {
    dialog.StopTimer(kProgressTimer);
}

ProgressEnd RunProgressDialog(platform::Platform& os, platform::LanguageId language,
                              platform::WindowId owner, AutoResetEvent& done) {
    ProgressDialog logic(done);
    const int end = os.ui.RunModalDialog(ui::kDialogProgress, language, owner, logic, 0);
    return end == platform::kDialogOk ? ProgressEnd::Finished : ProgressEnd::Closed;
}

} // namespace corvane
