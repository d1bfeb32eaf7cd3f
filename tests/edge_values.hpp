// SPDX-License-Identifier: MIT
// The edge values that every suite walks.
#ifndef CPLX_TESTS_EDGE_VALUES_HPP
#define CPLX_TESTS_EDGE_VALUES_HPP

#include <array>
#include <limits>

namespace cplx_test {

using lim = std::numeric_limits<double>;

// clang-format off
inline constexpr std::array<double, 16> kEdges = {
    0.0, -0.0, 1.0, -1.0, 3.5, -0.1,
    lim::min(), lim::min() / 4, lim::denorm_min(), -lim::denorm_min(),
    lim::max(), -lim::max(), lim::infinity(), -lim::infinity(),
    lim::quiet_NaN(), -lim::quiet_NaN()};
// clang-format on

} // namespace cplx_test

#endif // CPLX_TESTS_EDGE_VALUES_HPP
