// SPDX-License-Identifier: MIT
// Formatting a Complex: built once with CPLX_FORMAT_TEST_FMT for {fmt} and
// once with CPLX_FORMAT_TEST_STD for std::format, so that every table here
// is walked by both formatters.
#include "complex/Format.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <limits>
#include <new>
#include <stdexcept>
#include <string>
#include <string_view>
#include <tuple>

#if defined(CPLX_FORMAT_TEST_FMT)
#include <fmt/xchar.h>
#if !CPLX_HAS_FMT_FORMATTER
#error "complex/Format.hpp did not see {fmt}"
#endif
#elif defined(CPLX_FORMAT_TEST_STD)
#if !CPLX_HAS_STD_FORMATTER
#error "complex/Format.hpp did not see std::format"
#endif
#else
#error "define CPLX_FORMAT_TEST_FMT or CPLX_FORMAT_TEST_STD"
#endif

using cplx::Complex;
using lim = std::numeric_limits<double>;

// Every allocation in this program is counted, so that a test can tell that
// formatting makes none of its own.
namespace {
std::size_t allocations = 0;
} // namespace

void* operator new(std::size_t size) {
    ++allocations;
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

// The library under test, at run time (the format string is parsed when
// formatting) and at compile time where the library checks there.
#if defined(CPLX_FORMAT_TEST_FMT)
using format_error = fmt::format_error;
template <class... Args>
std::string run_time(std::string_view f, const Args&... args) {
    return fmt::vformat(fmt::string_view(f.data(), f.size()), fmt::make_format_args(args...));
}
template <class... Args>
std::wstring run_time(std::wstring_view f, const Args&... args) {
    return fmt::vformat(fmt::wstring_view(f.data(), f.size()), fmt::make_wformat_args(args...));
}
template <class... Args>
char* run_time_to(char* out, std::string_view f, const Args&... args) {
    return fmt::vformat_to(out, fmt::string_view(f.data(), f.size()), fmt::make_format_args(args...));
}
#define CHECKED(f, ...) fmt::format(FMT_STRING(f), __VA_ARGS__)
#else
using format_error = std::format_error;
template <class... Args>
std::string run_time(std::string_view f, const Args&... args) {
    return std::vformat(f, std::make_format_args(args...));
}
template <class... Args>
std::wstring run_time(std::wstring_view f, const Args&... args) {
    return std::vformat(f, std::make_wformat_args(args...));
}
template <class... Args>
char* run_time_to(char* out, std::string_view f, const Args&... args) {
    return std::vformat_to(out, f, std::make_format_args(args...));
}
#define CHECKED(f, ...) std::format(f, __VA_ARGS__)
#endif

constexpr double inf = lim::infinity(), NaN = lim::quiet_NaN();

bool ascii(std::string_view s) {
    for (const char c : s)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

std::wstring widen(std::string_view s) { return {s.begin(), s.end()}; }

std::string describe(const Complex& z) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "(%a, %a)", z.re, z.im);
    return buf;
}

} // namespace

