#pragma once

#include <span>
#include <vector>

namespace lq {

// A write marker's flag as drawn: the x of its line and the width of its text box, in pixels.
struct FlagSize {
    double x;
    double width;
};

struct FlagPlace {
    double left;
    int row; // 0 at the top of the plot
    bool operator==(const FlagPlace&) const = default;
};

// Where each flag goes, taken in the order of their lines from left to right: beside its line on the right,
// or on the left where the plot ends before the flag would; in the topmost of `rows` rows where it keeps
// `gap` pixels from the flags placed before it, so that no flag hides another one's text. When every row is
// taken, the row whose flags end furthest to the left.
std::vector<FlagPlace> PlaceFlags(std::span<const FlagSize> flags, double plotRight, int rows, double gap);

} // namespace lq
