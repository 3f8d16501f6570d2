// Whether the environment leaves the panel a display, judged before Qt is asked to start one.
#include "app/display_start.h"

#include <gtest/gtest.h>

namespace lq {
namespace {

TEST(DisplayStart, OnlyTheX11DefaultWithoutItsDisplayIsJudgedMissing) {
    const struct {
        const char* platform;
        const char* display;
        const char* wayland;
        bool missing;
    } cases[] = {
        {"", "", "", true},           {"", ":0", "", false},          {"", "", "wayland-0", false},
        {"xcb", "", "", true},        {"xcb", "", "wayland-0", true}, {"xcb", ":1", "", false},
        {"offscreen", "", "", false}, {"wayland", "", "", false},     {"vnc", "", "", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(NoDisplayReason(QString::fromLatin1(c.platform), QString::fromLatin1(c.display),
                                  QString::fromLatin1(c.wayland))
                      .isEmpty(),
                  !c.missing)
            << c.platform << " / " << c.display << " / " << c.wayland;
}

} // namespace
} // namespace lq
