// SPDX-License-Identifier: MIT
// cplx::Complex where code was written for std::complex<double>.
#include <complex>
#include <cstring>
#include <sstream>
#include <unordered_set>
#include <vector>

#include "complex/Complex.hpp"
#include "complex/Functions.hpp"

#include <gtest/gtest.h>

#include "edge_values.hpp"

using cplx::Complex;
using cplx_test::kEdges;
using StdComplex = std::complex<double>;

static_assert(!std::is_convertible_v<StdComplex, Complex> && !std::is_convertible_v<Complex, StdComplex>);
static_assert(!std::is_constructible_v<Complex, std::complex<float>>);
static_assert(Complex(StdComplex(3, -4)) == Complex(3, -4));
static_assert(static_cast<StdComplex>(Complex(3, -4)) == StdComplex(3, -4));
static_assert(Complex(1, 2).real() == 1 && imag(Complex(1, 2)) == 2 && noexcept(abs(Complex())));

namespace {

// Written for std::complex, as generic numerical code is.
template <class Z>
double generic(const Z& z) {
    using std::abs;
    using std::arg;
    using std::conj;
    using std::imag;
    using std::real;
    return abs(z) + 3 * arg(conj(z)) + 5 * z.real() - 7 * z.imag() + 11 * real(z) * imag(z);
}

bool same_bits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

} // namespace

TEST(StdComplex, GenericCodeGivesTheSameResults) {
    for (const Complex z : {Complex(3, 4), Complex(-0.5, 2), Complex(1e300, -1e300), Complex(-7, -0.0)})
        EXPECT_EQ(generic(z), generic(static_cast<StdComplex>(z))) << z;
}

// Every pair of edge values, signed zeros and NaN payloads included, goes
// across and back unchanged; the hash agrees with == on every pair.
TEST(StdComplex, ConversionsAreExactAndHashAgreesWithEquality) {
    const std::hash<Complex> hash;
    for (double re : kEdges)
        for (double im : kEdges) {
            const Complex z(re, im), back(static_cast<StdComplex>(z));
            ASSERT_TRUE(same_bits(back.re, re) && same_bits(back.im, im)) << z;
            ASSERT_TRUE(same_bits(StdComplex(z).real(), re) && same_bits(StdComplex(z).imag(), im)) << z;
            for (double re2 : kEdges)
                for (double im2 : kEdges)
                    if (z == Complex(re2, im2)) {
                        ASSERT_EQ(hash(z), hash(Complex(re2, im2))) << z;
                    }
        }
    const std::unordered_set<Complex> set{{0.0, 0.0}, {-0.0, -0.0}, {0.0, -0.0}, {1, 2}, {2, 1}, {1, 2}};
    EXPECT_EQ(set.size(), 3u);
    EXPECT_EQ(set.count({-0.0, 0.0}), 1u);
}

namespace port {

// A routine written for std::complex<double>, as numerical code is, and
// ported by changing the alias alone: values from plain numbers, compound
// arithmetic with a double, a vector built from doubles, a real base, the
// setters, and std::complex's text read back.
template <class cd>
std::vector<cd> routine(const std::string& text) {
    std::istringstream is(text);
    cd w;
    is >> w; // "(re,im)"
    std::vector<cd> c{1.0, 0.5}, out;
    cd s = 0, t;
    for (const cd& v : c) {
        s += v * w;
        s += 0.25;
    }
    t.real(s.imag());
    t.imag(-2.0);
    out.push_back(s);
    out.push_back(t);
    out.push_back(pow(2.0, w));
    out.push_back(exp(w) / (w == 1.0 ? 2.0 : 3.0));
    return out;
}

} // namespace port

TEST(StdComplex, AGenericRoutinePortsByChangingTheAlias) {
    const auto theirs = port::routine<StdComplex>("(1.5,-0.75)");
    const auto ours = port::routine<Complex>("(1.5,-0.75)");
    ASSERT_EQ(theirs.size(), ours.size());
    for (std::size_t i = 0; i < ours.size(); ++i) {
        const StdComplex d = static_cast<StdComplex>(ours[i]) - theirs[i];
        EXPECT_LE(std::abs(d), 4e-16 * std::abs(theirs[i])) << i << ": " << ours[i];
    }
    EXPECT_EQ(ours[0], Complex(2.75, -1.125));
}
