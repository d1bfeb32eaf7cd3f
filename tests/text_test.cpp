#include "complex/Complex.hpp"

#include <gtest/gtest.h>

#include <iomanip>
#include <limits>
#include <sstream>
#include <string>

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
       << std::scientific << Complex(0, 1500) << ' ' << std::showpos << Complex(1, 2);
    EXPECT_EQ(os.str(), "0.333-0.667i 0.500+0.250i 1.500e+03i +1.000e+00++2.000e+00i");
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
