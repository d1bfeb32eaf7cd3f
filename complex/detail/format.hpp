// SPDX-License-Identifier: MIT
// What the {fmt} and std::format formatters for cplx::Complex share: reading
// the options after the colon, and writing the value with them. Neither
// library is included here; complex/Format.hpp plugs each one in, and
// documents the behaviour.

#ifndef CPLX_DETAIL_FORMAT_HPP
#define CPLX_DETAIL_FORMAT_HPP

#include <charconv>
#include <climits>
#include <cmath>
#include <cstddef>
#include <system_error>
#include <type_traits>

#include "../Complex.hpp"

#include "config.hpp"

// Exact comparisons of the parts decide which pieces are written, as in
// Complex.hpp's text form, and the text is made by pointer in a buffer, as
// std::to_chars makes it.
CPLX_DIAGNOSTICS_BEGIN

namespace cplx::detail {

enum class format_align : unsigned char { none, left, right, center };
enum class format_sign : unsigned char { minus, plus, space };

// A width or precision: a number in the format string, or the value of
// another argument, by index or (under {fmt}) by name.
template <class Char>
struct format_count {
    int value = 0;
    int index = -1;
    const Char* name = nullptr;
    std::size_t name_size = 0;

    constexpr bool from_argument() const noexcept { return index >= 0 || name != nullptr; }
};

template <class Char>
struct format_options {
    Char fill[4] = {static_cast<Char>(' '), Char(), Char(), Char()}; // one character, in up to 4 code units
    unsigned char fill_size = 1;
    format_align align = format_align::none;
    format_sign sign = format_sign::minus;
    bool alternate = false;           // '#'
    char type = 0;                    // 0, or one of a A e E f F g G
    format_count<Char> width{};       // 0: no padding
    format_count<Char> precision{-1}; // -1: none given
};

template <class Char>
constexpr bool char_is(Char c, char ascii) noexcept {
    return c == static_cast<Char>(ascii);
}

template <class Char>
constexpr bool char_is_digit(Char c) noexcept {
    return c >= static_cast<Char>('0') && c <= static_cast<Char>('9');
}

template <class Char>
constexpr bool char_in_name(Char c, bool first) noexcept {
    return (c >= static_cast<Char>('a') && c <= static_cast<Char>('z')) ||
           (c >= static_cast<Char>('A') && c <= static_cast<Char>('Z')) || char_is(c, '_') ||
           (!first && char_is_digit(c));
}

template <class Char>
constexpr format_align align_named_by(Char c) noexcept {
    return char_is(c, '<')   ? format_align::left
           : char_is(c, '>') ? format_align::right
           : char_is(c, '^') ? format_align::center
                             : format_align::none;
}

// The number of code units of the character at first: UTF-8 for bytes,
// UTF-16 for 16-bit units, one unit otherwise; 0 when it is cut short or
// malformed. Only a fill can be more than one unit.
template <class Char, class It>
constexpr int fill_units(It first, It last) noexcept {
    const auto available = last - first;
    if constexpr (sizeof(Char) == 1) {
        const auto lead = static_cast<unsigned char>(*first);
        const int n = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xe ? 3 : (lead >> 3) == 0x1e ? 4 : 0;
        if (n == 0 || available < n) return 0;
        for (int k = 1; k < n; ++k)
            if ((static_cast<unsigned char>(first[k]) >> 6) != 0x2) return 0;
        return n;
    } else if constexpr (sizeof(Char) == 2) {
        const auto unit = static_cast<unsigned>(*first);
        if (unit >= 0xdc00 && unit <= 0xdfff) return 0;
        if (unit < 0xd800 || unit > 0xdbff) return 1;
        if (available < 2) return 0;
        const auto next = static_cast<unsigned>(first[1]);
        return next >= 0xdc00 && next <= 0xdfff ? 2 : 0;
    } else {
        return 1;
    }
}

// Digits into value; false when they do not fit in an int.
template <class It>
constexpr bool parse_format_int(It& first, It last, int& value) noexcept {
    int v = 0;
    for (; first != last && char_is_digit(*first); ++first) {
        const int digit = static_cast<int>(*first - '0');
        if (v > (INT_MAX - digit) / 10) return false;
        v = v * 10 + digit;
    }
    value = v;
    return true;
}

// The library's side of parsing, `hooks`: next() numbers the argument of a
// "{}" and check(n) that of a "{n}" the way the library's parse context does;
// named(name, size) takes a "{name}" (false where names are not supported);
// fail(message) reports an error and does not return.

// A nested replacement field, from just after its '{' through its '}'.
template <class Char, class It, class Hooks>
constexpr It parse_format_argument(It first, It last, format_count<Char>& count, Hooks& hooks) {
    if (first != last && char_is(*first, '}')) {
        count.index = hooks.next();
    } else if (first != last && char_is_digit(*first)) {
        int id = 0;
        if (!parse_format_int(first, last, id)) hooks.fail("cplx: argument index too large");
        hooks.check(id);
        count.index = id;
    } else if (first != last && char_in_name(*first, true)) {
        const It begin = first;
        while (first != last && char_in_name(*first, false)) ++first;
        const auto size = static_cast<std::size_t>(first - begin);
        if (!hooks.named(&*begin, size)) hooks.fail("cplx: a width or precision argument is given by index, not name");
        count.name = &*begin;
        count.name_size = size;
    } else {
        hooks.fail("cplx: invalid argument index for a width or precision");
    }
    if (first == last || !char_is(*first, '}')) hooks.fail("cplx: expected '}' after the argument index");
    return ++first;
}

// Reads [[fill]align][sign][#][width][.precision][type] from [first, last),
// which starts just after the colon (or at the closing brace of "{}"), and
// returns where it stopped: at the closing brace unless hooks.fail was called.
template <class Char, class It, class Hooks>
constexpr It parse_format_options(It first, It last, format_options<Char>& o, Hooks& hooks) {
    if (first == last || char_is(*first, '}')) return first;

    const int fill = fill_units<Char>(first, last);
    if (fill > 0 && last - first > fill && align_named_by(first[fill]) != format_align::none) {
        if (char_is(*first, '{') || char_is(*first, '}')) hooks.fail("cplx: '{' and '}' cannot be fill characters");
        for (int k = 0; k < fill; ++k) o.fill[k] = first[k];
        o.fill_size = static_cast<unsigned char>(fill);
        o.align = align_named_by(first[fill]);
        first += fill + 1;
    } else if (align_named_by(*first) != format_align::none) {
        o.align = align_named_by(*first);
        ++first;
    }
    if (first == last) return first;

    if (char_is(*first, '+') || char_is(*first, '-') || char_is(*first, ' ')) {
        o.sign = char_is(*first, '+')   ? format_sign::plus
                 : char_is(*first, ' ') ? format_sign::space
                                        : format_sign::minus;
        if (++first == last) return first;
    }
    if (char_is(*first, '#')) {
        o.alternate = true;
        if (++first == last) return first;
    }
    // Zeros after the sign suit a number, not "3+4i" or "i".
    if (char_is(*first, '0'))
        hooks.fail("cplx: no '0' option for complex numbers; pad with a fill instead, as in {:0>8}");

    if (char_is_digit(*first)) {
        if (!parse_format_int(first, last, o.width.value)) hooks.fail("cplx: width too large");
    } else if (char_is(*first, '{')) {
        first = parse_format_argument(first + 1, last, o.width, hooks);
    }
    if (first == last) return first;

    if (char_is(*first, '.')) {
        if (++first != last && char_is_digit(*first)) {
            if (!parse_format_int(first, last, o.precision.value)) hooks.fail("cplx: precision too large");
        } else if (first != last && char_is(*first, '{')) {
            first = parse_format_argument(first + 1, last, o.precision, hooks);
        } else {
            hooks.fail("cplx: missing precision after '.'");
        }
        if (first == last) return first;
    }

    if (char_is(*first, 'L')) hooks.fail("cplx: no 'L' option; complex numbers are written alike in every locale");
    constexpr char types[8] = {'a', 'A', 'e', 'E', 'f', 'F', 'g', 'G'};
    for (const char t : types) {
        if (char_is(*first, t)) {
            o.type = t;
            ++first;
            break;
        }
    }
    if (first != last && !char_is(*first, '}')) {
        hooks.fail("cplx: invalid format for a complex number: [[fill]align][sign][#][width][.precision][aAeEfFgG]");
    }
    return first;
}

template <class T>
inline constexpr bool is_format_character_type =
    std::is_same_v<T, char> || std::is_same_v<T, wchar_t> || std::is_same_v<T, char16_t> || std::is_same_v<T, char32_t>
#if defined(__cpp_char8_t)
    || std::is_same_v<T, char8_t>
#endif
    ;

struct format_count_value {
    int value;
    const char* error;
};

// Visits the argument that gives a width or precision: a standard integer
// type (not bool, not a character) with a value in [0, INT_MAX].
struct format_count_reader {
    template <class T>
    constexpr format_count_value operator()(T v) const noexcept {
        if constexpr (std::is_integral_v<T> && !std::is_same_v<T, bool> && !is_format_character_type<T>) {
            if constexpr (std::is_signed_v<T>) {
                if (v < 0) return {0, "cplx: negative width or precision"};
            }
            if constexpr (sizeof(T) > sizeof(int) || std::is_unsigned_v<T>) {
                if (v > static_cast<T>(INT_MAX)) return {0, "cplx: width or precision too large"};
            }
            return {static_cast<int>(v), nullptr};
        } else {
            return {0, "cplx: a width or precision argument must be an integer"};
        }
    }
};

// The text of a value before padding: characters in a buffer on the stack,
// and a run of zeros per part for what a precision beyond the double's exact
// digits, or '#' under g, adds after the digits that std::to_chars writes.
class format_text {
public:
    void put(char c) noexcept { buf_[size_++] = c; }