// Each row is checked through the narrow and, where it is ASCII, the wide
// strings of the library.
TEST(Format, Table) {
    // clang-format off
    const struct { Complex z; const char* format; const char* text; } cases[] = {
        // No options: the shortest exact text form, as cplx::to_chars writes it.
        {{3, 4}, "{}", "3+4i"},             {{3, -4}, "{}", "3-4i"},          {{-0.28, 0.96}, "{}", "-0.28+0.96i"},
        {{25, 0}, "{}", "25"},              {{0, 8}, "{}", "8i"},             {{0, 1}, "{}", "i"},
        {{0, -1}, "{}", "-1i"},             {{-0.0, 1}, "{:}", "i"},          {{7, -0.0}, "{}", "7"},
        {{-0.0, 0}, "{}", "-0"},            {{0, 0}, "{}", "0"},              {{1, NaN}, "{}", "1+nani"},
        {{1, -NaN}, "{}", "1-nani"},        {{NaN, 2}, "{}", "nan+2i"},       {{-inf, inf}, "{}", "-inf+infi"},
        {{1e15, 0.1}, "{}", "1e+15+0.1i"},  {{0.1, 1e-300}, "{}", "0.1+1e-300i"},
        {{123456789, -0.000125}, "{}", "123456789-0.000125i"},
        // Type and precision apply to each part; the pieces stay those of the text form.
        {{3, 4}, "{:.2f}", "3.00+4.00i"},   {{3, -4}, "{:.2f}", "3.00-4.00i"},  {{25, 0}, "{:.2f}", "25.00"},
        {{0, 2}, "{:.2f}", "2.00i"},        {{0, 1}, "{:.2f}", "i"},            {{2.5, 0.5}, "{:.0f}", "2+0i"},
        {{0, 1}, "{:+#12.3e}", "           i"},
        {{1.0 / 3, -2.0 / 3}, "{:.3}", "0.333-0.667i"},          {{1e300, 0}, "{:.3}", "1e+300"},
        {{1234.5, 0.000125}, "{:e}", "1.234500e+03+1.250000e-04i"},
        {{1234.5, -0.000125}, "{:.2E}", "1.23E+03-1.25E-04i"},   {{0.5, 0}, "{:.0e}", "5e-01"},
        {{1e-5, 123456789}, "{:g}", "1e-05+1.23457e+08i"},       {{1e-5, 123456789}, "{:G}", "1E-05+1.23457E+08i"},
        {{0.0001, 100000}, "{:g}", "0.0001+100000i"},            {{1.5, -0.25}, "{:a}", "1.8p+0-1p-2i"},
        {{1.5, 0.25}, "{:.3A}", "1.800P+0+1.000P-2i"},           {{1, inf}, "{:.1E}", "1.0E+00+INFi"},
        {{inf, NaN}, "{:F}", "INF+NANi"},                        {{-inf, -NaN}, "{:f}", "-inf-nani"},
        {{0.1, 0.2}, "{:.17}", "0.10000000000000001+0.20000000000000001i"},
        // The sign option is the first number's; between the parts stands the imaginary part's own sign.
        {{3, 4}, "{:+}", "+3+4i"},          {{3, -4}, "{:+}", "+3-4i"},       {{-3, 4}, "{:+}", "-3+4i"},
        {{-3, -4}, "{:+}", "-3-4i"},        {{3, 4}, "{: }", " 3+4i"},        {{3, -4}, "{: }", " 3-4i"},
        {{3, 4}, "{:-}", "3+4i"},           {{0, 8}, "{:+}", "+8i"},          {{0, -8}, "{:+}", "-8i"},
        {{0, 8}, "{: }", " 8i"},            {{0, 1}, "{:+}", "i"},            {{25, 0}, "{:+}", "+25"},
        {{0, 0}, "{:+}", "+0"},             {{-0.0, -0.0}, "{:+}", "-0"},     {{NaN, 1}, "{:+}", "+nan+1i"},
        {{1, NaN}, "{:+}", "+1+nani"},      {{-NaN, -NaN}, "{: }", "-nan-nani"},
        {{3, 4}, "{:+.1f}", "+3.0+4.0i"},   {{3, 4}, "{: .1e}", " 3.0e+00+4.0e+00i"},
        // '#': always a point, and under g and G the trailing zeros.
        {{3, 4}, "{:#}", "3.+4.i"},         {{1e20, 0}, "{:#}", "1.e+20"},    {{0, 8}, "{:#}", "8.i"},
        {{0, 1}, "{:#}", "i"},              {{3, -4}, "{:#.0f}", "3.-4.i"},   {{1, 2}, "{:#.0e}", "1.e+00+2.e+00i"},
        {{1, 0.5}, "{:#g}", "1.00000+0.500000i"},                 {{1, 0.5}, "{:#G}", "1.00000+0.500000i"},
        {{0, 0.0001}, "{:#g}", "0.000100000i"},                   {{0, 0}, "{:#.3g}", "0.00"},
        {{999.9, 0}, "{:#.3g}", "1.00e+03"},                      {{1e-5, 0}, "{:#.2g}", "1.0e-05"},
        {{1, 0}, "{:#.3}", "1."},           {{1.5, 0}, "{:#.3}", "1.5"},      {{1, 1}, "{:#a}", "1.p+0+1.p+0i"},
        {{inf, NaN}, "{:#}", "inf+nani"},   {{inf, -NaN}, "{:#g}", "inf-nani"},
        {{3, 4}, "{:+#.0f}", "+3.+4.i"},
        // Width, fill and alignment: the whole value, right-aligned unless asked.
        {{3, 4}, "{:12}", "        3+4i"},  {{3, 4}, "{:>12}", "        3+4i"},  {{3, 4}, "{:<12}", "3+4i        "},
        {{3, 4}, "{:^12}", "    3+4i    "}, {{3, 4}, "{:*^11}", "***3+4i****"},   {{3, 4}, "{:*^10}", "***3+4i***"},
        {{3, -4}, "{:3}", "3-4i"},          {{3, -4}, "{:4}", "3-4i"},            {{3, -4}, "{:5}", " 3-4i"},
        {{0, 1}, "{:_>5}", "____i"},        {{0, 1}, "{:_<5}", "i____"},          {{25, 0}, "{:>6}", "    25"},
        {{0, 8}, "{:^6}", "  8i  "},        {{3, 4}, "{:<<6}", "3+4i<<"},         {{3, 4}, "{:>>6}", ">>3+4i"},
        {{3, 4}, "{:^^7}", "^3+4i^^"},      {{3, 4}, "{:+>+10.1f}", "++3.0+4.0i"},{{3, 4}, "{: > 10.1f}", "  3.0+4.0i"},
        {{3, 4}, "{:0>8}", "00003+4i"},     {{1, 0}, "{:=^5}", "==1=="},          {{3, 4}, "{:#>#8}", "##3.+4.i"},
        {{3, 4}, "{:1>8}", "11113+4i"},     {{-1.5, 0.25}, "{:~<+20.2e}", "-1.50e+00+2.50e-01i~"},
        {{3, 4}, "{:\xe2\x86\x92^8}", "\xe2\x86\x92\xe2\x86\x92" "3+4i" "\xe2\x86\x92\xe2\x86\x92"},  // U+2192
        {{3, 4}, "{:\xf0\x9f\x98\x80>6}", "\xf0\x9f\x98\x80\xf0\x9f\x98\x80" "3+4i"},                    // U+1F600
    };
    // clang-format on
    for (const auto& c : cases) {
        EXPECT_EQ(run_time(c.format, c.z), c.text) << c.format << " of " << describe(c.z);
        if (ascii(c.format)) {
            EXPECT_EQ(run_time(widen(c.format), c.z), widen(c.text)) << c.format << " of " << describe(c.z);
        }
    }
}

