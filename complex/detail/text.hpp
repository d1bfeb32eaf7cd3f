// SPDX-License-Identifier: MIT
// The text form's machinery behind cplx::to_chars, from_chars and
// operator>>: the writer, the parser of a character range, the stream reader,
// and the reader of a single double they stand on, which is std::from_chars
// where the standard library has one for double and our own where it has
// not. Reading is exact: each part is rounded once, to nearest with ties to
// even, however long its text, and both readers give the same doubles and the
// same errors. Nothing here allocates, consults a locale for a number (a
// stream's locale only tells white space inside "(re,im)"), touches errno, or
// takes a character past the end of the value.

#ifndef CPLX_DETAIL_TEXT_HPP
#define CPLX_DETAIL_TEXT_HPP

#include <cfloat>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <ios>
#include <istream>
#include <limits>
#include <locale>
#include <system_error>
#include <type_traits>
#include <utility>

#include "config.hpp"

// Exact comparisons of doubles are what this header means wherever it makes
// them, and every function here walks a character range by pointer, as
// std::from_chars itself does.
CPLX_DIAGNOSTICS_BEGIN

namespace cplx::detail {

constexpr char ascii_lower(char c) noexcept { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
constexpr bool ascii_digit(char c) noexcept { return c >= '0' && c <= '9'; }
constexpr int hex_value(char c) noexcept {
    return ascii_digit(c) ? c - '0' : ascii_lower(c) >= 'a' && ascii_lower(c) <= 'f' ? ascii_lower(c) - 'a' + 10 : -1;
}

// A double's exact decimal expansion, and a midpoint's, has at most 767
// significant digits, so the first 800 and whether any digit after them is
// non-zero decide every rounding.
inline constexpr int kMaxDigits = 800;

// ------------------------------------------------------------ one double

// The standard reader, named through a template so that it is looked up only
// where it is used.
struct std_number {
    template <class T>
    static std::from_chars_result read(const char* first, const char* last, T& x, std::chars_format fmt) noexcept {
        return std::from_chars(first, last, x, fmt);
    }
};

// Whether std::from_chars reads a T: libraries shipped without the
// floating-point overloads long after C++17 (libc++ before 20, for one).
template <class T, class = void>
inline constexpr bool std_reads = false;
template <class T>
inline constexpr bool
    std_reads<T, std::void_t<decltype(std::from_chars(std::declval<const char*>(), std::declval<const char*>(),
                                                      std::declval<T&>(), std::chars_format{}))>> = true;

// A non-negative integer below 2^2816 in 32-bit limbs, with just what the
// decimal reader needs. The largest it holds is about 5^1124 * 2^55 (a part
// of 10^-1124 scaled for a quotient of 55 bits), under 2^2666, and then
// shifted by under 32 bits and given a zero top limb for the division.
class big_uint {
public:
    void set(std::uint32_t v) noexcept {
        limb_[0] = v;
        size_ = v != 0 ? 1 : 0;
    }
    void mul_add(std::uint32_t m, std::uint32_t a) noexcept {
        std::uint64_t carry = a;
        for (int i = 0; i < size_; ++i) {
            carry += static_cast<std::uint64_t>(limb_[i]) * m;
            limb_[i] = static_cast<std::uint32_t>(carry);
            carry >>= 32;
        }
        if (carry != 0) limb_[size_++] = static_cast<std::uint32_t>(carry);
    }
    void mul_pow5(long long e) noexcept {
        constexpr std::uint32_t kPow5_13 = 1220703125; // the largest power of 5 below 2^32
        for (; e >= 13; e -= 13) mul_add(kPow5_13, 0);
        std::uint32_t m = 1;
        for (; e > 0; --e) m *= 5;
        mul_add(m, 0);
    }
    void shl(int bits) noexcept {
        const int words = bits / 32, rest = bits % 32;
        if (size_ == 0) return;
        limb_[size_] = 0;
        for (int i = size_; i >= 0; --i) {
            const std::uint32_t low = i > 0 && rest != 0 ? limb_[i - 1] >> (32 - rest) : 0;
            limb_[i + words] = (limb_[i] << rest) | low;
        }
        for (int i = 0; i < words; ++i) limb_[i] = 0;
        size_ += words + 1;
        trim();
    }
    int bits() const noexcept {
        if (size_ == 0) return 0;
        int n = 32 * (size_ - 1);
        for (std::uint32_t top = limb_[size_ - 1]; top != 0; top >>= 1) ++n;
        return n;
    }
    bool zero() const noexcept { return size_ == 0; }

    // The quotient by d, which must fit in 64 bits; *this becomes the
    // remainder, or at least as zero as it (shifted left). Knuth's algorithm
    // D (TAOCP vol. 2, 4.3.1) on 32-bit digits.
    std::uint64_t divide(big_uint d) noexcept {
        constexpr std::uint64_t kBase = std::uint64_t{1} << 32;
        const int n = d.size_;
        if (size_ < n) return 0;
        int shift = 0; // normalise: the divisor's top digit gets its top bit set
        while ((d.limb_[n - 1] << shift & 0x80000000u) == 0) ++shift;
        d.shl(shift);
        shl(shift);
        limb_[size_] = 0;
        const int m = size_ - n;
        const std::uint64_t top = d.limb_[n - 1], next = n > 1 ? d.limb_[n - 2] : 0;
        std::uint64_t q = 0;
        for (int j = m; j >= 0; --j) {
            const std::uint64_t u = static_cast<std::uint64_t>(limb_[j + n]) << 32 | limb_[j + n - 1];
            std::uint64_t qhat = u / top, rhat = u % top;
            const std::uint64_t below = n > 1 ? limb_[j + n - 2] : 0;
            while (qhat >= kBase || qhat * next > (rhat << 32 | below)) {
                --qhat;
                rhat += top;
                if (rhat >= kBase) break;
            }
            // limb_[j, j + n] -= qhat * d, adding d back once if that went negative.
            std::uint64_t carry = 0, borrow = 0;
            for (int i = 0; i <= n; ++i) {
                const std::uint64_t p = qhat * (i < n ? d.limb_[i] : 0) + carry;
                carry = p >> 32;
                const std::uint64_t t = static_cast<std::uint64_t>(limb_[i + j]) - (p & 0xFFFFFFFFu) - borrow;
                limb_[i + j] = static_cast<std::uint32_t>(t);
                borrow = t >> 63;
            }
            if (borrow != 0) {
                --qhat;
                std::uint64_t sum = 0;
                for (int i = 0; i <= n; ++i) {
                    sum += static_cast<std::uint64_t>(limb_[i + j]) + (i < n ? d.limb_[i] : 0);
                    limb_[i + j] = static_cast<std::uint32_t>(sum);
                    sum >>= 32;
                }
            }
            q = q << 32 | qhat;
        }
        size_ = n;
        trim();
        return q;
    }

private:
    void trim() noexcept {
        while (size_ > 0 && limb_[size_ - 1] == 0) --size_;
    }
    std::uint32_t limb_[88];
    int size_ = 0;
};

// ±(q + f) * 2^exp2 to the nearest double, ties to even, where 0 <= f < 1
// and f is non-zero exactly when `sticky`; q >= 2^53 whenever sticky. As
// std::from_chars: a result that rounds to infinity or to zero is out of
// range, and x is then left alone.
inline std::errc round_to_double(std::uint64_t q, long long exp2, bool sticky, bool minus, double& x) noexcept {
    constexpr std::uint64_t kHidden = std::uint64_t{1} << 53;
    // q to [2^53, 2^54): 53 bits and a rounding bit.
    for (; q >= 2 * kHidden; ++exp2) {
        sticky |= (q & 1) != 0;
        q >>= 1;
    }
    for (; q < kHidden; --exp2) q <<= 1;
    // Below the normal range the rounding bit is worth 2^-1075.
    if (exp2 < -1075) {
        const long long shift = -1075 - exp2;
        sticky |= shift >= 64 || (q & ((std::uint64_t{1} << shift) - 1)) != 0;
        q = shift >= 64 ? 0 : q >> shift;
        exp2 = -1075;
    }
    if (exp2 > 971) return std::errc::result_out_of_range;
    std::uint64_t m = q >> 1;
    if ((q & 1) != 0 && (sticky || (m & 1) != 0)) ++m;
    // The hidden bit of m carries into the exponent field, and a rounding
    // that reaches 2^53 carries one further, as it should.
    const std::uint64_t bits = (static_cast<std::uint64_t>(exp2 + 1075) << 52) + m;
    if (bits == 0 || bits >= 0x7FF0000000000000u) return std::errc::result_out_of_range;
    const std::uint64_t sign = minus ? std::uint64_t{1} << 63 : 0;
    const std::uint64_t all = bits | sign;
    std::memcpy(&x, &all, sizeof x);
    return {};
}

// The decimal digits d[0, n) (values, not characters) times 10^exp10.
inline std::errc decimal_to_double(const char* d, int n, long long exp10, bool minus, double& x) noexcept {
    while (n > 0 && d[n - 1] == 0) {
        --n;
        ++exp10;
    }
    if (n == 0) {
        x = minus ? -0.0 : 0.0;
        return {};
    }
    // The value lies in [10^(k-1), 10^k): from 10^309 up, or below 10^-324
    // (under half the smallest subnormal), it is out of range for certain.
    const long long k = n + exp10;
    if (k > 309 || k < -323) return std::errc::result_out_of_range;
#if FLT_EVAL_METHOD == 0
    // Both factors exact and one rounding: Clinger's fast path.
    if (n <= 15 && exp10 >= -22 && exp10 <= 22) {
        constexpr double pow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                    1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
        std::uint64_t v = 0;
        for (int i = 0; i < n; ++i) v = v * 10 + static_cast<std::uint64_t>(d[i]);
        const double s = static_cast<double>(v);
        const double r = exp10 >= 0 ? s * pow10[exp10] : s / pow10[-exp10];
        x = minus ? -r : r;
        return {};
    }
#endif
    // The quotient num / den = D * 5^exp10, scaled by 2^t to 54 or 55 bits;
    // the remainder is the sticky bit.
    big_uint num, den;
    num.set(0);
    for (int i = 0; i < n;) {
        std::uint32_t chunk = 0, scale = 1;
        for (int j = 0; j < 9 && i < n; ++j, ++i) {
            chunk = chunk * 10 + static_cast<std::uint32_t>(d[i]);
            scale *= 10;
        }
        num.mul_add(scale, chunk);
    }
    den.set(1);
    if (exp10 >= 0) {
        num.mul_pow5(exp10);
    } else {
        den.mul_pow5(-exp10);
    }
    const int t = 54 - (num.bits() - den.bits());
    if (t > 0) {
        num.shl(t);
    } else {
        den.shl(-t);
    }
    const std::uint64_t q = num.divide(den);
    return round_to_double(q, exp10 - t, !num.zero(), minus, x);
}

// What std::from_chars reads for a double, in every format, with the same
// results; used where the library has no such overload.
struct own_number {
    static std::from_chars_result read(const char* first, const char* last, double& x, std::chars_format fmt) noexcept {
        const char* p = first;
        const bool minus = p != last && *p == '-';
        if (minus) ++p;
        if (p == last) return {first, std::errc::invalid_argument};
        if (ascii_lower(*p) == 'i' || ascii_lower(*p) == 'n') {
            const char* end = special(p, last, x, minus);
            return {end == p ? first : end, end == p ? std::errc::invalid_argument : std::errc{}};
        }
        const std::from_chars_result r =
            fmt == std::chars_format::hex ? hex(p, last, x, minus) : decimal(p, last, x, minus, fmt);
        return r.ptr == nullptr ? std::from_chars_result{first, r.ec} : r;
    }

private:
    static bool word(const char*& p, const char* last, const char* w) noexcept {
        const char* q = p;
        for (; *w != 0; ++w, ++q)
            if (q == last || ascii_lower(*q) != *w) return false;
        p = q;
        return true;
    }

    // "inf", "infinity", "nan", "nan(letters, digits and _)", any case.
    static const char* special(const char* p, const char* last, double& x, bool minus) noexcept {
        if (word(p, last, "inf")) {
            word(p, last, "inity");
            x = minus ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity();
            return p;
        }
        if (!word(p, last, "nan")) return p;
        if (p != last && *p == '(') {
            const char* q = p + 1;
            while (q != last && (ascii_digit(*q) || (ascii_lower(*q) >= 'a' && ascii_lower(*q) <= 'z') || *q == '_'))
                ++q;
            if (q != last && *q == ')') p = q + 1;
        }
        x = minus ? -std::numeric_limits<double>::quiet_NaN() : std::numeric_limits<double>::quiet_NaN();
        return p;
    }

    // An exponent's digits at p, saturating far outside any double's range;
    // p is left alone when there are none.
    static bool exponent(const char*& p, const char* last, long long& e) noexcept {
        const char* q = p;
        const bool minus = q != last && *q == '-';
        if (q != last && (*q == '-' || *q == '+')) ++q;
        if (q == last || !ascii_digit(*q)) return false;
        long long v = 0;
        for (; q != last && ascii_digit(*q); ++q)
            if (v < 1000000000) v = v * 10 + (*q - '0');
        e = minus ? -v : v;
        p = q;
        return true;
    }

    static std::from_chars_result decimal(const char* p, const char* last, double& x, bool minus,
                                          std::chars_format fmt) noexcept {
        char d[kMaxDigits + 1];
        int n = 0;
        long long exp10 = 0;
        bool any = false, point = false, sticky = false;
        for (; p != last; ++p) {
            const char c = *p;
            if (c == '.' && !point) {
                point = true;
                continue;
            }
            if (!ascii_digit(c)) break;
            any = true;
            if (n == 0 && c == '0') {
                exp10 -= point ? 1 : 0;
            } else if (n < kMaxDigits) {
                d[n++] = static_cast<char>(c - '0');
                exp10 -= point ? 1 : 0;
            } else {
                exp10 += point ? 0 : 1;
                sticky |= c != '0';
            }
        }
        if (!any) return {nullptr, std::errc::invalid_argument};
        const bool scientific = (fmt & std::chars_format::scientific) == std::chars_format::scientific;
        const bool fixed = (fmt & std::chars_format::fixed) == std::chars_format::fixed;
        long long e = 0;
        const char* at = p;
        if (scientific && at != last && ascii_lower(*at) == 'e' && exponent(++at, last, e)) {
            p = at;
            exp10 += e;
        } else if (!fixed) {
            return {nullptr, std::errc::invalid_argument}; // scientific alone needs the exponent
        }
        if (sticky) {
            d[n++] = 1;
            --exp10;
        }
        double v = 0;
        const std::errc ec = decimal_to_double(d, n, exp10, minus, v);
        if (ec == std::errc{}) x = v;
        return {p, ec};
    }

    // Hexadecimal digits, a point and a binary exponent, without "0x": the
    // first 16 significant digits and a sticky bit for the rest.
    static std::from_chars_result hex(const char* p, const char* last, double& x, bool minus) noexcept {
        std::uint64_t m = 0;
        long long exp2 = 0;
        int kept = 0;
        bool any = false, point = false, sticky = false;
        for (; p != last; ++p) {
            if (*p == '.' && !point) {
                point = true;
                continue;
            }
            const int v = hex_value(*p);
            if (v < 0) break;
            any = true;
            if (kept < 16 && (kept > 0 || v != 0)) {
                m = m * 16 + static_cast<std::uint64_t>(v);
                ++kept;
                exp2 -= point ? 4 : 0;
            } else if (kept == 0) {
                exp2 -= point ? 4 : 0;
            } else {
                exp2 += point ? 0 : 4;
                sticky |= v != 0;
            }
        }
        if (!any) return {nullptr, std::errc::invalid_argument};
        long long e = 0;
        const char* at = p;
        if (at != last && ascii_lower(*at) == 'p' && exponent(++at, last, e)) {
            p = at;
            exp2 += e;
        }
        if (m == 0) {
            x = minus ? -0.0 : 0.0;
            return {p, {}};
        }
        double v = 0;
        const std::errc ec = round_to_double(m, exp2, sticky, minus, v);
        if (ec == std::errc{}) x = v;
        return {p, ec};
    }
};

// The reader every part goes through.
using number_reader = std::conditional_t<std_reads<double>, std_number, own_number>;

// ------------------------------------------------------------ writing

// The text form of re + im i into [first, last), each part written by
// put(first, last, x).
template <class Put>
std::to_chars_result write_text(char* first, char* last, double re, double im, Put put_number) noexcept {
    constexpr std::to_chars_result too_large{nullptr, std::errc::value_too_large};
    const auto append = [&](char*& at, char c) noexcept {
        if (at == last) return false;
        *at++ = c;
        return true;
    };
    // A NaN is "nan" or "-nan" whatever the library's to_chars makes of it
    // (libc++ writes "-nan(ind)"), as the stream and the formatters write it.
    const auto put = [&](char* f, char* l, double x) noexcept -> std::to_chars_result {
        if (x == x) return put_number(f, l, x);
        const bool minus = std::signbit(x);
        const char* text = minus ? "-nan" : "nan";
        const std::ptrdiff_t n = minus ? 4 : 3;
        if (l - f < n) return {l, std::errc::value_too_large};
        for (std::ptrdiff_t i = 0; i < n; ++i) f[i] = text[i];
        return {f + n, {}};
    };
    if (im == 0) return put(first, last, re);
    if (re == 0 && im == 1) return append(first, 'i') ? std::to_chars_result{first, {}} : too_large;
    if (re != 0) {
        const std::to_chars_result r = put(first, last, re);
        if (r.ec != std::errc{}) return r;
        first = r.ptr;
        if (!std::signbit(im) && !append(first, '+')) return {last, std::errc::value_too_large};
    }
    std::to_chars_result r = put(first, last, im);
    if (r.ec == std::errc{} && !append(r.ptr, 'i')) return {last, std::errc::value_too_large};
    return r;
}

// ------------------------------------------------------------ a range

// One part in [first, last): a number as Number reads it, but with no sign of
// its own when it follows the "+" or "-" between the parts.
template <class Number>
std::from_chars_result read_part(const char* first, const char* last, double& x, bool signed_,
                                 std::chars_format fmt) noexcept {
    if (!signed_ && first != last && (*first == '-' || *first == '+')) return {first, std::errc::invalid_argument};
    return Number::read(first, last, x, fmt);
}

// "(re,im)" or "(re)" at first, the way std::complex writes a value; no white
// space, since from_chars skips none.
template <class Number>
std::from_chars_result read_pair(const char* first, const char* last, double& re, double& im,
                                 std::chars_format fmt) noexcept {
    constexpr std::from_chars_result none{nullptr, std::errc::invalid_argument};
    double a = 0, b = 0;
    const std::from_chars_result r = Number::read(first + 1, last, a, fmt);
    const char* p = r.ptr;
    if (p == first + 1 || p == last) return {first, none.ec};
    std::errc ec = r.ec;
    if (*p == ',') {
        const std::from_chars_result s = Number::read(p + 1, last, b, fmt);
        if (s.ptr == p + 1) return {first, none.ec};
        p = s.ptr;
        if (ec == std::errc{}) ec = s.ec;
    }
    if (p == last || *p != ')') return {first, none.ec};
    if (ec == std::errc{}) {
        re = a;
        im = b;
    }
    return {p + 1, ec};
}

// The longest prefix of [first, last) that is a value; re and im are set only
// on success.
template <class Number>
std::from_chars_result read_text(const char* first, const char* last, double& re, double& im,
                                 std::chars_format fmt) noexcept {
    if (first != last && *first == '(') return read_pair<Number>(first, last, re, im, fmt);
    double a = 0, b = 0;
    const std::from_chars_result r = read_part<Number>(first, last, a, true, fmt);
    if (r.ptr == first) {
        if (first != last && *first == 'i') {
            re = 0;
            im = 1;
            return {first + 1, {}};
        }
        return {first, std::errc::invalid_argument};
    }
    const char* p = r.ptr;
    if (p != last && *p == 'i') {
        if (r.ec == std::errc{}) {
            re = 0;
            im = a;
        }
        return {p + 1, r.ec};
    }
    if (p != last && (*p == '+' || *p == '-')) {
        const std::from_chars_result s = read_part<Number>(p + 1, last, b, false, fmt);
        if (s.ptr != p + 1 && s.ptr != last && *s.ptr == 'i') {
            const std::errc ec = r.ec != std::errc{} ? r.ec : s.ec;
            if (ec == std::errc{}) {
                re = a;
                im = *p == '-' ? -b : b;
            }
            return {s.ptr + 1, ec};
        }
    }
    if (r.ec == std::errc{}) {
        re = a;
        im = 0;
    }
    return {p, r.ec};
}

// ------------------------------------------------------------ a stream

// Reads the text form from a stream buffer one character at a time, taking
// only characters that belong to the value, and turns each part into text
// that Number reads exactly. Nothing is allocated: a decimal part keeps its
// first kMaxDigits significant digits and a sticky digit for any non-zero
// digit after them.
template <class Number, class CharT, class Traits>
class text_reader {
public:
    // `space`: the stream, whose locale tells white space, when white space
    // may come between the pieces of "(re,im)"; else null.
    text_reader(std::basic_streambuf<CharT, Traits>& buf, const std::ios_base* space) noexcept
        : buf_(buf), space_(space) {}

    bool at_end() const noexcept { return at_end_; }

    // Fills re and im; false when the text is not a whole value.
    bool read(double& re, double& im) {
        double a = 0, b = 0;
        if (peek() == '(') {
            bump();
            if (!bracketed(a)) return false;
            if (peek() == ',') {
                bump();
                if (!bracketed(b)) return false;
            }
            if (peek() != ')') return false;
            bump();
            re = a;
            im = b;
            return true;
        }
        bool unit = false; // the imaginary unit after "inf" was read already
        if (peek() == 'i') {
            bump();
            if (ascii_lower(peek()) != 'n') {
                re = 0;
                im = 1;
                return true;
            }
            if (!number(a, true, true, unit)) return false;
        } else if (!number(a, true, false, unit)) {
            return false;
        }
        if (!unit && peek() == 'i') {
            bump();
            unit = true;
        }
        if (unit) {
            re = 0;
            im = a;
            return true;
        }
        const char sign = peek();
        if (sign != '+' && sign != '-') {
            re = a;
            im = 0;
            return true;
        }
        bump();
        if (!number(b, false, false, unit)) return false;
        if (!unit) {
            if (peek() != 'i') return false;
            bump();
        }
        re = a;
        im = sign == '-' ? -b : b;
        return true;
    }

private:
    // The next character if it is ASCII, else 0; the text form is all ASCII.
    char peek() {
        const typename Traits::int_type c = buf_.sgetc();
        if (Traits::eq_int_type(c, Traits::eof())) {
            at_end_ = true;
            return 0;
        }
        const auto code = static_cast<unsigned long>(Traits::to_int_type(Traits::to_char_type(c)));
        return code < 128 ? static_cast<char>(code) : 0;
    }
    void bump() { buf_.sbumpc(); }
    static bool digit(char c, bool hex) noexcept { return hex ? hex_value(c) >= 0 : ascii_digit(c); }
    bool take(char c) {
        if (ascii_lower(peek()) != c) return false;
        bump();
        return true;
    }
    bool word(const char* w) {
        for (; *w; ++w)
            if (!take(*w)) return false;
        return true;
    }

    // White space, as std::complex's extractor skips it between the pieces
    // of "(re,im)" under skipws.
    void skip_space() {
        if (space_ == nullptr) return;
        const std::locale loc = space_->getloc();
        const std::ctype<CharT>& ctype = std::use_facet<std::ctype<CharT>>(loc);
        for (;; bump()) {
            const typename Traits::int_type c = buf_.sgetc();
            if (Traits::eq_int_type(c, Traits::eof())) {
                at_end_ = true;
                return;
            }
            if (!ctype.is(std::ctype_base::space, Traits::to_char_type(c))) return;
        }
    }

    // A signed real number between the brackets, white space around it.
    bool bracketed(double& x) {
        skip_space();
        bool unit = false;
        if (!number(x, true, false, unit) || unit) return false;
        skip_space();
        return true;
    }

    // One part, optionally signed, into x. `i_taken`: a leading 'i' was
    // read already. `unit`: set when the part ended in "inf" followed by the
    // imaginary unit, which only the character after that 'i' tells apart
    // from "infinity".
    bool number(double& x, bool signed_, bool i_taken, bool& unit) {
        char text[kMaxDigits + 16];
        int n = 0;
        if (signed_ && !i_taken && (peek() == '-' || peek() == '+')) {
            if (peek() == '-') text[n++] = '-';
            bump();
        }
        const char c = ascii_lower(peek());
        std::chars_format fmt = std::chars_format::general;
        if (i_taken || c == 'i') {
            if (!(i_taken || take('i')) || !word("nf")) return false;
            if (peek() == 'i') {
                bump();
                if (ascii_lower(peek()) == 'n') {
                    if (!word("nity")) return false;
                } else {
                    unit = true;
                }
            }
            n += copy("inf", text + n);
        } else if (c == 'n') {
            if (!word("nan")) return false;
            if (take('(')) {
                for (char d = ascii_lower(peek()); d != ')'; d = ascii_lower(peek())) {
                    if (!(digit(d, false) || (d >= 'a' && d <= 'z') || d == '_')) return false;
                    bump();
                }
                bump();
            }
            n += copy("nan", text + n);
        } else if (c != '0') {
            if (!decimal(text, n, false)) return false;
        } else {
            bump(); // the '0', which may start "0x"
            if (ascii_lower(peek()) == 'x') {
                bump();
                fmt = std::chars_format::hex;
                if (!hex_digits(text, n)) return false;
            } else if (!decimal(text, n, true)) {
                return false;
            }
        }
        const std::from_chars_result r = Number::read(text, text + n, x, fmt);
        return r.ec == std::errc{} && r.ptr == text + n;
    }

    static int copy(const char* s, char* out) noexcept {
        int n = 0;
        for (; s[n]; ++n) out[n] = s[n];
        return n;
    }

    // A hexadecimal significand and binary exponent, after the "0x": no
    // writer makes one longer than the buffer, so a longer one is refused.
    bool hex_digits(char* text, int& n) {
        bool any = false;
        for (char c = peek(); digit(c, true) || c == '.' || ascii_lower(c) == 'p'; c = peek()) {
            if (n == kMaxDigits) return false;
            text[n++] = c;
            bump();
            any |= digit(c, true);
            if (ascii_lower(c) == 'p') {
                if (peek() == '+' || peek() == '-') {
                    text[n++] = peek();
                    bump();
                }
                return any && exponent_digits(text, n);
            }
        }
        return any;
    }

    bool exponent_digits(char* text, int& n) {
        bool any = false;
        for (char c = peek(); digit(c, false); c = peek(), any = true) {
            if (n < kMaxDigits + 12) text[n++] = c; // past 10 digits the value is 0 or inf anyway
            bump();
        }
        return any;
    }

    // A decimal number, rewritten as significant digits and an exponent.
    // `zero`: a leading '0' was read already.
    bool decimal(char* text, int& n, bool zero) {
        const int start = n;
        long long exp10 = 0;
        bool any = zero, sticky = false, point = false;
        for (char c = peek();; c = peek()) {
            if (c == '.' && !point) {
                point = true;
            } else if (digit(c, false)) {
                any = true;
                if (n == start && c == '0') {
                    exp10 -= point ? 1 : 0;
                } else if (n - start < kMaxDigits) {
                    text[n++] = c;
                    exp10 -= point ? 1 : 0;
                } else {
                    exp10 += point ? 0 : 1;
                    sticky |= c != '0';
                }
            } else {
                break;
            }
            bump();
        }
        if (!any) return false;
        if (sticky) {
            text[n++] = '1';
            --exp10;
        }
        if (n == start) text[n++] = '0';
        if (ascii_lower(peek()) == 'e') {
            bump();
            const bool minus = peek() == '-';
            if (minus || peek() == '+') bump();
            long long e = 0;
            bool digits = false;
            for (char c = peek(); digit(c, false); c = peek(), digits = true) {
                if (e < 1000000000) e = e * 10 + (c - '0');
                bump();
            }
            if (!digits) return false;
            exp10 += minus ? -e : e;
        }
        // Far outside the double range either way; the reader says so.
        exp10 = exp10 < -99999 ? -99999 : exp10 > 99999 ? 99999 : exp10;
        text[n++] = 'e';
        const std::to_chars_result r = std::to_chars(text + n, text + kMaxDigits + 16, exp10);
        n = static_cast<int>(r.ptr - text);
        return true;
    }

    std::basic_streambuf<CharT, Traits>& buf_;
    const std::ios_base* space_;
    bool at_end_ = false;
};

// operator>> with Number reading each part: re and im change only on success.
template <class Number, class CharT, class Traits>
std::basic_istream<CharT, Traits>& read_stream(std::basic_istream<CharT, Traits>& is, double& re, double& im) {
    const typename std::basic_istream<CharT, Traits>::sentry ok(is);
    if (!ok) return is;
    std::ios_base::iostate state = std::ios_base::goodbit;
    try {
        text_reader<Number, CharT, Traits> reader(*is.rdbuf(), (is.flags() & std::ios_base::skipws) ? &is : nullptr);
        double a = 0, b = 0;
        if (reader.read(a, b)) {
            re = a;
            im = b;
        } else {
            state |= std::ios_base::failbit;
        }
        if (reader.at_end()) state |= std::ios_base::eofbit;
    } catch (...) {
        // As the standard extractors do: note it, and rethrow only if asked.
        if (!(is.exceptions() & std::ios_base::badbit)) {
            is.setstate(std::ios_base::badbit);
            return is;
        }
        try {
            is.setstate(std::ios_base::badbit);
        } catch (...) {
        }
        throw;
    }
    is.setstate(state);
    return is;
}

} // namespace cplx::detail

CPLX_DIAGNOSTICS_END

#endif // CPLX_DETAIL_TEXT_HPP
