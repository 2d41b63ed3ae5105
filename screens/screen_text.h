// Writing formatted text on a screen: every value is formatted into a
// bounded 512-character buffer first and written with its length.

#ifndef KORVANE_SCREENS_SCREEN_TEXT_H
#define KORVANE_SCREENS_SCREEN_TEXT_H

#include <cstddef>

#include "DrawAPI.h"

namespace korvane {

constexpr size_t kScreenTextBytes = 512;

#if defined(__GNUC__)
#define KORVANE_PRINTF_FORMAT(f, a) __attribute__((format(printf, f, a)))
#else
#define KORVANE_PRINTF_FORMAT(f, a)
#endif

// Formats into a zero-filled buffer of kScreenTextBytes (longer results are
// cut) and writes it at (x, y) with the sketchpad's current font, colour and
// alignment.
void WriteText(oapi::Sketchpad &skp, int x, int y, const char *format, ...) KORVANE_PRINTF_FORMAT(4, 5);

} // namespace korvane

#endif // KORVANE_SCREENS_SCREEN_TEXT_H