// Widths and precisions from other arguments of any integer type, and
// format strings that the library checks at compile time.
TEST(Format, WidthAndPrecisionFromArguments) {
    const Complex z(3, -4);
    EXPECT_EQ(run_time("{:{}}", z, 8), "    3-4i");
    EXPECT_EQ(run_time("{0:{1}.{2}f}|{0:.{2}e}", z, 12, 1), "    3.0-4.0i|3.0e+00-4.0e+00i");
    EXPECT_EQ(run_time("{:*^{}}|{:<{}.{}}", z, 10u, z, 7LL, 2ULL), "***3-4i***|3-4i   ");
    EXPECT_EQ(run_time("{:{}.{}f}", z, 0, 0), "3-4i");
    EXPECT_EQ(run_time("{:.{}f}", Complex(0.5, 1.5), static_cast<short>(3)), "0.500+1.500i");
    EXPECT_EQ(run_time(L"{:{}.{}f}", z, 12, 1), L"    3.0-4.0i");
    EXPECT_EQ(CHECKED("{}|{:+.2f}|{:>4}", z, z, Complex(0, 1)), "3-4i|+3.00-4.00i|   i");
    EXPECT_EQ(CHECKED("{:*^{}.{}e}", z, 22, 1), "***3.0e+00-4.0e+00i***");
    EXPECT_EQ(CHECKED("{0:{1}}|{0:{2}}", z, 6, 1), "  3-4i|3-4i");
    EXPECT_EQ(CHECKED(L"{:\u2192^8}", z), L"\u2192\u21923-4i\u2192\u2192");
#if defined(CPLX_FORMAT_TEST_FMT)
    EXPECT_EQ(fmt::format("{:{w}.{p}f}", z, fmt::arg("w", 12), fmt::arg("p", 1)), "    3.0-4.0i");
#endif
}

