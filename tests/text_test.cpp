// SPDX-License-Identifier: MIT
#include "complex/Complex.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <iomanip>
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

template <class Stream>
bool stream_reads(const std::string& text, Complex& z) {
    Stream in(std::basic_string<typename Stream::char_type>(text.begin(), text.end()));
    in >> z;
    return !in.fail();
}

} // namespace

// Each text through from_chars, and through operator>> on narrow and wide
// streams. `used` is how much from_chars takes; the stream, which cannot put
// back what it took, takes a value only when from_chars takes all of the
// text, and otherwise fails, apart from the forms marked `stream_too`.
TEST(ReadingText, FromCharsAndStreams) {
    constexpr double inf = lim::infinity(), nan = lim::quiet_NaN();
    constexpr std::errc ok{}, invalid = std::errc::invalid_argument, range = std::errc::result_out_of_range;
    const Complex kept(42, -42);
    // clang-format off
    const struct { const char* text; Complex z; std::errc ec; std::size_t used; bool stream_too; } cases[] = {
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
        {"(3,4)", kept, invalid, 0, false},      {"-i", kept, invalid, 0, false},       {"i.5", {0, 1}, ok, 1, true},
        {"1e999+1i", kept, range, 8, false},     {"1+1e999i", kept, range, 8, false},   {"1e-999", kept, range, 6, false},
    };
    // clang-format on
    for (const auto& c : cases) {
        const std::string text = c.text;
        Complex z = kept;
        const std::from_chars_result r = cplx::from_chars(text.data(), text.data() + text.size(), z);
        EXPECT_TRUE(r.ec == c.ec && r.ptr == text.data() + c.used && same(z, c.z))
            << '"' << text << "\" gave " << z << ", " << r.ptr - text.data() << " used";

        const bool whole = c.ec == ok && c.used == text.size();
        Complex narrow = kept, wide = kept;
        EXPECT_EQ(stream_reads<std::istringstream>(text, narrow), whole || c.stream_too) << '"' << text << '"';
        EXPECT_EQ(stream_reads<std::wistringstream>(text, wide), whole || c.stream_too) << '"' << text << '"';
        EXPECT_TRUE(same(narrow, whole || c.stream_too ? c.z : kept) && same(wide, narrow)) << '"' << text << '"';
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