    void put_number(double x, format_sign sign, bool alternate, char type, int precision) noexcept {
        char* first = buf_ + size_;
        if (!std::signbit(x) && sign != format_sign::minus) *first++ = sign == format_sign::plus ? '+' : ' ';
        char* end = std::isfinite(x) ? put_finite(first, x, alternate, type, precision) : put_word(first, x);
        if (type == 'A' || type == 'E' || type == 'F' || type == 'G') {
            for (char* c = first; c != end; ++c)
                if (*c >= 'a' && *c <= 'z') *c = static_cast<char>(*c - 'a' + 'A');
        }
        size_ = static_cast<std::size_t>(end - buf_);
    }

    std::size_t size() const noexcept {
        std::size_t n = size_;
        for (int k = 0; k < run_count_; ++k) n += runs_[k].count;
        return n;
    }

    template <class Char, class Out>
    Out copy(Out out) const {
        std::size_t from = 0;
        for (int k = 0; k < run_count_; ++k) {
            out = widen<Char>(from, runs_[k].at, out);
            for (std::size_t n = runs_[k].count; n != 0; --n) *out++ = static_cast<Char>('0');
            from = runs_[k].at;
        }
        return widen<Char>(from, size_, out);
    }

private:
    // A double has at most 767 significant decimal digits, 1074 decimals
    // (2^-1074) and 13 hexadecimal digits after the point.
    static constexpr int kSignificant = 767;
    static constexpr int kDecimals = 1074;
    static constexpr int kHexDigits = 13;
    // The longest part: -1.7976931348623157e308 with 1074 decimals.
    static constexpr std::size_t kPart = 1 + 309 + 1 + kDecimals;

