// SPDX-License-Identifier: MIT
// Times cplx against std::complex<double> and against the bare formulas, on
// the same arrays of ordinary values in one run, and ends with the speed
// ratios: how many times faster cplx is than each baseline. Built with
// CPLX_BENCH_LIBCXX, the array loops are those of libcxx_loops.cpp, compiled
// against libc++, and the baseline is libc++'s std::complex; the text
// conversions, which would measure libstdc++'s streams, are left out.
#include "complex/Complex.hpp"
#include "complex/Functions.hpp"
#ifdef CPLX_BENCH_LIBCXX
#include "libcxx_loops.hpp"
// The inline loops and the text timings below are not registered here.
#pragma clang diagnostic ignored "-Wunused-const-variable"
#endif

#include <benchmark/benchmark.h>

#include <charconv>
#include <cmath>
#include <complex>
#include <cstdio>
#include <iomanip>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

using cplx::Complex;
using StdComplex = std::complex<double>;

constexpr std::size_t kCount = 1000;

struct Data {
    std::vector<Complex> x, y, f; // f: parts in [-10, 10], for the elementary functions
    std::vector<StdComplex> sx, sy, sf;
    // The values of x as text, a line each: cplx's shortest text form,
    // std::complex's "(re,im)" at 17 digits, and the bare "re im".
    std::string text, std_text, bare_text;
#ifdef CPLX_BENCH_LIBCXX
    std::vector<double> px, py, pf; // x, y and f as re, im pairs, for the libc++ loops
#endif

    Data() {
        std::mt19937_64 gen(1);
        std::uniform_real_distribution<double> part(-100, 100);
        std::ostringstream theirs, bare;
        theirs << std::setprecision(17);
        bare << std::setprecision(17);
        for (std::size_t i = 0; i < kCount; ++i) {
            x.emplace_back(part(gen), part(gen));
            y.emplace_back(part(gen), part(gen));
            sx.emplace_back(x.back().re, x.back().im);
            sy.emplace_back(y.back().re, y.back().im);
            char buf[64];
            text.append(buf, cplx::to_chars(buf, buf + sizeof buf, x.back()).ptr) += '\n';
            theirs << sx.back() << '\n';
            bare << x.back().re << ' ' << x.back().im << '\n';
        }
        std::uniform_real_distribution<double> small(-10, 10);
        for (std::size_t i = 0; i < kCount; ++i) {
            f.emplace_back(small(gen), small(gen));
            sf.emplace_back(f.back().re, f.back().im);
        }
        std_text = theirs.str();
        bare_text = bare.str();
#ifdef CPLX_BENCH_LIBCXX
        for (std::size_t i = 0; i < kCount; ++i) {
            px.insert(px.end(), {x[i].re, x[i].im});
            py.insert(py.end(), {y[i].re, y[i].im});
            pf.insert(pf.end(), {f[i].re, f[i].im});
        }
#endif
    }
};

const Data& data() {
    static const Data d;
    return d;
}

// The formulas written out on the two doubles, with nothing around them;
// lambdas, so that the timing loops inline them as they do cplx's operators.
// The unary ones take and ignore a second operand, as the loop passes one.
namespace bare {
constexpr auto product = [](const Complex& a, const Complex& b) -> Complex {
    return {a.re * b.re - a.im * b.im, a.re * b.im + a.im * b.re};
};
constexpr auto quotient = [](const Complex& a, const Complex& b) -> Complex {
    const double den = b.re * b.re + b.im * b.im;
    return {(a.re * b.re + a.im * b.im) / den, (a.im * b.re - a.re * b.im) / den};
};
constexpr auto modulus = [](const Complex& z, const Complex&) { return std::sqrt(z.re * z.re + z.im * z.im); };
constexpr auto argument = [](const Complex& z, const Complex&) { return std::atan2(z.im, z.re); };
} // namespace bare

// One operation over the arrays; a unary operation ignores its second operand.
constexpr auto each = [](benchmark::State& state, const auto& x, const auto& y, auto op) {
    std::vector<decltype(op(x[0], y[0]))> out(kCount);
    for (auto _ : state) {
        for (std::size_t i = 0; i < kCount; ++i) out[i] = op(x[i], y[i]);
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kCount));
};

constexpr auto print = [](benchmark::State& state, const auto& x, const auto&, auto put) {
    for (auto _ : state) {
        std::ostringstream os;
        for (const auto& z : x) put(os, z);
        benchmark::DoNotOptimize(os.str().size());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kCount));
};

