// Compares the C library's double-precision sin, cos, atan, pow and sqrt of
// the build it is compiled for on the kinds of arguments the game passes
// them: angles in degrees turned to radians, quotients of float coordinates,
// squares and roots of floats. Writes every result's bits, one function
// after another, to the file named on the command line; libm-compare.mjs
// compares a native and a WebAssembly run (`make web-libm`, docs/web.md).
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {

constexpr double kPi = 3.141592653;
constexpr int kSamples = 1 << 20;

// Degrees to radians as the game turns them.
double toRadians(double degrees) {
    return degrees / 180.0 * kPi;
}

// A fixed sequence of floats, the same on every build.
struct Sequence {
    std::uint32_t state = 2463534242u;
    float next(float lo, float hi) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return lo + (hi - lo) * static_cast<float>(state >> 8) / 16777216.0f;
    }
};

void put(std::FILE* out, double v) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    std::fwrite(&bits, sizeof bits, 1, out);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: libm_probe OUTPUT\n");
        return 2;
    }
    std::FILE* out = std::fopen(argv[1], "wb");
    if (out == nullptr) return 1;
    Sequence s;
    for (int i = 0; i < kSamples; ++i) put(out, std::sin(toRadians(s.next(-720.0f, 720.0f))));
    for (int i = 0; i < kSamples; ++i) put(out, std::cos(toRadians(s.next(-720.0f, 720.0f))));
    for (int i = 0; i < kSamples; ++i) {
        const double y = s.next(-20.0f, 20.0f);
        const double x = s.next(-20.0f, 20.0f);
        put(out, std::atan(y / x));
    }
    for (int i = 0; i < kSamples; ++i)
        put(out, std::pow(static_cast<double>(s.next(-50.0f, 50.0f)), 2.0));
    for (int i = 0; i < kSamples; ++i)
        put(out, std::sqrt(static_cast<double>(s.next(0.0f, 5000.0f))));
    return std::fclose(out) == 0 ? 0 : 1;
}
