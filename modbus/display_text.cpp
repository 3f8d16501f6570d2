#include "modbus/display_text.h"

#include <atomic>
#include <vector>

namespace lq {

namespace {

std::atomic<TextLookup> installedLookup{nullptr};

} // namespace

void InstallTextLookup(TextLookup lookup) {
    installedLookup.store(lookup);
}

std::string Translated(const char* context, const char* source) {
    const TextLookup lookup = installedLookup.load();
    return lookup ? lookup(context, source) : std::string(source);
}

std::string Substitute(std::string_view pattern, std::initializer_list<std::string_view> arguments) {
    const std::vector<std::string_view> args(arguments);
    std::string text;
    text.reserve(pattern.size() + 16);
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
        const auto index = static_cast<std::size_t>(next - '1');
        if (pattern[i] == '%' && next >= '1' && next <= '9' && index < args.size()) {
            text += args[index];
            ++i;
        } else {
            text += pattern[i];
        }
    }
    return text;
}

} // namespace lq