// Text: each operation handles the whole array and returns something to keep.
constexpr auto batch = [](benchmark::State& state, const auto& x, const auto&, auto op) {
    for (auto _ : state) benchmark::DoNotOptimize(op(x));
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kCount));
};

namespace text {
char* buffer() {
    static std::vector<char> buf(kCount * 64);
    return buf.data();
}
const auto to_chars = [](const std::vector<Complex>& x) {
    char* p = buffer();
    for (const Complex& z : x) {
        p = cplx::to_chars(p, p + 64, z).ptr;
        *p++ = '\n';
    }
    return p;
};
const auto std_write = [](const std::vector<StdComplex>& x) {
    std::ostringstream os;
    os << std::setprecision(17);
    for (const StdComplex& z : x) os << z << '\n';
    return os.str().size();
};
const auto bare_to_chars = [](const std::vector<Complex>& x) {
    char* p = buffer();
    for (const Complex& z : x) {
        p = std::to_chars(p, p + 32, z.re).ptr;
        *p++ = '+';
        p = std::to_chars(p, p + 32, z.im).ptr;
        *p++ = 'i';
        *p++ = '\n';
    }
    return p;
};
const auto from_chars = [](const std::vector<Complex>&) {
    const std::string& t = data().text;
    const char *p = t.data(), *end = p + t.size();
    double sum = 0;
    while (p < end) {
        Complex z;
        p = cplx::from_chars(p, end, z).ptr + 1;
        sum += z.re + z.im;
    }
    return sum;
};
const auto bare_from_chars = [](const std::vector<Complex>&) {
    const std::string& t = data().bare_text;
    const char *p = t.data(), *end = p + t.size();
    double sum = 0;
    for (double re = 0, im = 0; p < end; sum += re + im) {
        p = std::from_chars(p, end, re).ptr + 1;
        p = std::from_chars(p, end, im).ptr + 1;
    }
    return sum;
};
const auto read = [](const std::vector<Complex>&) {
    std::istringstream is(data().text);
    double sum = 0;
    for (Complex z; is >> z;) sum += z.re + z.im;
    return sum;
};
const auto std_read = [](const std::vector<StdComplex>&) {
    std::istringstream is(data().std_text);
    double sum = 0;
    for (StdComplex z; is >> z;) sum += z.real() + z.imag();
    return sum;
};
const auto bare_read = [](const std::vector<Complex>&) {
    std::istringstream is(data().bare_text);
    double sum = 0;
    for (double re = 0, im = 0; is >> re >> im;) sum += re + im;
    return sum;
};
} // namespace text

// The operations registered, in order, and whether each has a bare baseline.
std::vector<std::pair<std::string, bool>>& ops() {
    static std::vector<std::pair<std::string, bool>> list;
    return list;
}

// Registers op_cplx, op_std and op_bare side by side, so that each ratio
// compares neighbours in time.
template <class Run, class Ours, class Theirs, class Bare>
void add(const std::string& op, Run run, Ours ours, Theirs theirs, Bare bare) {
    const Data& d = data();
    benchmark::RegisterBenchmark((op + "_cplx").c_str(), [=, &d](benchmark::State& s) { run(s, d.x, d.y, ours); });
    benchmark::RegisterBenchmark((op + "_std").c_str(), [=, &d](benchmark::State& s) { run(s, d.sx, d.sy, theirs); });
    benchmark::RegisterBenchmark((op + "_bare").c_str(), [=, &d](benchmark::State& s) { run(s, d.x, d.y, bare); });
    ops().emplace_back(op, true);
}

// An elementary function, on parts in [-10, 10] (exponents in [-2, 2]
// for pow), against std::complex's.
template <class Ours, class Theirs>
void add_function(const std::string& op, Ours ours, Theirs theirs) {
    const Data& d = data();
    benchmark::RegisterBenchmark((op + "_cplx").c_str(), [=, &d](benchmark::State& s) { each(s, d.f, d.y, ours); });
    benchmark::RegisterBenchmark((op + "_std").c_str(), [=, &d](benchmark::State& s) { each(s, d.sf, d.sy, theirs); });
    ops().emplace_back(op, false);
}

#ifdef CPLX_BENCH_LIBCXX
std::vector<cplx_bench_kernel> libcxx_kernels() {
    std::size_t n = 0;
    const cplx_bench_kernel* k = cplx_bench_libcxx_kernels(&n);
    return {k, k + n};
}

