#pragma once

#include <QColor>
#include <cstdint>

namespace lq {

// 0x00BBGGRR, red in the low byte; a top byte of 0xFF names a system colour by its index.
using TColor = std::uint32_t;

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clMaroon = 0x000080;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clOlive = 0x008080;
inline constexpr TColor clNavy = 0x800000;
inline constexpr TColor clPurple = 0x800080;
inline constexpr TColor clTeal = 0x808000;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clLime = 0x00FF00;
inline constexpr TColor clYellow = 0x00FFFF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clFuchsia = 0xFF00FF;
inline constexpr TColor clAqua = 0xFFFF00;
inline constexpr TColor clWhite = 0xFFFFFF;

inline constexpr TColor clScrollBar = 0xFF000000;
inline constexpr TColor clAppWorkSpace = 0xFF00000C;
inline constexpr TColor clBtnFace = 0xFF00000F;
inline constexpr TColor clWindow = 0xFF000005;
inline constexpr TColor clWindowText = 0xFF000008;
inline constexpr TColor clBtnShadow = 0xFF000010;
inline constexpr TColor clBtnText = 0xFF000012;
inline constexpr TColor clBtnHighlight = 0xFF000014;
inline constexpr TColor cl3DLight = 0xFF000016;
inline constexpr TColor clHotLight = 0xFF00001A;

constexpr bool IsSystemColor(TColor c) {
    return (c >> 24) == 0xFF;
}

// System colours resolve through the application palette at paint time.
QColor ToQColor(TColor c);

// Each colour byte divided by 3 (integer division); a system colour is resolved first.
TColor DimColor(TColor c);

} // namespace lq
