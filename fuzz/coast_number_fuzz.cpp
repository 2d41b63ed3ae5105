// The fast point-line reader against sscanf("%lf %lf"): for any line (of the
// lengths a coastline file can hold) both coordinates must be bit for bit
// what sscanf stores, and the stored units what truncation gives.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "map/coast_number.h"
#include "map/coastline_reader.h"

namespace {
bool SameDouble(double a, double b)
{
    if (std::isnan(a) || std::isnan(b))
        return std::isnan(a) && std::isnan(b);
    return std::memcmp(&a, &b, sizeof(a)) == 0;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    char line[korvane::kCoastLineMaxChars + 1];
    size_t n = size < korvane::kCoastLineMaxChars ? size : korvane::kCoastLineMaxChars;
    std::memcpy(line, data, n);
    line[n] = '\0';

    double lon = 0.0, lat = 0.0;
    std::sscanf(line, "%lf %lf", &lon, &lat);
    korvane::CoastPoint fast = korvane::ReadPointLine(line);
    if (!SameDouble(fast.longitudeDeg, lon) || !SameDouble(fast.latitudeDeg, lat))
        std::abort();
    if (korvane::ToStoredUnits(fast.longitudeDeg, 1000.0) != korvane::ToStoredUnits(lon, 1000.0))
        std::abort();

    long count = std::strtol(line, nullptr, 10);
    int32_t expected = count > INT32_MAX ? INT32_MAX : count < INT32_MIN ? INT32_MIN : static_cast<int32_t>(count);
    if (korvane::ReadCountLine(line) != expected)
        std::abort();
    return 0;
}
