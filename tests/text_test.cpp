// SPDX-License-Identifier: MIT
#include "complex/Complex.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <cstring>
#include <iomanip>
#include <iterator>
#include <limits>
#include <sstream>
#include <string>
#include <system_error>

using cplx::Complex;
using lim = std::numeric_limits<double>;

namespace {

std::string text(const Complex& z) {
    std::ostringstream os;
    os << z;
    return os.str();
}

} // namespace

TEST(TextForm, DefaultFormatting) {
    constexpr double inf = lim::infinity(), nan = lim::quiet_NaN();
    // clang-format off
    const struct { Complex z; const char* text; } cases[] = {
        {{25, 0}, "25"},           {{6, 0}, "6"},          {{0, 0}, "0"},         {{-2, 0}, "-2"},
        {{0, 8}, "8i"},            {{0, 1}, "i"},          {{0, -1}, "-1i"},      {{0, 0.5}, "0.5i"},
        {{3, 4}, "3+4i"},          {{3, -4}, "3-4i"},      {{3, 1}, "3+1i"},      {{5, -8}, "5-8i"},
        {{-0.28, 0.96}, "-0.28+0.96i"},
        // A zero of either sign counts as zero.
        {{7, -0.0}, "7"},          {{-0.0, 0.0}, "-0"},    {{-0.0, 1}, "i"},      {{-0.0, -2}, "-2i"},
        {{1e-300, 1e300}, "1e-300+1e+300i"},               {{1.0 / 3, 2}, "0.333333+2i"},
        // Infinities and NaNs in the stream's own spelling; the plus sign goes
        // before any imaginary part without a sign bit, a NaN included.
        {{1, inf}, "1+infi"},      {{1, -inf}, "1-infi"},  {{inf, 0}, "inf"},     {{0, inf}, "infi"},
        {{1, nan}, "1+nani"},      {{1, -nan}, "1-nani"},  {{nan, 2}, "nan+2i"},  {{nan, 0}, "nan"},
        {{0, nan}, "nani"},
    };
    // clang-format on
    for (const auto& c : cases) EXPECT_EQ(text(c.z), c.text) << c.z.re << ", " << c.z.im;
}

TEST(TextForm, FollowsTheStreamsPrecisionAndNotation) {
    std::ostringstream os;
    os << std::setprecision(3) << Complex(1.0 / 3, -2.0 / 3) << ' ' << std::fixed << Complex(0.5, 0.25) << ' '
       << std::scientific << Complex(0, 1500) << ' ' << std::showpos << Complex(1, 2) << ' ' << Complex(1, -2);
    // Under showpos the stream signs the imaginary part itself.
    EXPECT_EQ(os.str(), "0.333-0.667i 0.500+0.250i 1.500e+03i +1.000e+00+2.000e+00i +1.000e+00-2.000e+00i");
}

TEST(TextForm, FieldWidthPadsOnlyTheFirstPiece) {
    // clang-format off
    const struct { Complex z; const char* text; } cases[] = {
        {{3, 4}, "____3+4i|"}, {{0, 1}, "____i|"}, {{0, 8}, "____8i|"}, {{6, 0}, "____6|"}, {{3, -4}, "____3-4i|"},
    };
    // clang-format on
    for (const auto& c : cases) {
        std::ostringstream os;
        os << std::setfill('_') << std::setw(5) << c.z << '|';
        EXPECT_EQ(os.str(), c.text);
    }
}

TEST(TextForm, WideStreamsAndChaining) {
    std::wostringstream os;
    std::wostream& same = os << Complex(3, -4) << L' ' << Complex(0, 1) << L' ' << Complex(-0.28, 0.96);
    EXPECT_EQ(&same, &os);
    EXPECT_EQ(os.str(), L"3-4i i -0.28+0.96i");
}

TEST(TextForm, AFailedStreamIsLeftAsItIs) {
    std::ostringstream os;
    os.setstate(std::ios::failbit);
    os << Complex(3, 4);
    EXPECT_EQ(os.str(), "");
    EXPECT_TRUE(os.fail());
}

// ------------------------------------------------------------ reading back

