// SPDX-License-Identifier: MIT
// Random bit patterns through every operation: NaN payloads, infinities,
// subnormals, signed zeros and the largest doubles all turn up. Run under the
// sanitizers, this also shows that nothing is undefined.
#include "complex/Complex.hpp"
#include "complex/Functions.hpp"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <complex>
#include <cstdint>
#include <cstring>
#include <iomanip>
#include <random>
#include <sstream>
#include <string>
#include <system_error>

using cplx::Complex;

namespace {

double from_bits(std::uint64_t bits) {
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
}

std::uint64_t bits_of(double d) {
    std::uint64_t bits;
    std::memcpy(&bits, &d, sizeof bits);
    return bits;
}

// Half the draws are raw bit patterns; the rest favour the exponent
// extremes and special values, which raw bits reach only rarely.
double draw(std::mt19937_64& gen) {
    const std::uint64_t bits = gen();
    switch (bits & 7) {
        case 0:
            return from_bits(bits & 0x800FFFFFFFFFFFFFu); // subnormal or zero
        case 1:
            return from_bits((bits & 0x800FFFFFFFFFFFFFu) | 0x7FE0000000000000u); // near the largest
        case 2:
            return from_bits((bits & 0x800FFFFFFFFFFFFFu) | 0x7FF0000000000000u); // inf or NaN
        case 3:
            return (bits & 8) ? 0.0 : -0.0;
        default:
            return from_bits(bits);
    }
}

bool finite(const Complex& z) { return std::isfinite(z.re) && std::isfinite(z.im); }

} // namespace

TEST(Properties, RandomBitPatterns) {
    std::mt19937_64 gen(20261208);
    for (int i = 0; i < 200000; ++i) {
        const Complex z(draw(gen), draw(gen)), w(draw(gen), draw(gen));

        const Complex cc = conj(conj(z));
        ASSERT_EQ(bits_of(cc.re), bits_of(z.re));
        ASSERT_EQ(bits_of(cc.im), bits_of(z.im));

        if (finite(z)) {
            ASSERT_EQ(z / Complex(1, 0), z) << z;
            ASSERT_EQ(z * Complex(1, 0), z) << z;
        }
        ASSERT_FALSE(mod(z) < 0) << z;

        std::ostringstream os;
        os << z;
        const std::string s = os.str();
        ASSERT_FALSE(s.empty());
        ASSERT_EQ(s.back() == 'i', z.im != 0) << s;

        // The rest must merely be defined; the sanitizers watch them.
        const Complex results[] = {z + w, z - w, z * w, z / w, -z, cplx::fromPolar(z.re, z.im)};
        double sink = arg(z) + argDeg(w) + mod(w);
        for (const Complex& r : results) sink += r.re + r.im;
        static_cast<void>(sink);
        ASSERT_EQ(z == w, z.re == w.re && z.im == w.im);
        ASSERT_NE(z == w, z != w);
    }
}

// A number times its own conjugate is real: the cross terms cancel exactly,
// also where the compiler fuses multiplies into adds. Standard C++17 alone
// cannot tell a constant evaluation, where std::fma is unavailable, from a
// run; so with CPLX_PORTABLE before C++20 on such a target the product is
// the textbook one, and a fusing compiler may leave one rounding error.
TEST(Properties, ProductWithConjugateIsReal) {
    constexpr bool exact = !(cplx::detail::kFma && !CPLX_GNU && __cplusplus < 202002L);
    std::mt19937_64 gen(7);
    std::uniform_real_distribution<double> part(-1e150, 1e150);
    for (int i = 0; i < 10000; ++i) {
        const Complex z(part(gen), part(gen));
        if (exact) {
            ASSERT_EQ((z * conj(z)).im, 0) << z;
        }
        ASSERT_EQ((z - conj(z)).re, 0) << z;
    }
}