namespace {

// One part as the C library's printf writes it: its e, f, g and a
// conversions with the flags '+', ' ' and '#' are std::format's for a double,
// but for the "0x" of a.
std::string printf_part(double x, std::string_view flags, char type, int precision) {
    const std::string conversion = "%" + std::string(flags) + (precision >= 0 ? ".*" : "") + type;
    const auto print = [&](char* buf, std::size_t size) {
        return precision >= 0 ? std::snprintf(buf, size, conversion.c_str(), precision, x)
                              : std::snprintf(buf, size, conversion.c_str(), x);
    };
    // glibc's %#g drops the zeros of a rounding that carries ("%#.3g" of
    // 999.9 is "1.e+03"), so '#' under g is taken from the C standard's
    // definition instead: %e's exponent X at precision P - 1 picks %#f with
    // P - 1 - X decimals when P > X >= -4, else %#e with P - 1.
    const bool general = type == 'g' || type == 'G';
    if (general && flags.find('#') != std::string_view::npos && std::isfinite(x)) {
        const int p = precision < 0 ? 6 : precision == 0 ? 1 : precision;
        const std::string e = printf_part(x, "", 'e', p - 1);
        const int exponent = std::atoi(e.c_str() + e.find('e') + 1);
        const bool upper = type == 'G';
        return p > exponent && exponent >= -4 ? printf_part(x, flags, upper ? 'F' : 'f', p - 1 - exponent)
                                              : printf_part(x, flags, upper ? 'E' : 'e', p - 1);
    }
    std::string s(static_cast<std::size_t>(print(nullptr, 0)) + 1, '\0');
    s.resize(static_cast<std::size_t>(print(s.data(), s.size())));
    if (type == 'a' || type == 'A') {
        const std::size_t at = s.find(type == 'a' ? "0x" : "0X");
        if (at != std::string::npos) s.erase(at, 2);
    }
    return s;
}

// The text form's pieces around parts written by part(x, flags).
template <class Part>
std::string pieces(const Complex& z, std::string_view flags, Part part) {
    if (z.im == 0.0) return part(z.re, flags);
    if (z.re == 0.0 && z.im == 1.0) return "i";
    if (z.re == 0.0) return part(z.im, flags) + "i";
    std::string unsigned_flags;
    for (const char f : flags)
        if (f != '+' && f != ' ') unsigned_flags += f;
    return part(z.re, flags) + (std::signbit(z.im) ? "" : "+") + part(z.im, unsigned_flags) + "i";
}

// Zeros, both ends of the range, subnormals, the largest subnormal (767
// significant digits), values that round up, switch notation under g or
// have 1074 decimals; infinities and NaNs of both signs.
// clang-format off
const double values[] = {0.0, -0.0, 1.0, -1.0, 0.1, -1.0 / 3, 2.5, 0.5, 999.9, 1e15, 1e16, 1e-5, 0.0001, 123456789.0,
                         1e300, -1e-300, 0x1p-1074, -0x0.fffffffffffffp-1022, 0x1p-1022, lim::max(), -lim::max(),
                         0x1.fffffffffffffp-1, inf, -inf, NaN, -NaN};
// clang-format on
constexpr std::size_t kValues = sizeof values / sizeof values[0];

// Each value alone, as the imaginary part alone, and beside another value.
template <class Check>
void for_each_placement(Check check) {
    for (std::size_t k = 0; k < kValues; ++k) {
        const double x = values[k], other = values[(k + 5) % kValues];
        for (const Complex& z : {Complex(x, 0), Complex(0, x), Complex(x, other), Complex(other, x)}) check(z);
    }
}

} // namespace

// Every type, with and without each flag, at precisions up to and past the
// digits a double has, against printf, part by part.
TEST(Format, EachPartAsPrintfWritesIt) {
    const int precisions[] = {-1, 0, 1, 3, 17, 766, 767, 768, 1074, 1075, 1100};
    const std::string_view flag_sets[] = {"", "+", " ", "#", "+#"};
    for (const char type : {'e', 'E', 'f', 'F', 'g', 'G', 'a', 'A'}) {
        for (const int precision : precisions) {
            for (const std::string_view flags : flag_sets) {
                const std::string format =
                    "{:" + std::string(flags) + (precision >= 0 ? "." + std::to_string(precision) : "") + type + "}";
                const auto part = [&](double x, std::string_view f) { return printf_part(x, f, type, precision); };
                for_each_placement([&](const Complex& z) {
                    const std::string text = run_time(format, z), expected = pieces(z, flags, part);
                    EXPECT_EQ(text, expected) << format << " of " << describe(z);
                });
            }
        }
    }
    // No type: general notation with a precision (as %g), the shortest form without.
    for (const int precision : {0, 1, 6, 17, 767, 800}) {
        for (const std::string_view flags : {"", "+", " "}) {
            const std::string format = "{:" + std::string(flags) + "." + std::to_string(precision) + "}";
            const auto part = [&](double x, std::string_view f) { return printf_part(x, f, 'g', precision); };
            for_each_placement([&](const Complex& z) {
                EXPECT_EQ(run_time(format, z), pieces(z, flags, part)) << format << " of " << describe(z);
            });
        }
    }
}

