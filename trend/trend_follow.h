#pragma once

namespace lq {

// How a trend view that follows the newest data moves on. Any change of an axis makes the plot redraw every
// line, so the time axis stands still on a page whose right-hand edge lies a tenth of the span ahead of now,
// and jumps a page on only when now reaches that edge. In between, only what is new is drawn, and no oftener
// than a quantity is read (once a round of the poll, 2 s) or the view gains a pixel column.
enum class FollowStep { Nothing, NewPoints, NewPage };

struct TrendFollow {
    static constexpr double kRoundMs = 2000;

    // The right-hand edge of a page that starts following at `now`.
    static double PageEnd(double now, double spanMs) { return now + spanMs / 10; }

    // What to draw at `now` on the page that ends at `pageEnd`, last drawn at `drawnAt`; `newData` tells
    // whether anything came since.
    static FollowStep Next(double now, double pageEnd, double drawnAt, bool newData, double spanMs,
                           int columns);

    // How long the view may sleep before Next() could say more than Nothing: until the page's edge or the
    // next strip of points is due, but no less than a poll tick (nothing new comes sooner) and no more than
    // kLongestSleepMs, so a clock that moves on unevenly is caught up with soon.
    static constexpr double kTickMs = 500;
    static constexpr double kLongestSleepMs = 10000;
    static double SleepMs(double now, double pageEnd, double drawnAt, double spanMs, int columns);
};

} // namespace lq
