// The small modal dialog (template 106) that shows while the apply worker
// runs: an owner-drawn bar with a block of stripes that moves to and fro,
// ended by the worker's done event or by the user closing it.
#pragma once

#include "platform/dialog_logic.h"
#include "platform/platform.h"
#include "support/auto_reset_event.h"

#include <array>
#include <cstdint>

namespace corvane {

// The stripe block: 15 stripes of 2 pixels at a pitch of 4, moving 10
// pixels per timer tick and turning at both ends of the bar.
inline constexpr int kStripeBlockWidth = 60;
inline constexpr int kStripePitch = 4;
inline constexpr int kStripeCount = kStripeBlockWidth / kStripePitch;
inline constexpr int kStripeStep = 10;
inline constexpr std::uintptr_t kProgressTimer = 1;
inline constexpr std::uint32_t kProgressTimerPeriodMs = 100;

enum class StripeDirection : std::int32_t { Right = 0, Left = 1 };

// Pixels from the bar's left edge to the block's left edge, and where the
// block is heading.
struct StripeMotion {
    std::int32_t position = 0;
    StripeDirection direction = StripeDirection::Right;
};

// The direction a draw settles on: left once the block would pass the bar's
// right edge, right again once it reached the left edge (the first rule
// wins, so on a bar narrower than the block it jitters at the left edge).
StripeDirection DirectionAtDraw(const StripeMotion& motion, int barRight);
// The position after one timer tick. It saturates well inside the 32-bit
// range, so that a bar that is never drawn (and so never turns the block)
// cannot overflow it.
std::int32_t PositionAfterTick(const StripeMotion& motion);
// The left columns of the stripes; each stripe also covers the column after.
std::array<std::int32_t, kStripeCount> StripeColumns(std::int32_t position);
// One frame: settles the direction, fills the bar with the button face and
// draws the stripes in the highlight colour.
void DrawStripeBlock(platform::DrawSurface& surface, StripeMotion& motion);

class ProgressDialog final : public platform::DialogLogic {
public:
    explicit ProgressDialog(AutoResetEvent& done) : done_(done) {}

    void OnMessage(platform::DialogView& dialog) override;
    bool OnInitDialog(platform::DialogView& dialog, std::intptr_t parameter) override;
    void OnClose(platform::DialogView& dialog) override;
    void OnTimer(platform::DialogView& dialog, std::uintptr_t timerId) override;
    void OnDrawItem(platform::DialogView& dialog, int itemId,
                    platform::DrawSurface& surface) override;
    void OnDestroy(platform::DialogView& dialog) override;

    const StripeMotion& Motion() const { return motion_; }
    bool Finished() const { return finished_; }

private:
    AutoResetEvent& done_;
    bool finished_ = false;
    // One run per process: the block starts at the left edge, moving right.
    StripeMotion motion_;
};

enum class ProgressEnd { Finished, Closed };

// Runs the progress dialog modally in `language`, owned by `owner`, until `done` is seen
// (Finished) or the user closes the dialog (Closed, at once). A dialog that
// cannot be created reports Closed: there is then nothing that could wait
// for the worker while still serving the windows it opens.
ProgressEnd RunProgressDialog(platform::Platform& os, platform::LanguageId language,
                              platform::WindowId owner, AutoResetEvent& done);

} // namespace corvane