TEST(Format, NoOptionsIsToChars) {
    for (const double x : values) {
        for (const double y : values) {
            const Complex z(x, y);
            char buf[128];
            const std::to_chars_result r = cplx::to_chars(buf, buf + sizeof buf, z);
            ASSERT_EQ(r.ec, std::errc{});
            // But for libc++'s "-nan(ind)": a NaN is spelled as std::format spells a double's.
            std::string expected(buf, r.ptr);
            for (std::size_t at; (at = expected.find("(ind)")) != std::string::npos;) expected.erase(at, 5);
            EXPECT_EQ(run_time("{}", z), expected) << describe(z);
        }
    }
}

// Padding goes around the whole text, however long, whatever the fill.
TEST(Format, WidthPadsTheWholeValue) {
    for (const Complex& z : {Complex(3, 4), Complex(0, 1), Complex(1e300, -1e-300), Complex(NaN, -inf)}) {
        for (const std::string_view o : {"{}}", "+{}.3e}", "#{}g}", "{}.1100f}", " #{}.2000e}"}) {
            const std::string bare =
                run_time("{:" + std::string(o.substr(0, o.find('{'))) + std::string(o.substr(o.find('}') + 1)), z);
            // [fill]align, the fill's width in the text, and the share of the padding before the value
            for (const auto& [head, unit, before] : {std::tuple{"", " ", std::size_t{2}},
                                                     {"<", " ", 0},
                                                     {"*>", "*", 2},
                                                     {"_^", "_", 1},
                                                     {"\xc3\xa9^", "\xc3\xa9", 1}}) {
                for (const std::size_t width : {bare.size() - 1, bare.size(), bare.size() + 1, bare.size() + 7}) {
                    if (width == 0) continue; // a written 0 is the '0' option
                    std::string format = "{:" + std::string(head) + std::string(o);
                    format.replace(format.find("{}"), 2, std::to_string(width));
                    const std::size_t pad = width > bare.size() ? width - bare.size() : 0, left = pad * before / 2;
                    std::string expected;
                    for (std::size_t k = 0; k < pad; ++k) expected += unit;
                    expected.insert(left * std::string_view(unit).size(), bare);
                    EXPECT_EQ(run_time(format, z), expected) << format << " of " << describe(z);
                }
            }
        }
    }
}

// What a library refuses: options that do not apply, malformed ones, and
// width or precision arguments that are not suitable integers.
TEST(Format, BadFormatsThrowAtRunTime) {
    const Complex z(3, 4);
    const char* const refused[] = {
        "{:0}",     "{:08}",     "{:+08.2f}", "{:L}",    "{:.2Lf}",       "{:d}",           "{:x}",   "{:s}",
        "{:?}",     "{:c}",      "{:.}",      "{:.f}",   "{:#+}",         "{:++}",          "{:+ }",  "{:=8}",
        "{:{<5}",   "{:e.2}",    "{:ee}",     "{:.2f3}", "{:2147483648}", "{:.2147483648}", "{:{x}}", "{:{2147483648}}",
        "{0:{1a}}", "{:\x80<5}",
    };
    for (const char* f : refused) {
        bool ours = false;
        try {
            (void)run_time(f, z, 1);
        } catch (const format_error& e) {
            ours = std::string_view(e.what()).substr(0, 5) == "cplx:";
        }
        EXPECT_TRUE(ours) << f << " was not refused by the formatter";
        if (ascii(f)) {
            EXPECT_THROW((void)run_time(widen(f), z, 1), format_error) << f;
        }
    }

    // Width and precision arguments: missing, not an integer, out of range.
    EXPECT_THROW((void)run_time("{:{}}", z), format_error);
    EXPECT_THROW((void)run_time("{:{}}", z, 1.5), format_error);
    EXPECT_THROW((void)run_time("{:{}}", z, -1), format_error);
    EXPECT_THROW((void)run_time("{:.{}f}", z, -1), format_error);
    EXPECT_THROW((void)run_time("{:{}}", z, true), format_error);
    EXPECT_THROW((void)run_time("{:{}}", z, 'x'), format_error);
    EXPECT_THROW((void)run_time("{:{}}", z, "8"), format_error);
    EXPECT_THROW((void)run_time("{:{}}", z, 3000000000LL), format_error);
    EXPECT_THROW((void)run_time("{:.{}}", z, 3000000000ULL), format_error);
    EXPECT_THROW((void)run_time("{:{}}", z, z), format_error);
    // The library's own rule: automatic and manual numbering do not mix.
    EXPECT_THROW((void)run_time("{:{1}}", z, 8), format_error);
    EXPECT_THROW((void)run_time("{0:{}}", z, 8), format_error);
}

