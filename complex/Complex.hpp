// SPDX-License-Identifier: MIT
// cplx::Complex: a complex number as a plain pair of IEEE 754 doubles.
//
// Synopsis
//
//   namespace cplx {
//
//   inline constexpr double PI = 3.1415926536;        // ten decimals, not the full double pi
//   inline constexpr double RAD_TO_DEG = 180.0 / PI;
//
//   struct Complex {
//       double re = 0.0;
//       double im = 0.0;
//       constexpr Complex() noexcept = default;
//       constexpr Complex(double re, double im = 0) noexcept;           // implicit: Complex z = 2.5;
//       template <class C> constexpr explicit Complex(const C&) noexcept;   // from std::complex<double>
//       template <class C> constexpr explicit operator C() const noexcept;  // to std::complex<double>
//       constexpr double real() const noexcept;
//       constexpr double imag() const noexcept;
//       constexpr void real(double) noexcept;
//       constexpr void imag(double) noexcept;
//       constexpr Complex& operator+=(const Complex&) noexcept;   // and -=, *=, /=
//   };
//
//   // rectangular arithmetic, comparisons and conjugate
//   constexpr Complex operator+(const Complex&) noexcept;                   // unary
//   constexpr Complex operator-(const Complex&) noexcept;                   // unary
//   constexpr Complex operator+(const Complex&, const Complex&) noexcept;
//   constexpr Complex operator-(const Complex&, const Complex&) noexcept;
//   constexpr Complex operator*(const Complex&, const Complex&) noexcept;
//   constexpr Complex operator/(const Complex&, const Complex&) noexcept;
//   constexpr bool operator==(const Complex&, const Complex&) noexcept;
//   constexpr bool operator!=(const Complex&, const Complex&) noexcept;
//   constexpr Complex conj(const Complex&) noexcept;
//   constexpr double real(const Complex&) noexcept;
//   constexpr double imag(const Complex&) noexcept;
//
//   // a Complex with a plain double, the double used as a real number:
//   // z * 2.0 is two multiplications, 1.0 / z the complex quotient
//   constexpr Complex operator+(const Complex&, double) noexcept;   // and double + Complex
//   constexpr Complex operator-(const Complex&, double) noexcept;   // and double - Complex
//   constexpr Complex operator*(const Complex&, double) noexcept;   // and double * Complex
//   constexpr Complex operator/(const Complex&, double) noexcept;   // and double / Complex
//   constexpr Complex& Complex::operator+=(double) noexcept;        // and -=, *=, /=
//
//   // polar form
//   double mod(const Complex&) noexcept;                  // |z|
//   double abs(const Complex&) noexcept;                  // mod(z), the name generic code calls
//   double arg(const Complex&) noexcept;                  // atan2(im, re): [-pi, pi], radians
//   double argDeg(const Complex&) noexcept;               // arg(z) * RAD_TO_DEG
//   Complex fromPolar(double r, double theta) noexcept;   // r * (cos theta + i sin theta)
//
//   // text form: "3+4i", "-0.28+0.96i", "25", "8i", "i", "-1i"; also read: "(3,4)", "(25)"
//   template <class CharT, class Traits>
//   std::basic_ostream<CharT, Traits>&
//   operator<<(std::basic_ostream<CharT, Traits>&, const Complex&);
//   template <class CharT, class Traits>
//   std::basic_istream<CharT, Traits>&
//   operator>>(std::basic_istream<CharT, Traits>&, Complex&);
//   std::to_chars_result to_chars(char* first, char* last, const Complex&) noexcept;   // shortest
//   std::to_chars_result to_chars(char*, char*, const Complex&, std::chars_format) noexcept;
//   std::to_chars_result to_chars(char*, char*, const Complex&, std::chars_format, int precision) noexcept;
//   std::from_chars_result from_chars(const char* first, const char* last, Complex&,
//                                     std::chars_format = std::chars_format::general) noexcept;
//
//   } // namespace cplx
//
//   template <> struct std::hash<cplx::Complex>;          // consistent with ==
//
// A double converts implicitly to the real number it is, as it does to
// std::complex<double>: `Complex s = 0;`, `z == 1.0` (1 + 0i). Arithmetic with
// a double keeps overloads of its own, which treat it as a real number
// rather than as x + 0i, so that 2.0 * (inf + 0i) stays inf + 0i. The
// conversions to and from std::complex<double> are explicit, and this header
// does not include <complex> for them.

