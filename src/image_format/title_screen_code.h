#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "image_format/releases.h"

namespace vantrel {

// The title screen's code around the cry byte, the same 24 bytes in every
// release, in one of two forms. Both start with `movs r0, #0x80` and end
// with the cry call; between them lies a window of 14 bytes that Vantrel
// rewrites in place:
// - stock, as the game comes: the cry byte is the immediate of `movs r0,
//   #species`, so it names species up to 255;
//   08 40 00 06 05 0E 00 2D 5B D1 XX 20 00 21
//   ands r0, r1; lsls r0, #24; lsrs r5, r0, #24; cmp r5, #0; bne skip;
//   movs r0, #XX; movs r1, #0
// - wide: the species is HH * 256 + LL, LL at the cry byte;
//   08 40 5E D1 00 25 HH 20 00 02 LL 30 00 21
//   ands r0, r1; bne skip (the same target); movs r5, #0; movs r0, #HH;
//   lsls r0, #8; adds r0, #LL; movs r1, #0
// `ands` sets the flags `bne` tests, and r5 is 0 after either window, as
// the function needs it.
enum class TitleScreenForm { kStock, kWide };

inline constexpr std::array<std::uint8_t, 2> kCodeBeforeTitleWindow{0x80, 0x20};
inline constexpr std::array<std::uint8_t, 10> kStockCodeBeforeCryByte{0x08, 0x40, 0x00, 0x06, 0x05,
                                                                      0x0E, 0x00, 0x2D, 0x5B, 0xD1};
inline constexpr std::array<std::uint8_t, 3> kStockCodeAfterCryByte{0x20, 0x00, 0x21};
inline constexpr std::array<std::uint8_t, 6> kWideCodeBeforeHighByte{0x08, 0x40, 0x5E,
                                                                     0xD1, 0x00, 0x25};
inline constexpr std::array<std::uint8_t, 3> kWideCodeBeforeCryByte{0x20, 0x00, 0x02};
inline constexpr std::array<std::uint8_t, 3> kWideCodeAfterCryByte{0x30, 0x00, 0x21};
inline constexpr std::array<std::uint8_t, 8> kCodeAfterTitleWindow{0xF8, 0xF7, 0xFD, 0xFD,
                                                                   0x20, 0x7B, 0x00, 0xF0};

// Places in the code: the window, the cry byte and the wide form's high byte.
inline constexpr std::size_t kTitleWindowAt = kCodeBeforeTitleWindow.size();
inline constexpr std::size_t kTitleCryByteAt = kTitleWindowAt + kStockCodeBeforeCryByte.size();
inline constexpr std::size_t kWideHighByteAt = kTitleWindowAt + kWideCodeBeforeHighByte.size();
inline constexpr std::size_t kTitleWindowSize =
    kTitleCryByteAt + 1 + kStockCodeAfterCryByte.size() - kTitleWindowAt;
inline constexpr std::size_t kTitleCodeSize =
    kTitleWindowAt + kTitleWindowSize + kCodeAfterTitleWindow.size();
static_assert(kWideHighByteAt + 1 + kWideCodeBeforeCryByte.size() == kTitleCryByteAt);

// From the cry byte: where the window starts, and the wide form's high byte.
inline constexpr std::int64_t kTitleWindowBeforeCryByte = kTitleCryByteAt - kTitleWindowAt;
inline constexpr std::int64_t kWideHighByteBeforeCryByte = kTitleCryByteAt - kWideHighByteAt;

inline constexpr CodePart kStockTitleParts[] = {
    {0, kCodeBeforeTitleWindow},
    {kTitleWindowAt, kStockCodeBeforeCryByte},
    {kTitleCryByteAt + 1, kStockCodeAfterCryByte},
    {kTitleWindowAt + kTitleWindowSize, kCodeAfterTitleWindow}};
inline constexpr CodePart kWideTitleParts[] = {
    {0, kCodeBeforeTitleWindow},
    {kTitleWindowAt, kWideCodeBeforeHighByte},
    {kWideHighByteAt + 1, kWideCodeBeforeCryByte},
    {kTitleCryByteAt + 1, kWideCodeAfterCryByte},
    {kTitleWindowAt + kTitleWindowSize, kCodeAfterTitleWindow}};
// Both forms, in the order of TitleScreenForm.
inline constexpr std::array<Code, 2> kTitleScreenForms{{
    {kStockTitleParts, kTitleCodeSize, kTitleCryByteAt},
    {kWideTitleParts, kTitleCodeSize, kTitleCryByteAt},
}};

constexpr const Code& CodeOf(TitleScreenForm form) {
  return kTitleScreenForms[static_cast<std::size_t>(form)];
}

// The form that can name internal species number `species`.
constexpr TitleScreenForm FormFor(int species) {
  return species > 0xFF ? TitleScreenForm::kWide : TitleScreenForm::kStock;
}

// The window's 14 bytes in `form`, naming `species`.
std::array<std::uint8_t, kTitleWindowSize> TitleWindowOf(TitleScreenForm form, int species);

// Whether the code's 24 bytes hold a window cut short: neither form stands
// whole, but each byte that both forms fix is the one or the other's.
bool IsHalfWritten(std::span<const std::uint8_t> code);

}  // namespace vantrel
