// The cost of a target with many propellant tanks: one redraw of screen 1
// and one simulation step, at 1,000, 10,000 and 100,000 tanks.

#ifndef KORVANE_BENCH_TANKS_BENCH_H
#define KORVANE_BENCH_TANKS_BENCH_H

#include <functional>
#include <string>

namespace bench {

// Prints the figures side by side with their growth from one tank count to
// the next; seconds(name) is a benchmark's time per iteration (< 0 if it
// did not run).
void PrintTankTable(const std::function<double(const std::string &)> &seconds);

} // namespace bench

#endif // KORVANE_BENCH_TANKS_BENCH_H
