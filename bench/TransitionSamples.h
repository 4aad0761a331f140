// The sample of 2D transition effects both transition benchmarks measure (plain-buffer layer
// natively, GDI blit layer under Wine), so their figures stay comparable.
#pragma once

namespace bench {

struct TransitionSample {
  int effect, transClass, slider;
};

// Effects of the bars, squares, shapes and tidal families; the cell effects also at their finest.
inline constexpr TransitionSample kTransitionSamples[] = {
    {0, 0, 50},    {1, 1, 50},     {23, 8, 50},    {110, 20, 50},  {118, 20, 50}, {4, 5, 50},
    {5, 5, 50},    {12, 5, 50},    {7, 3, 50},     {10, 4, 50},    {13, 6, 50},   {18, 7, 50},
    {20, 7, 50},   {22, 7, 50},    {130, 23, 50},  {132, 24, 50},  {140, 25, 50}, {142, 26, 50},
    {145, 28, 50}, {132, 24, 100}, {142, 26, 100}, {145, 28, 100},
};

}  // namespace bench