// Text written and read back gives the same doubles, but for what the text
// form leaves out: a zero part it does not write comes back as +0, and a NaN
// keeps its sign but not its payload; std::complex's "(re,im)" keeps both
// parts whole. to_chars writes each part as std::to_chars does, and refuses a
// buffer one character too short. The library's own reader of a double gives
// what the standard one gives, where there is one, in every format.
TEST(Properties, TextRoundTrip) {
    using Own = cplx::detail::own_number;
    std::mt19937_64 gen(8);
    const auto part = [](double x) { // a NaN is spelled nan or -nan on every library
        char buf[32];
        return x != x ? std::string(std::signbit(x) ? "-nan" : "nan")
                      : std::string(buf, std::to_chars(buf, buf + sizeof buf, x).ptr);
    };
    const auto same = [](double a, double b) {
        return std::isnan(a) ? std::isnan(b) && std::signbit(a) == std::signbit(b) : bits_of(a) == bits_of(b);
    };
    const auto agree = [&](const std::string& text, std::chars_format fmt) {
        double a = 7, b = 7;
        const char* first = text.data();
        const char* last = first + text.size();
        const std::from_chars_result r = cplx::detail::number_reader::read(first, last, a, fmt);
        const std::from_chars_result o = Own::read(first, last, b, fmt);
        // libstdc++ 12 reads "-nan" as a positive NaN under chars_format::hex
        // alone; ours keeps the sign there too.
        const bool nan_sign = fmt == std::chars_format::hex && std::isnan(a) && std::isnan(b);
        return r.ptr == o.ptr && r.ec == o.ec && (same(a, b) || nan_sign);
    };
    constexpr std::chars_format formats[] = {std::chars_format::general, std::chars_format::scientific,
                                             std::chars_format::fixed, std::chars_format::hex};
    for (int i = 0; i < 100000; ++i) {
        const Complex z(draw(gen), draw(gen));
        const Complex expected(z.im != 0 && z.re == 0 ? 0.0 : z.re, z.im == 0 ? 0.0 : z.im);
        const std::string shortest = z.im == 0                ? part(z.re)
                                     : z.re == 0 && z.im == 1 ? "i"
                                     : z.re == 0              ? part(z.im) + 'i'
                                     : std::signbit(z.im)     ? part(z.re) + part(z.im) + 'i'
                                                              : part(z.re) + '+' + part(z.im) + 'i';
        char buf[64];
        const std::to_chars_result w = cplx::to_chars(buf, buf + sizeof buf, z);
        ASSERT_EQ(std::string(buf, w.ptr), shortest);
        const auto len = static_cast<std::size_t>(w.ptr - buf);
        ASSERT_EQ(cplx::to_chars(buf, buf + len - 1, z).ec, std::errc::value_too_large) << shortest;
        ASSERT_EQ(cplx::to_chars(buf, buf + len, z).ptr, buf + len) << shortest; // and the exact length is enough

        Complex back(7, 7);
        const std::from_chars_result r = cplx::from_chars(buf, w.ptr, back);
        ASSERT_TRUE(r.ec == std::errc{} && r.ptr == w.ptr) << shortest;
        ASSERT_TRUE(same(back.re, expected.re) && same(back.im, expected.im)) << shortest << " read " << back;

        std::stringstream io;
        io << std::setprecision(17) << z;
        Complex streamed(7, 7);
        ASSERT_TRUE(io >> streamed) << io.str();
        ASSERT_TRUE(same(streamed.re, expected.re) && same(streamed.im, expected.im))
            << io.str() << " read " << streamed;

        Complex own(7, 7);
        const std::from_chars_result o =
            cplx::detail::read_text<Own>(buf, w.ptr, own.re, own.im, std::chars_format::general);
        ASSERT_TRUE(o.ptr == r.ptr && o.ec == r.ec && same(own.re, back.re) && same(own.im, back.im)) << shortest;

        const std::string pair = '(' + part(z.re) + ',' + part(z.im) + ')';
        Complex whole(7, 7);
        const std::from_chars_result p = cplx::from_chars(pair.data(), pair.data() + pair.size(), whole);
        ASSERT_TRUE(p.ec == std::errc{} && p.ptr == pair.data() + pair.size()) << pair;
        ASSERT_TRUE(same(whole.re, z.re) && same(whole.im, z.im)) << pair << " read " << whole;
        std::stringstream from_std;
        from_std << std::setprecision(17) << std::complex<double>(z.re, z.im);
        Complex read_std(7, 7);
        ASSERT_TRUE(from_std >> read_std) << from_std.str();
        ASSERT_TRUE(same(read_std.re, z.re) && same(read_std.im, z.im)) << from_std.str() << " read " << read_std;

        char text[400];
        const std::chars_format fmt = formats[gen() % 4];
        const int precision = static_cast<int>(gen() % 30);
        const std::string shortest_part(text, std::to_chars(text, text + sizeof text, z.re, fmt).ptr);
        const std::string with_digits(text, std::to_chars(text, text + sizeof text, z.im, fmt, precision).ptr);
        for (const std::chars_format as : formats) ASSERT_TRUE(agree(shortest_part, as)) << shortest_part;
        ASSERT_TRUE(agree(with_digits, fmt)) << with_digits;
    }
}

// Every elementary function commutes with conjugation, the odd ones with
// negation, and cos and cosh ignore it, bit for bit (any NaN matches any NaN).
TEST(Properties, FunctionsKeepTheirSymmetries) {
    enum Parity { Odd, Even, Neither };
    const struct {
        const char* name;
        Complex (*f)(const Complex&);
        Parity parity;
    } functions[] = {
#define CPLX_FUNCTION(f, parity) {#f, [](const Complex& z) { return cplx::f(z); }, parity}
        CPLX_FUNCTION(sqrt, Neither),  CPLX_FUNCTION(exp, Neither), CPLX_FUNCTION(log, Neither),
        CPLX_FUNCTION(log10, Neither), CPLX_FUNCTION(sin, Odd),     CPLX_FUNCTION(cos, Even),
        CPLX_FUNCTION(tan, Odd),       CPLX_FUNCTION(sinh, Odd),    CPLX_FUNCTION(cosh, Even),
        CPLX_FUNCTION(tanh, Odd),      CPLX_FUNCTION(asin, Odd),    CPLX_FUNCTION(acos, Neither),
        CPLX_FUNCTION(atan, Odd),      CPLX_FUNCTION(asinh, Odd),   CPLX_FUNCTION(acosh, Neither),
        CPLX_FUNCTION(atanh, Odd),
#undef CPLX_FUNCTION
    };
    const auto same = [](double a, double b) { return (std::isnan(a) && std::isnan(b)) || bits_of(a) == bits_of(b); };
    const auto equal = [&](const Complex& a, const Complex& b) { return same(a.re, b.re) && same(a.im, b.im); };
    std::mt19937_64 gen(11);
    for (int i = 0; i < 20000; ++i) {
        const Complex z(draw(gen), draw(gen));
        for (const auto& f : functions) {
            const Complex w = f.f(z);
            ASSERT_TRUE(equal(f.f(conj(z)), conj(w))) << f.name << ' ' << z;
            const Complex negated = f.parity == Odd ? -w : w;
            ASSERT_TRUE(f.parity == Neither || equal(f.f(-z), negated)) << f.name << ' ' << z;
        }
    }
}
