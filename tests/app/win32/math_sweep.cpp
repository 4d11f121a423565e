// Measures how the math library of one build agrees with another's on the
// functions the game calls, over the kind of arguments it passes them.
//
//   math_sweep write FILE   the bits of sin, cos and atan for 2,000,000 angles
//   math_sweep compare A B  how many results differ, by how many units in the
//                           last place, and whether any still differs once
//                           rounded to float (the game stores floats)
//
// See math_sweep.sh and docs/windows.md.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr int kAngles = 2000000;
constexpr int kFunctions = 3;
constexpr const char* kNames[kFunctions] = {"sin", "cos", "atan"};
constexpr double kPi = 3.141592653;

// Angles in degrees: a fine sweep of 0..360, then pseudo-random ones in
// -180..180 with all their digits used.
double angleAt(int i, std::uint32_t& state) {
    if (i < 720000) return i * 0.0005;
    state = state * 1103515245u + 12345u;
    return (state % 3600000) / 10000.0 - 180.0 + (state >> 20) * 1e-9;
}

int write(const char* path) {
    std::FILE* out = std::fopen(path, "wb");
    if (out == nullptr) return 1;
    std::uint32_t state = 12345;
    for (int i = 0; i < kAngles; ++i) {
        volatile double x = angleAt(i, state) * kPi / 180.0;
        const double r[kFunctions] = {std::sin(x), std::cos(x),
                                      std::atan(std::tan(x) * 0.75 + 0.1)};
        std::fwrite(r, sizeof r, 1, out);
    }
    return std::fclose(out) == 0 ? 0 : 1;
}

std::vector<double> read(const char* path) {
    std::vector<double> v(static_cast<std::size_t>(kAngles) * kFunctions);
    std::FILE* in = std::fopen(path, "rb");
    if (in == nullptr || std::fread(v.data(), sizeof(double), v.size(), in) != v.size()) v.clear();
    if (in != nullptr) std::fclose(in);
    return v;
}

int compare(const char* a, const char* b) {
    const std::vector<double> va = read(a);
    const std::vector<double> vb = read(b);
    if (va.empty() || vb.empty()) return 1;
    for (int f = 0; f < kFunctions; ++f) {
        long differ = 0;
        long floatDiffer = 0;
        std::int64_t maxUlps = 0;
        for (int i = 0; i < kAngles; ++i) {
            const double x = va[static_cast<std::size_t>(i) * kFunctions + f];
            const double y = vb[static_cast<std::size_t>(i) * kFunctions + f];
            std::int64_t bx = 0;
            std::int64_t by = 0;
            std::memcpy(&bx, &x, sizeof x);
            std::memcpy(&by, &y, sizeof y);
            if (bx == by) continue;
            ++differ;
            maxUlps = std::max<std::int64_t>(maxUlps, bx > by ? bx - by : by - bx);
            floatDiffer += static_cast<float>(x) != static_cast<float>(y);
        }
        std::printf(
            "%-5s %8ld of %d differ (%.3f%%), at most %lld units in the last place; "
            "%ld differ as floats\n",
            kNames[f], differ, kAngles, 100.0 * differ / kAngles, static_cast<long long>(maxUlps),
            floatDiffer);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "write") == 0) return write(argv[2]);
    if (argc == 4 && std::strcmp(argv[1], "compare") == 0) return compare(argv[2], argv[3]);
    std::fprintf(stderr, "usage: math_sweep write FILE | math_sweep compare A B\n");
    return 2;
}