namespace {

// Bit for bit, but any NaN of the same sign matches.
bool same(double a, double b) {
    return std::isnan(a) ? std::isnan(b) && std::signbit(a) == std::signbit(b) : std::memcmp(&a, &b, sizeof a) == 0;
}
bool same(const Complex& a, const Complex& b) { return same(a.re, b.re) && same(a.im, b.im); }

// The library's own reader of a double, which stands in where std::from_chars
// has no double overload; elsewhere every text goes through both.
using Own = cplx::detail::own_number;

// Through operator>>, or with Own reading the parts.
template <class Stream, class Number = void>
bool stream_reads(const std::string& text, Complex& z) {
    Stream in(std::basic_string<typename Stream::char_type>(text.begin(), text.end()));
    if constexpr (std::is_void_v<Number>) {
        in >> z;
    } else {
        cplx::detail::read_stream<Number>(in, z.re, z.im);
    }
    return !in.fail();
}

} // namespace

// Each text through from_chars, and through operator>> on narrow and wide
// streams, with the library's reader of a double and with Own. `used` is how
// much from_chars takes; the stream, which cannot put back what it took,
// takes a value only when from_chars takes all of the text, and otherwise
// fails, apart from the forms marked `stream_too`.
TEST(ReadingText, FromCharsAndStreams) {
    constexpr double inf = lim::infinity(), nan = lim::quiet_NaN();
    constexpr std::errc ok{}, invalid = std::errc::invalid_argument, range = std::errc::result_out_of_range;
    const Complex kept(42, -42);
    // clang-format off
    const struct { std::string text; Complex z; std::errc ec; std::size_t used; bool stream_too; } cases[] = {
        {"25", {25, 0}, ok, 2, false},           {"-2", {-2, 0}, ok, 2, false},         {"8i", {0, 8}, ok, 2, false},
        {"i", {0, 1}, ok, 1, false},             {"-1i", {0, -1}, ok, 3, false},        {"0.5i", {0, 0.5}, ok, 4, false},
        {"3+4i", {3, 4}, ok, 4, false},          {"3-4i", {3, -4}, ok, 4, false},       {"-0", {-0.0, 0}, ok, 2, false},
        {"-0.28+0.96i", {-0.28, 0.96}, ok, 11, false},  {"1e-300+1e+300i", {1e-300, 1e300}, ok, 14, false},
        {"inf", {inf, 0}, ok, 3, false},         {"1+infi", {1, inf}, ok, 6, false},    {"-infi", {0, -inf}, ok, 5, false},
        {"1-nani", {1, -nan}, ok, 6, false},     {"nan+2i", {nan, 2}, ok, 6, false},    {"infinity-infinityi", {inf, -inf}, ok, 18, false},
        {"4.9e-324-1.7976931348623157e308i", {lim::denorm_min(), -lim::max()}, ok, 32, false},
        {"0.1000000000000000055511151231257827021181583404541015625000000000000000000001", {0.1, 0}, ok, 78, false},
        // Prefixes: the value stops where the text form does.
        {"3+4", {3, 0}, ok, 1, false},           {"3+4ii", {3, 4}, ok, 4, true},        {"ii", {0, 1}, ok, 1, true},
        {"3+i", {3, 0}, ok, 1, false},           {"1+-2i", {1, 0}, ok, 1, false},       {"2 +3i", {2, 0}, ok, 1, true},
        {"7e", {7, 0}, ok, 1, false},            {"7,5", {7, 0}, ok, 1, true},          {"5i+3", {0, 5}, ok, 2, true},
        // No value at all, or a part out of range.
        {"", kept, invalid, 0, false},           {"+", kept, invalid, 0, false},        {"x", kept, invalid, 0, false},
        {"-i", kept, invalid, 0, false},         {"i.5", {0, 1}, ok, 1, true},
        {"1e999+1i", kept, range, 8, false},     {"1+1e999i", kept, range, 8, false},   {"1e-999", kept, range, 6, false},
        // As std::complex writes a value: both signs of zero come back.
        {"(3,4)", {3, 4}, ok, 5, false},         {"(25)", {25, 0}, ok, 4, false},       {"(-0,-0)", {-0.0, -0.0}, ok, 7, false},
        {"(inf,-nan)", {inf, -nan}, ok, 10, false},  {"(-1e-300,1e+300)", {-1e-300, 1e300}, ok, 16, false},
        {"(0.1,2)i", {0.1, 2}, ok, 7, true},     {"(7)(8)", {7, 0}, ok, 3, true},       {"(2e-324,5)", kept, range, 10, false},
        {"(1e999,2)", kept, range, 9, false},    {"(1,-1e999)", kept, range, 10, false},
        {"(1,2", kept, invalid, 0, false},       {"(1,2i)", kept, invalid, 0, false},   {"(3+4i)", kept, invalid, 0, false},
        {"(1,)", kept, invalid, 0, false},       {"(,2)", kept, invalid, 0, false},     {"()", kept, invalid, 0, false},
        {"(", kept, invalid, 0, false},          {"(1;2)", kept, invalid, 0, false},    {"(i)", kept, invalid, 0, false},
        {"(1,2,3)", kept, invalid, 0, false},    {"(1e999,2", kept, invalid, 0, false},
        {"nan(ab_1)", {nan, 0}, ok, 9, false},
        // Past the 800 digits kept, a digit still moves the exponent, and a non-zero one decides a tie.
        {std::string("0.").append(900, '1'), {1.0 / 9, 0}, ok, 902, false},
        {std::string("9007199254740993.").append(800, '0') + "10", {0x1.0000000000001p53, 0}, ok, 819, false},
    };
    // clang-format on
    for (const auto& c : cases) {
        const std::string& text = c.text;
        const char* first = text.data();
        const char* last = first + text.size();
        Complex z = kept, own = kept;
        const std::from_chars_result r = cplx::from_chars(first, last, z);
        EXPECT_TRUE(r.ec == c.ec && r.ptr == first + c.used && same(z, c.z))
            << '"' << text << "\" gave " << z << ", " << r.ptr - first << " used";
        const std::from_chars_result o =
            cplx::detail::read_text<Own>(first, last, own.re, own.im, std::chars_format::general);
        EXPECT_TRUE(o.ec == r.ec && o.ptr == r.ptr && same(own, z)) << '"' << text << "\" with Own gave " << own;

        const bool whole = c.ec == ok && c.used == text.size();
        const Complex expected = whole || c.stream_too ? c.z : kept;
        Complex narrow = kept, wide = kept, own_narrow = kept, own_wide = kept;
        EXPECT_EQ(stream_reads<std::istringstream>(text, narrow), whole || c.stream_too) << '"' << text << '"';
        EXPECT_EQ(stream_reads<std::wistringstream>(text, wide), whole || c.stream_too) << '"' << text << '"';
        EXPECT_EQ((stream_reads<std::istringstream, Own>(text, own_narrow)), whole || c.stream_too) << '"' << text;
        EXPECT_EQ((stream_reads<std::wistringstream, Own>(text, own_wide)), whole || c.stream_too) << '"' << text;
        EXPECT_TRUE(same(narrow, expected) && same(wide, narrow) && same(own_narrow, narrow) && same(own_wide, narrow))
            << '"' << text << '"';
    }
}