// One of the libc++ loops over the arrays, timed like each().
void external(benchmark::State& state, cplx_bench_loop* loop, const std::vector<double>& x,
              const std::vector<double>& y) {
    std::vector<double> out(2 * kCount);
    for (auto _ : state) {
        loop(x.data(), y.data(), out.data(), kCount);
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kCount));
}

// The elementary functions (no bare formula) on parts in [-10, 10], the
// rest on x and y, as in the other builds.
void add_all() {
    const Data& d = data();
    for (const cplx_bench_kernel& k : libcxx_kernels()) {
        const std::string op = k.name;
        const std::vector<double>& x = k.bare ? d.px : d.pf;
        benchmark::RegisterBenchmark((op + "_cplx").c_str(), external, k.ours, x, d.py);
        benchmark::RegisterBenchmark((op + "_std").c_str(), external, k.theirs, x, d.py);
        if (k.bare) benchmark::RegisterBenchmark((op + "_bare").c_str(), external, k.bare, x, d.py);
        ops().emplace_back(op, k.bare != nullptr);
    }
}
#else
void add_all() {
    const auto product = [](const auto& a, const auto& b) { return a * b; };
    const auto quotient = [](const auto& a, const auto& b) { return a / b; };
    const auto put = [](std::ostream& os, const auto& z) { os << z << '\n'; };
    add("product", each, product, product, bare::product);
    add("quotient", each, quotient, quotient, bare::quotient);
    add(
        "modulus", each, [](const Complex& z, const Complex&) { return cplx::mod(z); },
        [](const StdComplex& z, const StdComplex&) { return std::abs(z); }, bare::modulus);
    add(
        "argument", each, [](const Complex& z, const Complex&) { return cplx::arg(z); },
        [](const StdComplex& z, const StdComplex&) { return std::arg(z); }, bare::argument);
    add("print", print, put, put, [](std::ostream& os, const Complex& z) { os << z.re << '+' << z.im << "i\n"; });
    // std::complex has no exact text conversion: its stream operators at 17
    // digits are what round-trips there. Bare: std::to_chars and
    // std::from_chars of the two parts, the limit for cplx's own.
    add("to_chars", batch, text::to_chars, text::std_write, text::bare_to_chars);
    add("from_chars", batch, text::from_chars, text::std_read, text::bare_from_chars);
    add("read", batch, text::read, text::std_read, text::bare_read);

#define CPLX_BENCH_FUNCTION(f)                                           \
    add_function(                                                        \
        #f, [](const Complex& z, const Complex&) { return cplx::f(z); }, \
        [](const StdComplex& z, const StdComplex&) { return std::f(z); })
    CPLX_BENCH_FUNCTION(sqrt);
    CPLX_BENCH_FUNCTION(exp);
    CPLX_BENCH_FUNCTION(log);
    CPLX_BENCH_FUNCTION(log10);
    CPLX_BENCH_FUNCTION(sin);
    CPLX_BENCH_FUNCTION(cos);
    CPLX_BENCH_FUNCTION(tan);
    CPLX_BENCH_FUNCTION(sinh);
    CPLX_BENCH_FUNCTION(cosh);
    CPLX_BENCH_FUNCTION(tanh);
    CPLX_BENCH_FUNCTION(asin);
    CPLX_BENCH_FUNCTION(acos);
    CPLX_BENCH_FUNCTION(atan);
    CPLX_BENCH_FUNCTION(asinh);
    CPLX_BENCH_FUNCTION(acosh);
    CPLX_BENCH_FUNCTION(atanh);
#undef CPLX_BENCH_FUNCTION
    // The second operand, with parts in [-100, 100], scaled to [-2, 2].
    add_function(
        "pow", [](const Complex& z, const Complex& w) { return cplx::pow(z, w * 0.02); },
        [](const StdComplex& z, const StdComplex& w) { return std::pow(z, w * 0.02); });
    add_function(
        "pow_real", [](const Complex& z, const Complex& w) { return cplx::pow(z, w.re * 0.02); },
        [](const StdComplex& z, const StdComplex& w) { return std::pow(z, w.real() * 0.02); });
    add_function(
        "pow_int", [](const Complex& z, const Complex&) { return cplx::pow(z, 7.0); },
        [](const StdComplex& z, const StdComplex&) { return std::pow(z, 7.0); });
}
#endif