#ifndef CPLX_COMPLEX_HPP
#define CPLX_COMPLEX_HPP

// The library's version; the build reads it from here, so this is the only
// place it is written. CPLX_VERSION is 10000 * major + 100 * minor + patch.
#define CPLX_VERSION_MAJOR 1
#define CPLX_VERSION_MINOR 4
#define CPLX_VERSION_PATCH 0
#define CPLX_VERSION (CPLX_VERSION_MAJOR * 10000 + CPLX_VERSION_MINOR * 100 + CPLX_VERSION_PATCH)

#include <charconv>
#include <cmath>
#include <cstddef>
#include <functional>
#include <istream>
#include <limits>
#include <ostream>
#include <system_error>
#include <type_traits>
#include <utility>

#include "detail/config.hpp"
#include "detail/text.hpp"

// Exact comparisons of doubles are what this header means wherever it makes
// them; a user's -Wfloat-equal is for the user's own code.
#if defined(__GNUC__) || defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wfloat-equal"
#endif

namespace cplx {

// ---------------------------------------------------------------- constants

inline constexpr double PI = 3.1415926536;
inline constexpr double RAD_TO_DEG = 180.0 / PI;

// ---------------------------------------------------------------- the value

struct Complex;

namespace detail {

// A type shaped like std::complex<double>: double parts read through real()
// and imag(), built from two doubles. Recognised by shape so that this header
// need not include <complex>.
template <class C, class = void>
inline constexpr bool complex_like = false;
template <class C>
inline constexpr bool complex_like<C, std::void_t<typename C::value_type, decltype(std::declval<const C&>().real()),
                                                  decltype(std::declval<const C&>().imag())>> =
    !std::is_same_v<C, Complex> && std::is_same_v<typename C::value_type, double> &&
    std::is_same_v<decltype(std::declval<const C&>().real()), double> &&
    std::is_same_v<decltype(std::declval<const C&>().imag()), double> && std::is_constructible_v<C, double, double>;

} // namespace detail

struct Complex {
    double re = 0.0;
    double im = 0.0;

    constexpr Complex() noexcept = default;
    // Implicit from one double, so that code written for std::complex,
    // `Complex s = 0;` or `std::vector<Complex>{1.0, 2.0}`, compiles unchanged.
    constexpr Complex(double real, double imag = 0.0) noexcept : re(real), im(imag) {}

    // Exact both ways, and explicit both ways, so that no mixed expression
    // silently changes type.
    template <class C, std::enable_if_t<detail::complex_like<C>, int> = 0>
    constexpr explicit Complex(const C& z) noexcept : re(z.real()), im(z.imag()) {}
    template <class C, std::enable_if_t<detail::complex_like<C>, int> = 0>
    constexpr explicit operator C() const noexcept {
        return C(re, im);
    }

    // The names that generic code written for std::complex reads.
    constexpr double real() const noexcept { return re; }
    constexpr double imag() const noexcept { return im; }
    constexpr void real(double x) noexcept { re = x; }
    constexpr void imag(double x) noexcept { im = x; }

