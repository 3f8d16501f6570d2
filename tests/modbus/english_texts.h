#pragma once

#include <span>
#include <string>
#include <string_view>

#include "modbus/display_text.h"

namespace lq::testing {

struct EnglishText {
    const char* context;
    const char* source;
    const char* english;
};

// While it lives, the plain rooms' texts come from this table, as they come from the translation in the
// program: a text of another context, or one not in the table, stays its Chinese source.
class EnglishTexts {
  public:
    explicit EnglishTexts(std::span<const EnglishText> texts) {
        Table() = texts;
        InstallTextLookup(&Lookup);
    }
    ~EnglishTexts() {
        InstallTextLookup(nullptr);
        Table() = {};
    }
    EnglishTexts(const EnglishTexts&) = delete;
    EnglishTexts& operator=(const EnglishTexts&) = delete;

  private:
    static std::span<const EnglishText>& Table() {
        static std::span<const EnglishText> table;
        return table;
    }
    static std::string Lookup(const char* context, const char* source) {
        for (const EnglishText& text : Table())
            if (std::string_view(text.context) == context && std::string_view(text.source) == source)
                return text.english;
        return source;
    }
};

} // namespace lq::testing