// One double in every format, through Own and the library's reader, which
// must agree with it bit for bit; the rows sit on both sides of each rounding
// and range threshold.
TEST(ReadingText, NumbersInEveryFormat) {
    constexpr double inf = lim::infinity(), nan = lim::quiet_NaN(), kept = 42;
    constexpr std::errc ok{}, invalid = std::errc::invalid_argument, range = std::errc::result_out_of_range;
    constexpr auto gen = std::chars_format::general, sci = std::chars_format::scientific,
                   fix = std::chars_format::fixed, hex = std::chars_format::hex;
    // 1 + 2^-53, halfway between 1 and the next double, and the point between
    // the largest double and 2^1024: ties, which go to the even neighbour.
    const std::string tie = "1.00000000000000011102230246251565404236316680908203125";
    const std::string top =
        "179769313486231580793728971405303415079934132710037826936173778980444968292764750946649017977587207096330"
        "286416692887910946555547851940402630657488671505820681908902000708383676273854845817711531764475730270069"
        "855571366959622842914819860834936475292719074168444365510704342711559699508093042880177904174497792";
    const auto zeros = [](std::size_t n) { return std::string(n, '0'); };
    const double after_one = 0x1.0000000000001p+0;
    constexpr std::size_t all = std::string::npos; // the whole text
    // clang-format off
    const struct { std::string text; std::chars_format fmt; double x; std::errc ec; std::size_t used; } cases[] = {
        // Correct rounding of long digit strings: the tie, and a non-zero
        // digit after it, kept (up to 800 significant digits) or sticky.
        {tie, gen, 1, ok, all},                             {tie + "1", gen, after_one, ok, all},
        {tie.substr(0, 54) + "49", gen, 1, ok, all},        {tie + zeros(745) + "1", gen, after_one, ok, all},
        {tie + zeros(746) + "1", gen, after_one, ok, all},  {tie + zeros(5000) + "1", gen, after_one, ok, all},
        {tie + zeros(5000), gen, 1, ok, all},               {std::string("0.").append(zeros(900)) + "1e901", gen, 1, ok, all},
        {zeros(900) + "1.5", gen, 1.5, ok, all},            {std::string("-").append(zeros(900)), gen, -0.0, ok, all},
        // The shortcut for at most 15 digits and powers of ten up to 10^22,
        // and just outside it; 2^53 + 1 and + 3 are ties.
        {"123456789012345e22", gen, 0x1.db89cafccd3a9p+119, ok, 18},  {"1234567890123456e22", gen, 0x1.29361ede00463p+123, ok, 19},
        {"123456789012345e23", gen, 0x1.29361ede00449p+123, ok, 18},  {"1e-22", gen, 0x1.e392010175ee6p-74, ok, 5},
        {"1e-23", gen, 0x1.82db34012b251p-77, ok, 5},       {"9007199254740993", gen, 0x1p+53, ok, 16},
        {"9007199254740995", gen, 0x1.0000000000002p+53, ok, 16},  {"0.1", gen, 0.1, ok, 3},
        // Overflow: just under and over the point between the largest double
        // and 2^1024, the tie itself, and 10^309 and up, refused unworked.
        {"1.7976931348623158e308", gen, lim::max(), ok, 22}, {"1.7976931348623159e308", gen, kept, range, 22},
        {top, gen, kept, range, 309},                       {top.substr(0, 308) + "1", gen, lim::max(), ok, 309},
        {"9e308", gen, kept, range, 5},                     {"1e309", gen, kept, range, 5},
        {"-1e99999999999", gen, kept, range, 14},           {"0e99999999999", gen, 0, ok, 13},
        // Underflow: subnormals are results, zero from a non-zero text is not.
        {"2.4703282292062328e-324", gen, lim::denorm_min(), ok, 23},  {"2.4703282292062327e-324", gen, kept, range, 23},
        {"3e-324", gen, lim::denorm_min(), ok, 6},          {"2e-324", gen, kept, range, 6},
        {"9e-325", gen, kept, range, 6},                    {"-1e-99999999999", gen, kept, range, 15},
        {"1e-320", gen, 0x0.00000000007e8p-1022, ok, 6},    {"-0e-5", gen, -0.0, ok, 5},
        // The largest subnormal and the smallest normal, either side of the tie.
        {"2.225073858507201136e-308", gen, 0x0.fffffffffffffp-1022, ok, 25},
        {"2.22507385850720113605740979671e-308", gen, 0x1p-1022, ok, 36},
        {"2.2250738585072014e-308", gen, 0x1p-1022, ok, 23},
        // Formats: scientific needs the exponent, fixed takes none.
        {"1e5", fix, 1, ok, 1},        {"1e5", sci, 1e5, ok, 3},      {"1", sci, kept, invalid, 0},
        {"1e", sci, kept, invalid, 0}, {"1e", gen, 1, ok, 1},         {"1e+", gen, 1, ok, 1},
        {".5e1", sci, 5, ok, 4},       {".5", sci, kept, invalid, 0}, {"5.", gen, 5, ok, 2},
        {"-.5", gen, -0.5, ok, 3},     {".", gen, kept, invalid, 0},  {"-", gen, kept, invalid, 0},
        {"+1", gen, kept, invalid, 0}, {" 1", gen, kept, invalid, 0}, {"1.5.5", gen, 1.5, ok, 3},
        {"1E-2x", gen, 0.01, ok, 4},   {"1e-+2", gen, 1, ok, 1},      {"", fix, kept, invalid, 0},
        // Hexadecimal: 16 significant digits kept, the rest a sticky bit.
        {"1.00000000000008", hex, 1, ok, 16},               {"1.000000000000080000001", hex, after_one, ok, 23},
        {"1.0000000000000800000", hex, 1, ok, 21},          {"10000000000000800", hex, 0x1p+64, ok, 17},
        {"10000000000000801", hex, 0x1.0000000000001p+64, ok, 17},  {"0.0000Ap4", hex, 0x1.4p-13, ok, 9},
        {"1e5", hex, 0x1e5, ok, 3},    {"1p", hex, 1, ok, 1},         {"0x1", hex, 0, ok, 1},
        {"-F.8P-1", hex, -7.75, ok, 7},{"g", hex, kept, invalid, 0},  {"1p5", gen, 1, ok, 1},
        {"1.fffffffffffff8p1023", hex, kept, range, 21},    {"1.fffffffffffff7p1023", hex, lim::max(), ok, 21},
        {"1.fffffffffffffp-1023", hex, 0x1p-1022, ok, 21},  {"1p-1075", hex, kept, range, 7},
        {"1.0000000000001p-1075", hex, lim::denorm_min(), ok, 21},  {"1p-99999999999", hex, kept, range, 14},
        // Infinities and NaNs, in any case and every format.
        {"-Infinity", gen, -inf, ok, 9},  {"infinit", fix, inf, ok, 3},  {"INF", hex, inf, ok, 3},
        {"nan(a_1)", sci, nan, ok, 8},    {"nan(a-1)", gen, nan, ok, 3}, {"NaN(", gen, nan, ok, 3},
        {"-nan()", gen, -nan, ok, 6},     {"in", gen, kept, invalid, 0}, {"-na", gen, kept, invalid, 0},
    };
    // clang-format on
    for (const auto& c : cases) {
        const char* first = c.text.data();
        const char* last = first + c.text.size();
        double own = kept;
        const std::from_chars_result o = Own::read(first, last, own, c.fmt);
        EXPECT_TRUE(o.ec == c.ec && o.ptr == (c.used == all ? last : first + c.used) && same(own, c.x))
            << '"' << c.text.substr(0, 60) << "\" gave " << own << ", " << o.ptr - first << " used";
        double x = kept;
        const std::from_chars_result r = cplx::detail::number_reader::read(first, last, x, c.fmt);
        EXPECT_TRUE(r.ec == o.ec && r.ptr == o.ptr && same(x, own)) << '"' << c.text.substr(0, 60) << '"';
    }
}