    constexpr Complex& operator+=(const Complex& z) noexcept;
    constexpr Complex& operator-=(const Complex& z) noexcept;
    constexpr Complex& operator*=(const Complex& z) noexcept;
    constexpr Complex& operator/=(const Complex& z) noexcept;
    constexpr Complex& operator+=(double x) noexcept;
    constexpr Complex& operator-=(double x) noexcept;
    constexpr Complex& operator*=(double x) noexcept;
    constexpr Complex& operator/=(double x) noexcept;
};

namespace detail {

// Constant-evaluable versions of the <cmath> classifiers that the division
// needs; the standard ones are constexpr only from C++23.
#if CPLX_GNU
constexpr double fabs(double x) noexcept { return __builtin_fabs(x); }
constexpr double copysign(double mag, double sgn) noexcept { return __builtin_copysign(mag, sgn); }
constexpr bool isnan(double x) noexcept { return __builtin_isnan(x); }
constexpr bool isinf(double x) noexcept { return __builtin_isinf(x); }
#else
constexpr double fabs(double x) noexcept { return x < 0 ? -x : x + 0.0; }
inline double copysign(double mag, double sgn) noexcept { return std::copysign(mag, sgn); }
constexpr bool isnan(double x) noexcept { return x != x; }
constexpr bool isinf(double x) noexcept {
    return x == std::numeric_limits<double>::infinity() || x == -std::numeric_limits<double>::infinity();
}
#endif

// Sums of two squares within [2^-1000, 2^1000] certify that the textbook
// formulas neither overflow nor lose accuracy to underflow: every product of
// two parts, and every sum of such products, stays below 2^1001, and a product
// that underflows is below 2^-75 of the sum it goes into. A NaN fails too.
// Non-negative doubles order like their bit patterns, so each range test is
// one unsigned subtraction and comparison, and the two share the comparison;
// on the common path that is measurably cheaper than four float comparisons.
constexpr bool safe(double x, double y) noexcept {
#if CPLX_HAS_BIT_CAST
    using u64 = unsigned long long;
    constexpr u64 lo = __builtin_bit_cast(u64, 0x1p-1000);
    constexpr u64 span = __builtin_bit_cast(u64, 0x1p+1000) - lo;
    const u64 dx = __builtin_bit_cast(u64, x) - lo, dy = __builtin_bit_cast(u64, y) - lo;
    return (dx > dy ? dx : dy) <= span;
#else
    return (x >= 0x1p-1000) & (x <= 0x1p+1000) & (y >= 0x1p-1000) & (y <= 0x1p+1000);
#endif
}

constexpr double magnitude(const Complex& z) noexcept { return fabs(z.re) > fabs(z.im) ? fabs(z.re) : fabs(z.im); }

// True during constant evaluation, where an overflow is an error rather than
// an infinity. Where that cannot be told, it says true, which costs a test.
constexpr bool constant_evaluated() noexcept {
#if CPLX_GNU
    return __builtin_is_constant_evaluated();
#elif defined(__cpp_lib_is_constant_evaluated)
    return std::is_constant_evaluated();
#else
    return true;
#endif
}

// Smith's division step with Baudin and Smith's guards ("A Robust Complex
// Division in Scilab", 2012): the real part of (a + ib) / (c + id), given
// r = d / c and den = c + d r, avoiding the spurious underflow of b * r and
// d * (b / c) that the plain Smith method suffers. The paper multiplies by
// t = 1 / den; dividing by den rounds once instead of twice, so that an exact
// quotient such as 1e-300 / 1e-300 comes out exact.
constexpr double smith_part(double a, double b, double c, double d, double r, double den) noexcept {
    if (r != 0) {
        const double br = b * r;
        return br != 0 ? (a + br) / den : a / den + (b / den) * r;
    }
    // d * (b / c) is 0 * inf when a real divisor is tiny beside b; it is 0.
    return (d == 0 ? a : a + d * (b / c)) / den;
}

// The division when the operands are extreme (or zero, infinite or NaN).
// Kept out of line so that the common path stays a handful of instructions.
CPLX_NOINLINE constexpr Complex divide_robust(double a, double b, double c, double d) noexcept {
    constexpr double kMax = std::numeric_limits<double>::max();
    constexpr double kSmall = 0x1p-969; // 2 * smallest normal / eps
    constexpr double kBoost = 0x1p+105; // 2 / eps^2
    double scale = 1.0;
    // Every scaling is by a power of two. The dividend is halved only when the
    // sum of its magnitudes overflows, the one way that a + b r can; both parts
    // are then above 2^969, so the halving is exact (the paper halves whenever
    // the larger part reaches half the maximum, which drops the last bit of a
    // subnormal companion). The divisor is brought below 2^1021 so that
    // c + d r cannot overflow either. The first test is |a| + |b| > max,
    // written so that it cannot overflow.
    if (fabs(a) > kMax - fabs(b)) {
        a *= 0.5;
        b *= 0.5;
        scale *= 2.0;
    }
    if (fabs(c) > 0x1p+1021 || fabs(d) > 0x1p+1021) {
        c *= 0x1p-3;
        d *= 0x1p-3;
        scale *= 0x1p-3;
    }
    if (fabs(a) <= kSmall && fabs(b) <= kSmall) {
        a *= kBoost;
        b *= kBoost;
        scale /= kBoost;
    }
    if (fabs(c) <= kSmall && fabs(d) <= kSmall) {
        c *= kBoost;
        d *= kBoost;
        scale *= kBoost;
    }

    // Smith's method wants the larger part of the divisor first; when that is
    // d, divide (b - ia) by (d - ic) instead, which is the same quotient.
    const bool turn = !(fabs(d) <= fabs(c));
    const double p = turn ? b : a, q = turn ? -a : b, s = turn ? d : c, t = turn ? -c : d;
    const double r = t / s;
    const double den = s + t * r;
    double x = smith_part(p, q, s, t, r, den) * scale;
    double y = smith_part(q, -p, s, t, r, den) * scale;

    // NaN + NaN i from operands that are not both NaN: recover the results of
    // C's Annex G, which std::complex gives too. The scalings above were by
    // positive finite factors, so they kept every sign, zero and infinity.
    if (isnan(x) && isnan(y)) {
        constexpr double inf = std::numeric_limits<double>::infinity();
        const auto finite = [](double v) { return !isinf(v) && !isnan(v); };
        if (c == 0 && d == 0 && (!isnan(a) || !isnan(b))) {
            x = copysign(inf, c) * a;
            y = copysign(inf, c) * b;
        } else if ((isinf(a) || isinf(b)) && finite(c) && finite(d)) {
            a = copysign(isinf(a) ? 1.0 : 0.0, a);
            b = copysign(isinf(b) ? 1.0 : 0.0, b);
            x = inf * (a * c + b * d);
            y = inf * (b * c - a * d);
        } else if ((isinf(c) || isinf(d)) && finite(a) && finite(b)) {
            c = copysign(isinf(c) ? 1.0 : 0.0, c);
            d = copysign(isinf(d) ? 1.0 : 0.0, d);
            x = 0.0 * (a * c + b * d);
            y = 0.0 * (b * c - a * d);
        }
    }
    return {x, y};
}

} // namespace detail

// ------------------------------------------ rectangular arithmetic and tests

constexpr Complex operator+(const Complex& z) noexcept { return z; }
constexpr Complex operator-(const Complex& z) noexcept { return {-z.re, -z.im}; }

constexpr Complex operator+(const Complex& a, const Complex& b) noexcept { return {a.re + b.re, a.im + b.im}; }

constexpr Complex operator-(const Complex& a, const Complex& b) noexcept { return {a.re - b.re, a.im - b.im}; }

namespace detail {

// a b + c d. Where the target fuses, a compiler contracts the textbook sum
// into fma(a, b, c d), which is no longer symmetric: z conj(z) would keep an
// imaginary part of one rounding error. GCC contracts across statements but
// leaves an fma call alone, and fma(a, b, -0) is a b rounded, the sign of a
// zero product included: so under GCC the two products are rounded apart as
// the textbook has them, at no cost. Elsewhere (Clang folds that fma back
// into a product it may then fuse) it is Kahan's form, c d = p + e exactly
// and fma(a, b, p) + e, which is symmetric (the errors cancel exactly) and
// within two units of each part.
constexpr double sum_of_products(double a, double b, double c, double d) noexcept {
#if CPLX_HAS_FMA
    if (!constant_evaluated()) {
#if defined(__GNUC__) && !defined(__clang__)
        return std::fma(a, b, -0.0) + std::fma(c, d, -0.0);
#else
        const double p = c * d, e = std::fma(c, d, -p), s = std::fma(a, b, p);
        return e - e == 0 && e != 0 ? s + e : s; // no error to add where p is exact, infinite or NaN; -0 stays
#endif
    }
#endif
    return a * b + c * d;
}

} // namespace detail

// The imaginary part takes the symmetric form, so that z conj(z) is real; the
// real part is free to fuse.
constexpr Complex operator*(const Complex& a, const Complex& b) noexcept {
    return {a.re * b.re - a.im * b.im, detail::sum_of_products(a.re, b.im, a.im, b.re)};
}

// The textbook quotient, conj(b) * a / |b|^2, whenever both operands are of
// moderate size; that covers all ordinary values and gives the correctly
// rounded result whenever the parts are small integers, as in
// (3+4i)/(3-4i) = -0.28+0.96i. Anything else goes to the scaled algorithm.
constexpr Complex operator/(const Complex& a, const Complex& b) noexcept {
    // A part above 2^500 fails the test below anyway; sending it on before
    // squaring keeps constant evaluation free of overflow.
    if (detail::constant_evaluated() && (detail::magnitude(a) > 0x1p+500 || detail::magnitude(b) > 0x1p+500)) {
        return detail::divide_robust(a.re, a.im, b.re, b.im);
    }
    const double den = b.re * b.re + b.im * b.im;
    if (CPLX_LIKELY(detail::safe(den, a.re * a.re + a.im * a.im))) {
        const double re = a.re * b.re + a.im * b.im;
        const double im = detail::sum_of_products(a.im, b.re, -a.re, b.im); // z / z has no stray imaginary part
#if CPLX_GNU && defined(__SSE2__)
        // Both divisions in one packed instruction: the same two IEEE
        // quotients, for the price of one division.
        if (!detail::constant_evaluated()) {
            using pair = double __attribute__((vector_size(16)));
            const pair q = pair{re, im} / pair{den, den};
            return {q[0], q[1]};
        }
#endif
        return {re / den, im / den};
    }
    return detail::divide_robust(a.re, a.im, b.re, b.im);
}

// Exact comparison, as IEEE defines it: -0 equals +0 and NaN equals nothing.
constexpr bool operator==(const Complex& a, const Complex& b) noexcept { return a.re == b.re && a.im == b.im; }

constexpr bool operator!=(const Complex& a, const Complex& b) noexcept { return !(a == b); }

constexpr Complex conj(const Complex& z) noexcept { return {z.re, -z.im}; }

constexpr double real(const Complex& z) noexcept { return z.re; }
constexpr double imag(const Complex& z) noexcept { return z.im; }

// With a real operand the imaginary part is left alone or scaled, never
// formed from 0 * x: 2.0 * (inf+0i) is inf+0i, where promoting 2.0 to 2+0i
// would give inf+NaN i. A real dividend is divided as the complex quotient.
constexpr Complex operator+(const Complex& a, double x) noexcept { return {a.re + x, a.im}; }
constexpr Complex operator+(double x, const Complex& a) noexcept { return {x + a.re, a.im}; }
constexpr Complex operator-(const Complex& a, double x) noexcept { return {a.re - x, a.im}; }
constexpr Complex operator-(double x, const Complex& a) noexcept { return {x - a.re, -a.im}; }
constexpr Complex operator*(const Complex& a, double x) noexcept { return {a.re * x, a.im * x}; }
constexpr Complex operator*(double x, const Complex& a) noexcept { return {x * a.re, x * a.im}; }
constexpr Complex operator/(const Complex& a, double x) noexcept { return {a.re / x, a.im / x}; }
constexpr Complex operator/(double x, const Complex& a) noexcept { return Complex(x, 0.0) / a; }

constexpr Complex& Complex::operator+=(double x) noexcept { return *this = *this + x; }
constexpr Complex& Complex::operator-=(double x) noexcept { return *this = *this - x; }
constexpr Complex& Complex::operator*=(double x) noexcept { return *this = *this * x; }
constexpr Complex& Complex::operator/=(double x) noexcept { return *this = *this / x; }

constexpr Complex& Complex::operator+=(const Complex& z) noexcept { return *this = *this + z; }
constexpr Complex& Complex::operator-=(const Complex& z) noexcept { return *this = *this - z; }
constexpr Complex& Complex::operator*=(const Complex& z) noexcept { return *this = *this * z; }
constexpr Complex& Complex::operator/=(const Complex& z) noexcept { return *this = *this / z; }

// --------------------------------------------------------------- polar form

namespace detail {

// |z| for parts whose squares would overflow or underflow: bring the larger
// part near 1 by a power of two, which is exact, and undo it on the result.
CPLX_NOINLINE inline double mod_scaled(double re, double im) noexcept {
    const double s = std::fabs(re) > 1 || std::fabs(im) > 1 ? 0x1p-600 : 0x1p+600;
    re *= s;
    im *= s;
    return std::sqrt(re * re + im * im) / s;
}

} // namespace detail

// The root of the summed squares whenever that sum is safely inside the
// normal range; anything else, NaN and infinity included, is scaled first.
inline double mod(const Complex& z) noexcept {
    const double s = z.re * z.re + z.im * z.im;
    return CPLX_LIKELY(detail::safe(s, s)) ? std::sqrt(s) : detail::mod_scaled(z.re, z.im);
}

// The two-argument arc tangent, signed zeros included, as C's carg: the sign
// of a zero imaginary part picks the side of the cut, so arg(-1-0i) is -pi
// and arg(conj(z)) == -arg(z) for every z. log(z).im is exactly this.
inline double arg(const Complex& z) noexcept { return std::atan2(z.im, z.re); }

inline double abs(const Complex& z) noexcept { return mod(z); }

inline double argDeg(const Complex& z) noexcept { return arg(z) * RAD_TO_DEG; }

inline Complex fromPolar(double r, double theta) noexcept { return {std::cos(theta) * r, std::sin(theta) * r}; }

// ---------------------------------------------------------------- text form

// Written piece by piece with the stream's own number formatting, so a field
// width pads only the first piece and precision and notation carry through.
// The "+" goes before every imaginary part without a sign bit, NaN included,
// so that 1+NaN i prints as "1+nani" rather than running the parts together;
// under showpos the stream writes that sign itself.
template <class CharT, class Traits>
std::basic_ostream<CharT, Traits>& operator<<(std::basic_ostream<CharT, Traits>& os, const Complex& z) {
    if (z.im == 0) {
        os << z.re;
    } else if (z.re == 0 && z.im == 1) {
        os << 'i';
    } else if (z.re == 0) {
        os << z.im << 'i';
    } else {
        const bool plus = !std::signbit(z.im) && !(os.flags() & std::ios_base::showpos);
        os << z.re << (plus ? "+" : "") << z.im << 'i';
    }
    return os;
}

// The text form with each part in the shortest form that reads back to the
// same double: "3+4i", "-0.28+0.96i", "i", "-1i", "25".
inline std::to_chars_result to_chars(char* first, char* last, const Complex& z) noexcept {
    return detail::write_text(first, last, z.re, z.im,
                              [](char* f, char* l, double x) { return std::to_chars(f, l, x); });
}

inline std::to_chars_result to_chars(char* first, char* last, const Complex& z, std::chars_format fmt) noexcept {
    return detail::write_text(first, last, z.re, z.im,
                              [fmt](char* f, char* l, double x) { return std::to_chars(f, l, x, fmt); });
}

inline std::to_chars_result to_chars(char* first, char* last, const Complex& z, std::chars_format fmt,
                                     int precision) noexcept {
    return detail::write_text(first, last, z.re, z.im, [fmt, precision](char* f, char* l, double x) {
        return std::to_chars(f, l, x, fmt, precision);
    });
}

// The longest prefix of [first, last) that is a value, in the text form with
// the parts in fmt ("25", "-1i", "i", "3-4i", "1+infi", "nan+2i") or as
// std::complex writes it ("(3,-4)", "(25)"). As for std::from_chars, nothing
// is skipped, z is changed only on success, and an error with no value at
// all leaves ptr at first.
inline std::from_chars_result from_chars(const char* first, const char* last, Complex& z,
                                         std::chars_format fmt = std::chars_format::general) noexcept {
    return detail::read_text<detail::number_reader>(first, last, z.re, z.im, fmt);
}

// Reads one value in the text form or as std::complex writes it, at any
// precision and notation, the parts as std::from_chars reads them (so
// whatever the locale). White space is skipped first when skipws is set, and
// then also between the pieces of "(re,im)", as std::complex's extractor
// does. Characters are taken only while they can still belong to the value,
// so "3+4" followed by anything but 'i' has taken the "+4" when it fails; on
// failure z is unchanged.
template <class CharT, class Traits>
std::basic_istream<CharT, Traits>& operator>>(std::basic_istream<CharT, Traits>& is, Complex& z) {
    return detail::read_stream<detail::number_reader>(is, z.re, z.im);
}

} // namespace cplx

// Equal values hash equal: adding +0 makes -0 and +0 one key. NaN equals
// nothing, so what it hashes to does not matter.
template <>
struct std::hash<cplx::Complex> {
    std::size_t operator()(const cplx::Complex& z) const noexcept {
        const std::hash<double> part;
        const std::size_t a = part(z.re + 0.0), b = part(z.im + 0.0);
        return a ^ (b + static_cast<std::size_t>(0x9e3779b97f4a7c15ull) + (a << 6) + (a >> 2));
    }
};

#if defined(__GNUC__) || defined(__clang__)
#pragma GCC diagnostic pop
#endif

#endif // CPLX_COMPLEX_HPP
