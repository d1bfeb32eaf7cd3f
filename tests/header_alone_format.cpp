// SPDX-License-Identifier: MIT
// The formatting header first and alone: it must bring in everything it
// uses. Each formatter it defines is used, narrow and wide, so that the
// warning flags see the bodies.
#include "complex/Format.hpp"

#if CPLX_HAS_FMT_FORMATTER
#include <fmt/xchar.h>

std::string cplx_header_alone_fmt(const cplx::Complex& z);
std::wstring cplx_header_alone_fmt_wide(const cplx::Complex& z);

std::string cplx_header_alone_fmt(const cplx::Complex& z) {
    return fmt::format("{:*^+#{}.{}e}", z, 30, 3) + fmt::format(fmt::runtime("{:{w}}"), z, fmt::arg("w", 9));
}
std::wstring cplx_header_alone_fmt_wide(const cplx::Complex& z) { return fmt::format(L"{:>{}.{}G}", z, 20, 4); }
#endif

#if CPLX_HAS_STD_FORMATTER
std::string cplx_header_alone_std(const cplx::Complex& z);
std::wstring cplx_header_alone_std_wide(const cplx::Complex& z);

std::string cplx_header_alone_std(const cplx::Complex& z) { return std::format("{:*^+#{}.{}e}", z, 30, 3); }
std::wstring cplx_header_alone_std_wide(const cplx::Complex& z) { return std::format(L"{0:>{1}.{2}G}", z, 20, 4); }
#endif
