#include "journal/journal_wording.h"

#include <vector>

namespace lq {

std::string Fill(std::string_view pattern, std::initializer_list<std::string_view> args) {
    const std::vector<std::string_view> values(args);
    std::string text;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
        const auto n = static_cast<std::size_t>(next - '1');
        if (pattern[i] == '%' && next >= '1' && next <= '9' && n < values.size()) {
            text += values[n];
            ++i;
            continue;
        }
        text += pattern[i];
    }
    return text;
}

} // namespace lq