// std::complex's forms through operator>>, white space where its extractor
// takes it. The expectations are std::complex<double>'s results with
// libstdc++ 12; rows marked `as_std` are also checked against the library at
// hand (libc++ skips white space before '(' under noskipws, and takes the
// character that breaks "(1,2x"). Ours reads infinities, NaNs and hexadecimal
// parts too.
TEST(ReadingText, WhatStdComplexReads) {
    constexpr double inf = lim::infinity(), nan = lim::quiet_NaN();
    const Complex kept(42, -42);
    // clang-format off
    const struct { const char* text; bool skipws, ok; Complex z; bool eof; const char* rest; bool as_std; } cases[] = {
        {"(1,2)", true, true, {1, 2}, false, "", true},           {"( 1 , 2 )", true, true, {1, 2}, false, "", true},
        {"\t(1,\n2 )x", true, true, {1, 2}, false, "x", true},    {"( -0 , -0 )", true, true, {-0.0, -0.0}, false, "", true},
        {"(+1,+2)", true, true, {1, 2}, false, "", true},         {"( 1 )", true, true, {1, 0}, false, "", true},
        {"(1.,.5)", true, true, {1, 0.5}, false, "", true},       {" +1", true, true, {1, 0}, true, "", true},
        {"(1,2", true, false, kept, true, "", true},              {"(1,2 ", true, false, kept, true, "", true},
        {"(1 2)", true, false, kept, false, "2)", true},          {"(1,)", true, false, kept, false, ")", true},
        {"()", true, false, kept, false, ")", true},              {"(1e400,2)", true, false, kept, false, ",2)", true},
        {"(1,2x", true, false, kept, false, "x", false},          {"", true, false, kept, true, "", true},
        {"(inf,-nan)", true, true, {inf, -nan}, false, "", false},
        {"(0x1p+0,-0x1p-1)", true, true, {1, -0.5}, false, "", false},
        {"(1,2)", false, true, {1, 2}, false, "", true},          {"( 1,2)", false, false, kept, false, " 1,2)", true},
        {"(1,\n2)", false, false, kept, false, "\n2)", true},     {"(1 ,2)", false, false, kept, false, " ,2)", false},
        {" (1,2)", false, false, kept, false, " (1,2)", false},   {"(1)", false, true, {1, 0}, false, "", true},
    };
    // clang-format on
    struct Public {}; // operator>> itself
    for (const auto& c : cases) {
        const auto run = [&](auto number, Complex& z) {
            std::istringstream in(c.text);
            if (!c.skipws) in >> std::noskipws;
            if constexpr (std::is_same_v<decltype(number), Public>) {
                in >> z;
            } else {
                cplx::detail::read_stream<decltype(number)>(in, z.re, z.im);
            }
            const bool ok = !in.fail(), eof = in.eof();
            in.clear();
            return std::make_tuple(ok, eof, std::string(std::istreambuf_iterator<char>(in), {}));
        };
        Complex z = kept, own = kept;
        EXPECT_EQ(run(Public{}, z), std::make_tuple(c.ok, c.eof, std::string(c.rest))) << '"' << c.text << '"';
        EXPECT_EQ(run(Own{}, own), std::make_tuple(c.ok, c.eof, std::string(c.rest))) << '"' << c.text << '"';
        EXPECT_TRUE(same(z, c.z) && same(own, c.z)) << '"' << c.text << "\" gave " << z;
        if (c.as_std) {
            std::complex<double> w(kept.re, kept.im);
            std::istringstream in(c.text);
            if (!c.skipws) in >> std::noskipws;
            in >> w;
            const bool ok = !in.fail(), eof = in.eof();
            in.clear();
            EXPECT_EQ(std::make_tuple(ok, eof, std::string(std::istreambuf_iterator<char>(in), {})),
                      std::make_tuple(c.ok, c.eof, std::string(c.rest)))
                << "std::complex, \"" << c.text << '"';
            EXPECT_TRUE(same(Complex(w), c.z)) << "std::complex, \"" << c.text << '"';
        }
    }
}