// The console report, followed by the table of ratios. With repetitions, the
// median of each is used.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred) continue;
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (run.run_type == Run::RT_Iteration || median) {
                const std::string name = run.run_name.function_name;
                if (median || !time_.count(name)) time_[name] = run.GetAdjustedRealTime();
            }
        }
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        std::printf("\nspeed of cplx relative to each baseline (higher is faster)\n");
        std::printf("%-10s %14s %14s\n", "operation", "vs std", "vs bare");
        for (const auto& [name, bare] : ops()) {
            std::printf("%-10s %13.2fx", name.c_str(), ratio(name + "_std", name + "_cplx"));
            if (bare) std::printf(" %13.2fx", ratio(name + "_bare", name + "_cplx"));
            std::printf("\n");
        }
    }

private:
    double ratio(const std::string& baseline, const std::string& ours) const {
        const auto b = time_.find(baseline), o = time_.find(ours);
        return b == time_.end() || o == time_.end() ? 0.0 : b->second / o->second;
    }

    std::map<std::string, double> time_;
};

// A benchmark of wrong answers proves nothing: cplx must agree with the
// formulas and with std::complex on these arrays before anything is timed.
// Within four units of the larger part: where the target fuses, cplx's
// product and quotient take a symmetric form that rounds differently from
// the textbook one.
bool close(const Complex& a, const Complex& b) {
    const double scale = std::fmax(std::fabs(b.re), std::fabs(b.im)) * 0x1p-51;
    return std::fabs(a.re - b.re) <= scale && std::fabs(a.im - b.im) <= scale;
}

bool results_agree() {
    const Data& d = data();
#ifdef CPLX_BENCH_LIBCXX
    // The same checks on the libc++ loops' results.
    std::map<std::string, std::vector<double>> ours, theirs, bare;
    for (const cplx_bench_kernel& k : libcxx_kernels()) {
        if (!k.bare) continue;
        for (auto [out, loop] : {std::pair{&ours, k.ours}, {&theirs, k.theirs}, {&bare, k.bare}}) {
            std::vector<double>& r = (*out)[k.name];
            r.resize(2 * kCount);
            loop(d.px.data(), d.py.data(), r.data(), kCount);
        }
    }
    for (const char* op : {"product", "quotient"})
        for (std::size_t i = 0; i < 2 * kCount; i += 2)
            if (!close({ours[op][i], ours[op][i + 1]}, {bare[op][i], bare[op][i + 1]})) {
                std::fprintf(stderr, "cplx's %s disagrees with the bare formula at element %zu\n", op, i / 2);
                return false;
            }
    if (ours["modulus"] != bare["modulus"] || ours["argument"] != theirs["argument"]) {
        std::fprintf(stderr, "cplx disagrees with the bare modulus or std::arg\n");
        return false;
    }
    const std::vector<double>&q = ours["quotient"], &sq = theirs["quotient"];
    for (std::size_t i = 0; i < 2 * kCount; i += 2) {
        const StdComplex ratio(q[i], q[i + 1]), std_ratio(sq[i], sq[i + 1]);
        if (std::abs(ratio - std_ratio) > 1e-15 * std::abs(std_ratio)) {
            std::fprintf(stderr, "cplx disagrees with std::complex at element %zu\n", i / 2);
            return false;
        }
    }
#else
    for (std::size_t i = 0; i < kCount; ++i) {
        const Complex p = d.x[i] * d.y[i], q = d.x[i] / d.y[i];
        const StdComplex sq = d.sx[i] / d.sy[i];
        if (!close(p, bare::product(d.x[i], d.y[i])) || !close(q, bare::quotient(d.x[i], d.y[i])) ||
            cplx::mod(d.x[i]) != bare::modulus(d.x[i], d.y[i]) || cplx::arg(d.x[i]) != std::arg(d.sx[i]) ||
            std::abs(StdComplex(q.re, q.im) - sq) > 1e-15 * std::abs(sq)) {
            std::fprintf(stderr, "cplx disagrees with the baselines at element %zu\n", i);
            return false;
        }
    }
#endif
    // Every text read the same values back.
    const double sum = text::from_chars(d.x);
    if (sum != text::read(d.x) || sum != text::std_read(d.sx) || sum != text::bare_from_chars(d.x)) {
        std::fprintf(stderr, "the text conversions disagree\n");
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    if (!results_agree()) return 1;
#ifdef CPLX_BENCH_LIBCXX
    benchmark::AddCustomContext("std::complex", "libc++ " + std::to_string(cplx_bench_libcxx_version()));
#elif defined(_GLIBCXX_RELEASE)
    benchmark::AddCustomContext("std::complex", "libstdc++ " + std::to_string(_GLIBCXX_RELEASE));
#endif
    add_all();
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
