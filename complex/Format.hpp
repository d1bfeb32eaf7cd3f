// SPDX-License-Identifier: MIT
// cplx::Complex in {fmt} and std::format.
//
//   #include <complex/Format.hpp>
//
//   fmt::format("{}", z);            // "3+4i", where {fmt} is on the include path
//   std::format("{:.2f}", z);        // "3.00+4.00i", where the standard library has std::format
//   std::format("{:>12}", z);        // "        3+4i"
//
// fmt::formatter<cplx::Complex, Char> is defined when <fmt/format.h> can be
// included, and CPLX_HAS_FMT_FORMATTER is then 1; std::formatter<cplx::Complex,
// CharT> when the standard library defines __cpp_lib_format, and
// CPLX_HAS_STD_FORMATTER is then 1. Define CPLX_NO_FMT or CPLX_NO_STD_FORMAT
// first to leave either out. complex/Complex.hpp includes neither library;
// only this header does. Both formatters share one implementation
// (complex/detail/format.hpp), so they write the same text:
//
//   {:[[fill]align][sign][#][width][.precision][type]}
//
// - Pieces. They are those of operator<< and to_chars: the real part alone
//   when the imaginary part is zero ("25"), the imaginary part and "i" when
//   the real part is zero ("8i", "-1i"), "i" alone for 0+1i, otherwise both
//   parts with a '+' before an imaginary part without a sign bit, NaN
//   included ("3+4i", "3-4i", "1+nani"). A zero of either sign counts as
//   zero. The options change how each number is written, never which pieces
//   there are: 0+1i is "i" whatever the type, precision and sign.
// - "{}" writes each part in the shortest form that reads back exactly, as
//   std::to_chars(first, last, x) does, so it gives what cplx::to_chars(first,
//   last, z) gives. Under {fmt} too: 1e15+0i is "1e+15", where
//   fmt::format("{}", 1e15) is "1000000000000000".
// - Infinities and NaNs are "inf" and "nan", after a '-' when the sign bit
//   is set, as std::format writes a double's, whatever the standard
//   library's to_chars spells (libc++'s writes "-nan(ind)").
// - type and precision apply to each part as std::format applies them to a
//   double: e and E scientific, f and F fixed, g and G general, a and A
//   hexadecimal without "0x" (what from_chars reads with chars_format::hex,
//   also under {fmt}, whose "{:a}" of a double has the "0x"). The precision
//   is the digits after the point for e, f and a, the significant digits for
//   g and with no type; e, f and g default to 6, a to the shortest exact
//   form. No type with a precision is general notation: "{:.3}" of
//   1/3-2/3i is "0.333-0.667i". E, F, G and A write their letters in upper
//   case but keep "i": "{:.1E}" of 1+infi is "1.0E+00+INFi". Any precision
//   is honoured; digits past a double's own are zeros.
// - sign ('+', '-', ' ') applies to the first number written, as to a
//   double: "{:+}" of 3+4i is "+3+4i", of 8i "+8i", of 25 "+25"; "{: }" of
//   3+4i is " 3+4i". Between the parts stands the imaginary part's own sign,
//   so "{:+}" of 3-4i is "+3-4i", never "+3+-4i". '-' is the default.
// - '#' applies to each finite part as std::format applies it to a double:
//   there is always a decimal point ("{:#}" of 3+4i is "3.+4.i", "{:#.0e}"
//   of 1 is "1.e+00"), and under g and G trailing zeros stay ("{:#g}" of
//   1+0.5i is "1.00000+0.500000i"). With no type it adds only the point,
//   under {fmt} too (fmt's "{:#.3}" of the double 1 is "1.00").
// - width, fill and align apply to the whole value, never to each part:
//   "{:>12}" of 3+4i is "        3+4i", "{:*^10}" is "***3+4i***". The
//   default is right alignment, as for numbers. The fill is any one
//   character but '{' and '}' (a UTF-8 sequence in narrow strings, a
//   surrogate pair in UTF-16), and counts as one column; the text itself is
//   ASCII, one column a character.
// - The width and the precision can be other arguments: "{:{}.{}f}",
//   "{0:{1}.{2}f}", and by name under {fmt}, "{:{w}}" with fmt::arg("w", 12).
//   The argument must be a standard integer type (not bool, not a
//   character) with a value in [0, INT_MAX].
// - Refused: '0' (zeros after the sign suit a number, not "3+4i" or "i";
//   a fill of '0', "{:0>8}", pads the whole value), 'L' (the text form is the
//   same in every locale, as for to_chars), and any other type.
//
// A refused option is an error wherever the library checks the format
// string: at compile time for std::format and for fmt::format in C++20 or
// with FMT_STRING; otherwise when formatting, as std::format_error
// (std::vformat) or fmt::format_error (fmt::runtime, fmt::vformat). Whether a
// width or precision argument is a suitable integer is known only when
// formatting.
//
// Both work on wide strings too: std::format(L"{}", z), and fmt::format(L"{}",
// z) with <fmt/xchar.h>. Nothing is allocated beyond what the library does:
// the text is made in a buffer of under 3 kB on the stack and copied to the
// library's output.

