#include "trend/marker_flags.h"

#include <algorithm>
#include <limits>

namespace lq {

std::vector<FlagPlace> PlaceFlags(std::span<const FlagSize> flags, double plotRight, int rows, double gap) {
    // How far right each row is taken: a flag fits a row whose flags all end before it starts.
    std::vector<double> rowEnds(static_cast<std::size_t>(std::max(1, rows)),
                                -std::numeric_limits<double>::infinity());
    std::vector<FlagPlace> places;
    places.reserve(flags.size());
    for (const FlagSize& flag : flags) {
        const double left = flag.x + flag.width <= plotRight ? flag.x : flag.x - flag.width;
        auto row =
            std::find_if(rowEnds.begin(), rowEnds.end(), [&](double end) { return end + gap <= left; });
        if (row == rowEnds.end()) row = std::min_element(rowEnds.begin(), rowEnds.end());
        *row = std::max(*row, left + flag.width);
        places.push_back({left, static_cast<int>(row - rowEnds.begin())});
    }
    return places;
}

} // namespace lq
