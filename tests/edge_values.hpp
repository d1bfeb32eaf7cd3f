// SPDX-License-Identifier: MIT
// The edge values that every suite walks.
#ifndef CPLX_TESTS_EDGE_VALUES_HPP
#define CPLX_TESTS_EDGE_VALUES_HPP

#include <array>
#include <cmath>
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

// What a part of a result is: its kind and, but for NaN, its sign.
enum class Kind { NegInf, NegFinite, NegZero, PosZero, PosFinite, PosInf, NaN };

inline Kind kind(double v) {
    if (std::isnan(v)) return Kind::NaN;
    const bool neg = std::signbit(v);
    if (std::isinf(v)) return neg ? Kind::NegInf : Kind::PosInf;
    if (v == 0) return neg ? Kind::NegZero : Kind::PosZero;
    return neg ? Kind::NegFinite : Kind::PosFinite;
}

} // namespace cplx_test

#endif // CPLX_TESTS_EDGE_VALUES_HPP