#ifndef CPLX_FORMAT_HPP
#define CPLX_FORMAT_HPP

#include <cstddef>

#include "Complex.hpp"
#include "detail/format.hpp"

#ifdef __has_include
#if !defined(CPLX_NO_FMT) && __has_include(<fmt/format.h>)
#include <fmt/format.h>
#define CPLX_HAS_FMT_FORMATTER 1
#endif
#if !defined(CPLX_NO_STD_FORMAT) && __has_include(<format>) && __has_include(<version>)
#include <version>
#if defined(__cpp_lib_format)
#include <format>
#define CPLX_HAS_STD_FORMATTER 1
#endif
#endif
#endif

#ifndef CPLX_HAS_FMT_FORMATTER
#define CPLX_HAS_FMT_FORMATTER 0
#endif
#ifndef CPLX_HAS_STD_FORMATTER
#define CPLX_HAS_STD_FORMATTER 0
#endif

#if CPLX_HAS_FMT_FORMATTER
template <class Char>
struct fmt::formatter<cplx::Complex, Char> {
    template <class ParseContext>
    constexpr auto parse(ParseContext& ctx) -> decltype(ctx.begin()) {
        struct hooks {
            ParseContext& c;
            constexpr int next() { return c.next_arg_id(); }
            constexpr void check(int id) { c.check_arg_id(id); }
            constexpr bool named(const Char* name, std::size_t size) {
                c.check_arg_id(fmt::basic_string_view<Char>(name, size));
                return true;
            }
            // Not constexpr: reaching it while the format string is checked
            // at compile time is the compile-time error.
            [[noreturn]] void fail(const char* message) { FMT_THROW(fmt::format_error(message)); }
        } h{ctx};
        return cplx::detail::parse_format_options(ctx.begin(), ctx.end(), options_, h);
    }

    template <class FormatContext>
    auto format(const cplx::Complex& z, FormatContext& ctx) const -> decltype(ctx.out()) {
        const int width = count(options_.width, ctx), precision = count(options_.precision, ctx);
        return cplx::detail::format_complex(ctx.out(), z, options_, width, precision);
    }

private:
    template <class FormatContext>
    static int count(const cplx::detail::format_count<Char>& n, FormatContext& ctx) {
        if (!n.from_argument()) return n.value;
        const auto arg =
            n.name != nullptr ? ctx.arg(fmt::basic_string_view<Char>(n.name, n.name_size)) : ctx.arg(n.index);
        if (!arg) FMT_THROW(fmt::format_error("cplx: no argument for a width or precision"));
        const cplx::detail::format_count_value v = fmt::visit_format_arg(cplx::detail::format_count_reader{}, arg);
        if (v.error != nullptr) FMT_THROW(fmt::format_error(v.error));
        return v.value;
    }

    cplx::detail::format_options<Char> options_;
};
#endif

#if CPLX_HAS_STD_FORMATTER
namespace cplx::detail {

[[noreturn]] inline void throw_format_error(const char* message) { throw std::format_error(message); }

} // namespace cplx::detail

template <class CharT>
struct std::formatter<cplx::Complex, CharT> {
    constexpr typename std::basic_format_parse_context<CharT>::iterator parse(
        std::basic_format_parse_context<CharT>& ctx) {
        struct hooks {
            std::basic_format_parse_context<CharT>& c;
            constexpr int next() { return static_cast<int>(c.next_arg_id()); }
            constexpr void check(int id) { c.check_arg_id(static_cast<std::size_t>(id)); }
            constexpr bool named(const CharT*, std::size_t) const { return false; }
            // Not constexpr: reaching it while the format string is checked
            // at compile time is the compile-time error.
            [[noreturn]] void fail(const char* message) const { cplx::detail::throw_format_error(message); }
        } h{ctx};
        return cplx::detail::parse_format_options(ctx.begin(), ctx.end(), options_, h);
    }

    template <class FormatContext>
    typename FormatContext::iterator format(const cplx::Complex& z, FormatContext& ctx) const {
        const int width = count(options_.width, ctx), precision = count(options_.precision, ctx);
        return cplx::detail::format_complex(ctx.out(), z, options_, width, precision);
    }

private:
    template <class FormatContext>
    static int count(const cplx::detail::format_count<CharT>& n, FormatContext& ctx) {
        if (!n.from_argument()) return n.value;
        const auto arg = ctx.arg(static_cast<std::size_t>(n.index));
        if (!arg) cplx::detail::throw_format_error("cplx: no argument for a width or precision");
        cplx::detail::format_count_value v{};
        // basic_format_arg::visit replaces std::visit_format_arg where it exists.
        if constexpr (requires { arg.visit(cplx::detail::format_count_reader{}); }) {
            v = arg.visit(cplx::detail::format_count_reader{});
        } else {
            v = std::visit_format_arg(cplx::detail::format_count_reader{}, arg);
        }
        if (v.error != nullptr) cplx::detail::throw_format_error(v.error);
        return v.value;
    }

    cplx::detail::format_options<CharT> options_;
};
#endif

#endif // CPLX_FORMAT_HPP