    // "inf" or "nan", with a '-' for a sign bit, as std::format and printf
    // spell them: libc++'s to_chars writes the negative quiet NaN as
    // "-nan(ind)".
    static char* put_word(char* first, double x) noexcept {
        if (std::signbit(x)) *first++ = '-';
        const char* word = std::isnan(x) ? "nan" : "inf";
        for (int k = 0; k < 3; ++k) *first++ = word[k];
        return first;
    }

    char* put_finite(char* first, double x, bool alternate, char type, int precision) noexcept {
        char* const last = buf_ + sizeof buf_;
        const int p = precision < 0 ? 6 : precision;
        std::size_t zeros = 0;
        // Past `exact` digits every digit of a double is 0: to_chars writes
        // that many, and the rest are counted instead of stored.
        const auto upto = [&](int exact) noexcept {
            if (p <= exact) return p;
            zeros = static_cast<std::size_t>(p - exact);
            return exact;
        };
        std::to_chars_result r{};
        switch (type) {
            case 'e':
            case 'E':
                r = std::to_chars(first, last, x, std::chars_format::scientific, upto(kSignificant));
                break;
            case 'f':
            case 'F':
                r = std::to_chars(first, last, x, std::chars_format::fixed, upto(kDecimals));
                break;
            case 'a':
            case 'A':
                r = precision < 0 ? std::to_chars(first, last, x, std::chars_format::hex)
                                  : std::to_chars(first, last, x, std::chars_format::hex, upto(kHexDigits));
                break;
            case 'g':
            case 'G':
                // Trailing zeros are dropped; '#' puts them back below.
                r = std::to_chars(first, last, x, std::chars_format::general, p < kSignificant ? p : kSignificant);
                break;
            default:
                r = precision < 0 ? std::to_chars(first, last, x)
                                  : std::to_chars(first, last, x, std::chars_format::general,
                                                  precision < kSignificant ? precision : kSignificant);
                break;
        }
        // The buffer holds the longest text any precision gives, so r.ec is
        // always success.
        char* end = r.ptr;

        const bool hex = type == 'a' || type == 'A';
        char* mantissa_end = first;
        while (mantissa_end != end && *mantissa_end != (hex ? 'p' : 'e')) ++mantissa_end;
        if (alternate) {
            char* point = first;
            while (point != mantissa_end && *point != '.') ++point;
            if (point == mantissa_end) {
                for (char* at = end; at != mantissa_end; --at) *at = at[-1];
                *mantissa_end++ = '.';
                ++end;
            }
            if (type == 'g' || type == 'G') {
                zeros = static_cast<std::size_t>((p == 0 ? 1 : p) - significant(first, mantissa_end));
            }
        }
        if (zeros != 0) runs_[run_count_++] = {static_cast<std::size_t>(mantissa_end - buf_), zeros};
        return end;
    }