// Precisions past a double's digits: the zeros are counted, not stored,
// and still padded around.
TEST(Format, LongPrecisions) {
    const std::string text = run_time("{:>5000.2000f}", Complex(1, -0.5));
    EXPECT_EQ(text,
              std::string(5000 - 4006, ' ') + "1." + std::string(2000, '0') + "-0.5" + std::string(1999, '0') + "i");
    EXPECT_EQ(run_time("{:.1500e}", Complex(0, 0x1p-1074)), printf_part(0x1p-1074, "", 'e', 1500) + "i");
    EXPECT_EQ(run_time("{:#.2000g}", Complex(0.1, 0)), printf_part(0.1, "#", 'g', 2000));
    EXPECT_EQ(run_time("{:.20a}", Complex(1.5, 0)), "1.80000000000000000000p+0");
}

// Any code unit width: a fill is one character, in as many units as it takes.
TEST(Format, FillsInEveryEncoding) {
    struct hooks {
        int next() { return 0; }
        void check(int) {}
        bool named(const void*, std::size_t) { return false; }
        [[noreturn]] void fail(const char* message) { throw std::runtime_error(message); }
    } h;
    const auto format = [&](auto text, const Complex& z) {
        const std::basic_string_view s(text);
        cplx::detail::format_options<typename decltype(s)::value_type> o;
        EXPECT_TRUE(*cplx::detail::parse_format_options(s.begin(), s.end(), o, h) == '}');
        std::basic_string<typename decltype(s)::value_type> out;
        cplx::detail::format_complex(std::back_inserter(out), z, o, o.width.value, o.precision.value);
        return out;
    };
    // Compared with ==: GoogleTest may not print char16_t or char32_t strings.
    EXPECT_EQ(format("\xf0\x9f\x98\x80^8}", Complex(3, 4)),
              "\xf0\x9f\x98\x80\xf0\x9f\x98\x80"
              "3+4i"
              "\xf0\x9f\x98\x80\xf0\x9f\x98\x80");
    EXPECT_TRUE(format(u"\U0001F600^8}", Complex(3, 4)) == u"\U0001F600\U0001F6003+4i\U0001F600\U0001F600");
    EXPECT_TRUE(format(U"\U0001F600<+6.1f}", Complex(0, 2)) == U"+2.0i\U0001F600");
    EXPECT_EQ(format(L"\u00e9>5}", Complex(0, 1)), L"\u00e9\u00e9\u00e9\u00e9i");
    // A lone surrogate or a cut-short UTF-8 sequence is no fill.
    EXPECT_THROW(format(u"\xdc00>5}", Complex(0, 1)), std::runtime_error);
    EXPECT_THROW(format("\xe2\x86<5}", Complex(0, 1)), std::runtime_error);
}

TEST(Format, AllocatesNothingOfItsOwn) {
    static char out[8192];
    const Complex z(-0.28, 0.96);
    for (const char* f : {"{}", "{:+.3e}", "{:*^40}", "{:#.17g}", "{:>3000.1100f}", "{:.3000A}"}) {
        const std::size_t before = allocations;
        char* const end = run_time_to(out, f, z);
        EXPECT_EQ(allocations, before) << f;
        EXPECT_EQ(std::string(out, end), run_time(f, z)) << f;
    }
}
