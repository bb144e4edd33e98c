// The simulation's sine and cosine: accurate against the long double library
// functions, the same bits on every machine (the golden hash below is checked
// on amd64 and on arm64), and the ones Box2D's rotations actually use.

#include <gtest/gtest.h>

#include <box2d/b2_math.h>

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <vector>

#include "sim/physics/DeterministicTrig.hpp"

namespace {

constexpr float inf = std::numeric_limits<float>::infinity();
constexpr float halfPi = std::numbers::pi_v<float> / 2;

// One float ulp at the true value: the gap between the floats around it.
long double ulpAt(long double truth) {
    if (std::fabs(truth) < FLT_MIN) {
        return FLT_TRUE_MIN;
    }
    int exponent = 0;
    std::frexp(truth, &exponent);
    return std::ldexp(1.0L, exponent - FLT_MANT_DIG);
}

long double ulpsOff(float got, long double truth) {
    return std::fabs(static_cast<long double>(got) - truth) / ulpAt(truth);
}

// Floats spread over every exponent, both signs (every 40961st bit pattern),
// the multiples of a quarter turn with their neighbours, and the angles that
// are hardest to get right.
std::vector<float> floatsOfEverySize() {
    std::vector<float> angles = {
        FLT_TRUE_MIN, FLT_MIN, 1e-30f, 0x1p-12f, 1.0f,
        0x1.921fb4p-1f,  // the last without reduction
        std::numbers::pi_v<float> / 4,
        17.28f,  // near where glibc's sinf differs between CPUs with and without FMA
        1e6f, std::nextafter(0x1p25f, 0.0f), 0x1p25f, 1e20f, FLT_MAX,
        // The floats nearest to a multiple of pi/2 in their binades: reducing
        // them cancels the most bits (the nearest of all floats is 0x1.f37c8ap+95).
        0x1.2d97c8p+2f, 0x1.f9cbe2p+7f, 0x1.04ccbcp+19f, 0x1.e768f6p+24f, 0x1.4665d2p+25f,
        0x1.47d0fep+34f, 0x1.f37c8ap+95f, 0x1.b08c4ap+111f};
    for (int k = 1; k <= 20000; ++k) {
        const float angle = static_cast<float>(k) * halfPi;
        angles.insert(angles.end(),
                      {angle, std::nextafter(angle, 0.0f), std::nextafter(angle, inf)});
    }
    constexpr std::uint32_t stride = 40961;
    for (std::uint64_t bits = 0; bits <= 0x7f7fffff; bits += stride) {
        const float angle = std::bit_cast<float>(static_cast<std::uint32_t>(bits));
        angles.push_back(angle);
        angles.push_back(-angle);
    }
    return angles;
}

std::uint64_t fnv1a(std::uint64_t hash, std::uint32_t word) {
    constexpr std::uint64_t prime = 0x100000001b3;
    for (int byte = 0; byte < 4; ++byte) {
        hash = (hash ^ ((word >> (8 * byte)) & 0xff)) * prime;
    }
    return hash;
}

}  // namespace

TEST(DeterministicTrig, FloatsOfEverySizeAreWithinOneUlpAndSymmetricZerosAndNonFiniteExact) {
    for (float angle : floatsOfEverySize()) {
        const long double x = angle;
        EXPECT_LT(ulpsOff(b2Sin(angle), std::sin(x)), 1.0L) << "sin " << std::hexfloat << angle;
        EXPECT_LT(ulpsOff(b2Cos(angle), std::cos(x)), 1.0L) << "cos " << std::hexfloat << angle;
        // Odd and even exactly, so a mirrored level turns exactly mirrored (and
        // the negative angles are as close as the positive ones).
        EXPECT_EQ(std::bit_cast<std::uint32_t>(b2Sin(-angle)),
                  std::bit_cast<std::uint32_t>(-b2Sin(angle)));
        EXPECT_EQ(std::bit_cast<std::uint32_t>(b2Cos(-angle)),
                  std::bit_cast<std::uint32_t>(b2Cos(angle)));
    }

    // Zeros keep their sign; what is no finite angle gives NaN.
    struct Case {
        float angle;
        float sin;
        float cos;
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const Case cases[] = {
        {0.0f, 0.0f, 1.0f}, {-0.0f, -0.0f, 1.0f}, {inf, nan, nan},
        {-inf, nan, nan},   {nan, nan, nan},      {-nan, nan, nan},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.angle);
        EXPECT_EQ(std::bit_cast<std::uint32_t>(b2Sin(c.angle)),
                  std::bit_cast<std::uint32_t>(c.sin));
        EXPECT_EQ(std::bit_cast<std::uint32_t>(b2Cos(c.angle)),
                  std::bit_cast<std::uint32_t>(c.cos));
    }
}

// The bits of a million results, as a committed constant: a machine, compiler
// or flag that changes one of them changes every replay.
TEST(DeterministicTrig, AMillionResultsHashToTheCommittedValueAndBoxRotationsUseThem) {
    constexpr std::uint64_t golden = 0xb86c0cfc147c757e;
    constexpr int count = 1000000;
    std::uint64_t hash = 0xcbf29ce484222325;
    for (int i = 0; i < count; ++i) {
        // Half over every bit pattern (infinities and NaNs included), half
        // the angles of play, -1000 to 1000 radians.
        const float angle = i % 2 == 0
                                ? std::bit_cast<float>(static_cast<std::uint32_t>(i) * 8590u)
                                : static_cast<float>(-1000.0 + 0.004 * static_cast<double>(i / 2));
        const std::uint32_t sine = std::bit_cast<std::uint32_t>(b2Sin(angle));
        const std::uint32_t cosine = std::bit_cast<std::uint32_t>(b2Cos(angle));
        hash = fnv1a(fnv1a(hash, sine), cosine);
        // Both at once are the same bits, and so are Box2D's rotations: its
        // header is patched to take them from these functions. An unpatched
        // Box2D would still build, with the C library's sinf, which differs
        // from ours in the last bit at a few percent of angles.
        float both[2];
        b2SinCos(angle, &both[0], &both[1]);
        b2Rot set;
        set.Set(angle);
        for (const b2Rot& rotation : {b2Rot(angle), set}) {
            ASSERT_EQ(std::bit_cast<std::uint32_t>(rotation.s), sine) << std::hexfloat << angle;
            ASSERT_EQ(std::bit_cast<std::uint32_t>(rotation.c), cosine) << std::hexfloat << angle;
        }
    }
    EXPECT_EQ(hash, golden) << std::hex << "0x" << hash;
}