// What only streams meet: showpos, uppercase, hexfloat, white space, and a
// stream that stops exactly after the value.
TEST(ReadingText, StreamsReadWhatTheyWrite) {
    std::stringstream io;
    const Complex values[] = {{1, 2}, {-0.5, -3}, {0, 8}, {25, 0}, {0, 1}, {1e300, -1e-300}};
    io << std::showpos << values[0] << ' ' << values[1] << ' ' << values[2] << ' ' << values[3] << ' ' << std::noshowpos
       << std::uppercase << std::scientific << values[4] << '\t' << values[5] << '\n'
       << std::hexfloat << values[0] << ' ' << values[1] << ' ' << std::fixed << std::setprecision(400) << values[5];
    const Complex& big = values[5];
    for (const Complex& v : {values[0], values[1], values[2], values[3], values[4], big, values[0], values[1], big}) {
        Complex z;
        ASSERT_TRUE(io >> z) << v;
        EXPECT_TRUE(same(z, v)) << z << " for " << v;
    }
    Complex z(42, 42);
    EXPECT_FALSE(io >> z);
    EXPECT_TRUE(io.eof() && z == Complex(42, 42));

    std::istringstream rest("3+4i;"), noskip(" 1");
    char next = 0;
    EXPECT_TRUE(rest >> z >> next && next == ';' && z == Complex(3, 4));
    EXPECT_FALSE(noskip >> std::noskipws >> z);
}
