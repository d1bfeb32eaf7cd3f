// Times cplx against std::complex<double> and against the bare formulas, on
// the same arrays of ordinary values in one run, and ends with the speed
// ratios: how many times faster cplx is than each baseline.
#include "complex/Complex.hpp"

#include <benchmark/benchmark.h>

#include <cmath>
#include <complex>
#include <cstdio>
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
    std::vector<Complex> x, y;
    std::vector<StdComplex> sx, sy;

    Data() {
        std::mt19937_64 gen(1);
        std::uniform_real_distribution<double> part(-100, 100);
        for (std::size_t i = 0; i < kCount; ++i) {
            x.emplace_back(part(gen), part(gen));
            y.emplace_back(part(gen), part(gen));
            sx.emplace_back(x.back().re, x.back().im);
            sy.emplace_back(y.back().re, y.back().im);
        }
    }
};

const Data& data() {
    static const Data d;
    return d;
}

// The formulas written out on the two doubles, with nothing around them.
namespace bare {
Complex product(const Complex& a, const Complex& b) { return {a.re * b.re - a.im * b.im, a.re * b.im + a.im * b.re}; }
Complex quotient(const Complex& a, const Complex& b) {
    const double den = b.re * b.re + b.im * b.im;
    return {(a.re * b.re + a.im * b.im) / den, (a.im * b.re - a.re * b.im) / den};
}
double modulus(const Complex& z) { return std::sqrt(z.re * z.re + z.im * z.im); }
double argument(const Complex& z) { return std::atan2(z.im, z.re); }
} // namespace bare

template <class Out, class In, class Op>
void binary(benchmark::State& state, const std::vector<In>& x, const std::vector<In>& y, Op op) {
    std::vector<Out> out(kCount);
    for (auto _ : state) {
        for (std::size_t i = 0; i < kCount; ++i) out[i] = op(x[i], y[i]);
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kCount));
}

template <class In, class Op>
void unary(benchmark::State& state, const std::vector<In>& x, Op op) {
    std::vector<double> out(kCount);
    for (auto _ : state) {
        for (std::size_t i = 0; i < kCount; ++i) out[i] = op(x[i]);
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kCount));
}

template <class In, class Print>
void print(benchmark::State& state, const std::vector<In>& x, Print put) {
    for (auto _ : state) {
        std::ostringstream os;
        for (const auto& z : x) put(os, z);
        benchmark::DoNotOptimize(os.str().size());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kCount));
}

// ---------------------------------------------------------------- the runs

void product_cplx(benchmark::State& s) {
    binary<Complex>(s, data().x, data().y, [](auto& a, auto& b) { return a * b; });
}
void product_std(benchmark::State& s) {
    binary<StdComplex>(s, data().sx, data().sy, [](auto& a, auto& b) { return a * b; });
}
void product_bare(benchmark::State& s) {
    binary<Complex>(s, data().x, data().y, [](auto& a, auto& b) { return bare::product(a, b); });
}

void quotient_cplx(benchmark::State& s) {
    binary<Complex>(s, data().x, data().y, [](auto& a, auto& b) { return a / b; });
}
void quotient_std(benchmark::State& s) {
    binary<StdComplex>(s, data().sx, data().sy, [](auto& a, auto& b) { return a / b; });
}
void quotient_bare(benchmark::State& s) {
    binary<Complex>(s, data().x, data().y, [](auto& a, auto& b) { return bare::quotient(a, b); });
}

void modulus_cplx(benchmark::State& s) {
    unary(s, data().x, [](auto& z) { return cplx::mod(z); });
}
void modulus_std(benchmark::State& s) {
    unary(s, data().sx, [](auto& z) { return std::abs(z); });
}
void modulus_bare(benchmark::State& s) {
    unary(s, data().x, [](auto& z) { return bare::modulus(z); });
}

void argument_cplx(benchmark::State& s) {
    unary(s, data().x, [](auto& z) { return cplx::arg(z); });
}
void argument_std(benchmark::State& s) {
    unary(s, data().sx, [](auto& z) { return std::arg(z); });
}
void argument_bare(benchmark::State& s) {
    unary(s, data().x, [](auto& z) { return bare::argument(z); });
}

void print_cplx(benchmark::State& s) {
    print(s, data().x, [](std::ostream& os, auto& z) { os << z << '\n'; });
}
void print_std(benchmark::State& s) {
    print(s, data().sx, [](std::ostream& os, auto& z) { os << z << '\n'; });
}
void print_bare(benchmark::State& s) {
    print(s, data().x, [](std::ostream& os, auto& z) { os << z.re << '+' << z.im << "i\n"; });
}

// Registered side by side, so that each ratio compares neighbours in time.
BENCHMARK(product_cplx);
BENCHMARK(product_std);
BENCHMARK(product_bare);
BENCHMARK(quotient_cplx);
BENCHMARK(quotient_std);
BENCHMARK(quotient_bare);
BENCHMARK(modulus_cplx);
BENCHMARK(modulus_std);
BENCHMARK(modulus_bare);
BENCHMARK(argument_cplx);
BENCHMARK(argument_std);
BENCHMARK(argument_bare);
BENCHMARK(print_cplx);
BENCHMARK(print_std);
BENCHMARK(print_bare);

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
        for (const char* op : {"product", "quotient", "modulus", "argument", "print"}) {
            const std::string name(op);
            std::printf("%-10s %13.2fx %13.2fx\n", op, ratio(name + "_std", name + "_cplx"),
                        ratio(name + "_bare", name + "_cplx"));
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
bool results_agree() {
    const Data& d = data();
    for (std::size_t i = 0; i < kCount; ++i) {
        const Complex p = d.x[i] * d.y[i], q = d.x[i] / d.y[i];
        const StdComplex sq = d.sx[i] / d.sy[i];
        if (p != bare::product(d.x[i], d.y[i]) || q != bare::quotient(d.x[i], d.y[i]) ||
            cplx::mod(d.x[i]) != bare::modulus(d.x[i]) || cplx::arg(d.x[i]) != std::arg(d.sx[i]) ||
            std::abs(StdComplex(q.re, q.im) - sq) > 1e-15 * std::abs(sq)) {
            std::fprintf(stderr, "cplx disagrees with the baselines at element %zu\n", i);
            return false;
        }
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    if (!results_agree()) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