    // Digits from the first non-zero one; "0" counts as one.
    static int significant(const char* first, const char* last) noexcept {
        int n = 0;
        for (; first != last; ++first)
            if ((*first >= '1' && *first <= '9') || (*first == '0' && n != 0)) ++n;
        return n == 0 ? 1 : n;
    }

    template <class Char, class Out>
    Out widen(std::size_t from, std::size_t to, Out out) const {
        for (; from != to; ++from) *out++ = static_cast<Char>(buf_[from]);
        return out;
    }

    struct run {
        std::size_t at;
        std::size_t count;
    };
    char buf_[2 * kPart + 2]; // both parts, the '+' and the 'i'
    std::size_t size_ = 0;
    run runs_[2] = {};
    int run_count_ = 0;
};

template <class Char, class Out>
Out put_fill(Out out, std::size_t n, const format_options<Char>& o) {
    for (; n != 0; --n)
        for (unsigned k = 0; k < o.fill_size; ++k) *out++ = o.fill[k];
    return out;
}

// The value with the options, the width and precision resolved (precision
// -1 when none is given): the pieces of the text form, each number written
// with the options, and the whole padded to the width.
template <class Char, class Out>
Out format_complex(Out out, const Complex& z, const format_options<Char>& o, int width, int precision) {
    format_text text;
    const auto number = [&](double x, format_sign sign) { text.put_number(x, sign, o.alternate, o.type, precision); };
    if (z.im == 0) {
        number(z.re, o.sign);
    } else if (z.re == 0 && z.im == 1) {
        text.put('i');
    } else {
        if (z.re != 0) {
            number(z.re, o.sign);
            if (!std::signbit(z.im)) text.put('+');
            number(z.im, format_sign::minus);
        } else {
            number(z.im, o.sign);
        }
        text.put('i');
    }

    const std::size_t size = text.size(), w = static_cast<std::size_t>(width);
    const std::size_t pad = w > size ? w - size : 0;
    const std::size_t before = o.align == format_align::left ? 0 : o.align == format_align::center ? pad / 2 : pad;
    out = put_fill(out, before, o);
    out = text.copy<Char>(out);
    return put_fill(out, pad - before, o);
}

} // namespace cplx::detail

CPLX_DIAGNOSTICS_END

#endif // CPLX_DETAIL_FORMAT_HPP
