#include "sim/physics/DeterministicTrig.hpp"

// Box2D's own declarations of the two functions: a mismatch with ours stops
// the build instead of linking something else.
#include <box2d/b2_math.h>

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>

// Excess precision (x87) would round the double steps differently.
static_assert(FLT_EVAL_METHOD == 0, "the trig needs plain double arithmetic");
static_assert(std::numeric_limits<double>::is_iec559 && std::numeric_limits<float>::is_iec559);

namespace {

// An angle as a number of quarter turns plus the rest, |rest| <= pi/4 (a
// hair more where the rounding of the quarter-turn count goes the other way).
struct ReducedAngle {
    std::uint32_t quarterTurns;  // only its value mod 4 matters
    double rest;                 // radians
};

// The largest float below pi/4.
constexpr float quarterPiFloat = 0x1.921fb4p-1f;
constexpr double halfPi = 0x1.921fb54442d18p+0;
constexpr double twoOverPi = 0x1.45f306dc9c883p-1;

// pi/2 in three parts (Cody and Waite). The first two have 28 significant bits,
// so n times either is exact for every n below 2^25; the third is the rest.
constexpr double halfPiPart1 = 0x1.921fb54p+0;
constexpr double halfPiPart2 = 0x1.10b461p-30;
constexpr double halfPiPart3 = 0x1.a62633145c06ep-58;

// Below this the three parts reduce exactly enough; at and above it every
// float is an integer times a power of two, reduced with the bits of 2/pi.
constexpr float codyWaiteLimit = 0x1p25f;
constexpr double roundingShift = 0x1.8p52;

// 2/pi in binary, the first 320 bits after the point: a float's exponent of
// at most 127 needs bits up to number 231.
constexpr std::uint32_t twoOverPiBits[] = {
    0xA2F9836E, 0x4E441529, 0xFC2757D1, 0xF534DDC0, 0xDB629599,
    0x3C439041, 0xFE5163AB, 0xDEBBC561, 0xB7246E3A, 0x424DD2E0,
};

constexpr int floatMantissaBits = 23;
constexpr int floatExponentBias = 127;
constexpr std::uint32_t floatMantissaMask = (1u << floatMantissaBits) - 1;
constexpr std::uint32_t floatSignBit = 0x80000000u;
constexpr int doubleSignShift = 63;
constexpr int wordBits = 32;
constexpr double wordScale = 0x1p-32;  // one 32-bit word down
constexpr int topFractionBits = 30;    // of the top word of a reduced angle
constexpr std::uint32_t topFractionMask = (1u << topFractionBits) - 1;
constexpr double topFractionScale = 0x1p-30;

// Near zero sin r = r + r z P(z) and cos r = 1 + z P(z), z = r^2, with P of
// degree 3: the Taylor series to degree 10 in z, economized onto Chebyshev
// polynomials over 0 <= z <= (pi/4)^2 and cut after the fourth. Left out is
// below 2^-35 of the sine and 2^-31 of the cosine, far below the float they
// are rounded to (2^-24); a longer polynomial would cost the physics time on
// every rotation of every body and joint of every solver iteration.
constexpr int sineRow = 0;
constexpr int cosineRow = 1;
static_assert(sineRow == 0 && cosineRow == 1, "rows are chosen by the parity of quarter turns");
constexpr double economizedCoefficients[2][4] = {
    {-0x1.555555545e491p-3, 0x1.11110def9f910p-7, -0x1.a013a80e26a48p-13, 0x1.6dbe294027d89p-19},
    {-0x1.fffffffab36f3p-2, 0x1.55554cbcb49cep-5, -0x1.6c0e09463a4e5p-10, 0x1.9a6f615af34fbp-16},
};

// lead + lead z P(z) for a row of coefficients. The terms in Estrin's order:
// the pairs are independent, so the CPU works on them at once instead of
// waiting for each step of Horner's chain.
[[gnu::always_inline]] inline double polynomial(const double (&k)[4], double lead, double z) {
    const double z2 = z * z;
    const double p = (k[0] + k[1] * z) + z2 * (k[2] + k[3] * z);
    return lead + (lead * z) * p;
}

// The sine (row 0) or cosine (row 1) of r. One form for both, so a row chosen
// by data costs no branch. Inlined, so that a row known where it is called
// folds away.
[[gnu::always_inline]] inline double nearZero(int row, double r) {
    const double lead[2] = {r, 1.0};
    return polynomial(economizedCoefficients[row], lead[row], r * r);
}

ReducedAngle reduceByParts(double magnitude) {
    // Adding and taking away 1.5 * 2^52 rounds to the nearest integer (as
    // nearbyint would, without its costly call). Below pi/4 n is 0 and the
    // angle stays as it is.
    const double n = (magnitude * twoOverPi + roundingShift) - roundingShift;
    // magnitude - n * part1 is exact (the two are within a factor of two), so
    // only the rounding of the last, small steps remains.
    const double rest = ((magnitude - n * halfPiPart1) - n * halfPiPart2) - n * halfPiPart3;
    return {static_cast<std::uint32_t>(n), rest};
}

// The 128 bits of 2/pi from bit `first` (0 = the first after the point) on,
// most significant word first.
void twoOverPiWindow(int first, std::uint32_t (&window)[4]) {
    const int word = first / wordBits;
    const int shift = first % wordBits;
    for (int k = 0; k < 4; ++k) {
        const std::uint64_t pair =
            (std::uint64_t{twoOverPiBits[word + k]} << wordBits) | twoOverPiBits[word + k + 1];
        window[k] = static_cast<std::uint32_t>(pair >> (wordBits - shift));
    }
}

// Payne and Hanek: the angle is mantissa * 2^exponent, an integer times a
// power of two, and angle * 2/pi mod 4 needs only the bits of 2/pi that land
// between 2^1 and 2^-126 after that shift: those above are whole turns. Integer
// arithmetic, so exact.
ReducedAngle reduceByBits(float magnitude) {
    const std::uint32_t bits = std::bit_cast<std::uint32_t>(magnitude);
    const int exponent = static_cast<int>(bits >> floatMantissaBits) - floatExponentBias -
                         floatMantissaBits;  // at least 2 at codyWaiteLimit
    const std::uint64_t mantissa = (bits & floatMantissaMask) | (floatMantissaMask + 1);

    std::uint32_t window[4];
    twoOverPiWindow(exponent - 2, window);
    // mantissa * window is angle * 2/pi * 2^126 less whole turns; the carry
    // out of the top word is whole turns too.
    std::uint32_t product[4];
    std::uint64_t carry = 0;
    for (int k = 3; k >= 0; --k) {
        const std::uint64_t sum = mantissa * window[k] + carry;
        product[k] = static_cast<std::uint32_t>(sum);
        carry = sum >> wordBits;
    }
    // The top two bits count quarter turns, the 126 below are the fraction of
    // a quarter turn.
    std::uint32_t quarterTurns = product[0] >> topFractionBits;
    product[0] &= topFractionMask;

    // Over half a quarter turn: count one more and go back from there.
    const bool overHalf = (product[0] >> (topFractionBits - 1)) != 0;
    if (overHalf) {
        ++quarterTurns;
        std::uint64_t borrow = 1;
        for (int k = 3; k >= 0; --k) {
            const std::uint64_t negated = std::uint64_t{~product[k]} + borrow;
            product[k] = static_cast<std::uint32_t>(negated);
            borrow = negated >> wordBits;
        }
        product[0] &= topFractionMask;
    }
    double part = 0.0;
    for (int k = 3; k > 0; --k) {
        part = (part + product[k]) * wordScale;
    }
    part = (part + product[0]) * topFractionScale;
    const double rest = part * halfPi;
    return {quarterTurns, overHalf ? -rest : rest};
}

ReducedAngle reduce(float magnitude) {
    if (magnitude < codyWaiteLimit) {
        return reduceByParts(magnitude);
    }
    return reduceByBits(magnitude);
}

double withSignOf(double value, std::uint64_t signBit) {
    return std::bit_cast<double>(std::bit_cast<std::uint64_t>(value) ^ signBit);
}

// Whether the sine or the cosine of the rest, and which sign, follow from the
// quarter turns without a branch: the angles of a world's bodies come in no
// order, and a mispredicted branch would cost more than the whole polynomial.
double sinOfReduced(ReducedAngle angle) {
    // An odd number of quarter turns makes the sine of the rest a cosine.
    const int row = static_cast<int>(angle.quarterTurns & 1);  // sineRow or cosineRow
    const std::uint64_t halfTurns = (angle.quarterTurns >> 1) & 1;
    return withSignOf(nearZero(row, angle.rest), halfTurns << doubleSignShift);
}

double cosOfReduced(ReducedAngle angle) {
    return sinOfReduced({angle.quarterTurns + 1, angle.rest});
}

// One NaN for every bad angle: the hardware's own differs in sign between CPUs.
constexpr float badAngle = std::numeric_limits<float>::quiet_NaN();

// sin(-x) = -sin(x) exactly: the sine of a magnitude is turned round for a
// negative angle (a product with 1 or -1 is exact).
float withSignOfAngle(double sineOfMagnitude, float angle) {
    return static_cast<float>(sineOfMagnitude) * std::copysign(1.0f, angle);
}

}  // namespace

float b2Sin(float angle) {
    const float magnitude = std::fabs(angle);
    if (magnitude <= quarterPiFloat) {
        // Most bodies of a world turn little: no reduction at all.
        return std::copysign(static_cast<float>(nearZero(sineRow, magnitude)), angle);
    }
    if (!std::isfinite(angle)) {
        return badAngle;
    }
    return withSignOfAngle(sinOfReduced(reduce(magnitude)), angle);
}

float b2Cos(float angle) {
    const float magnitude = std::fabs(angle);
    if (magnitude <= quarterPiFloat) {
        return static_cast<float>(nearZero(cosineRow, magnitude));
    }
    if (!std::isfinite(angle)) {
        return badAngle;
    }
    return static_cast<float>(cosOfReduced(reduce(magnitude)));
}

// Both from one reduction: Box2D builds a rotation from an angle for every
// body and joint on every solver iteration, and the reduction is half the
// work. The same steps as b2Sin and b2Cos, so the same bits.
void b2SinCos(float angle, float* sine, float* cosine) {
    const float magnitude = std::fabs(angle);
    if (magnitude <= quarterPiFloat) {
        // Both polynomials side by side.
        *sine = std::copysign(static_cast<float>(nearZero(sineRow, magnitude)), angle);
        *cosine = static_cast<float>(nearZero(cosineRow, magnitude));
        return;
    }
    if (!std::isfinite(angle)) {
        *sine = badAngle;
        *cosine = badAngle;
        return;
    }
    // The sine and cosine of the rest, then what the quarter turns make of
    // them: sin and cos of q quarter turns plus r are, for q mod 4 = 0..3,
    // (s, c), (c, -s), (-s, -c), (-c, s). Chosen by index, not by branch.
    const ReducedAngle reduced = reduce(magnitude);
    const double s = nearZero(sineRow, reduced.rest);
    const double c = nearZero(cosineRow, reduced.rest);
    const double turned[5] = {s, c, -s, -c, s};
    const std::uint32_t quarter = reduced.quarterTurns & 3;
    *sine = withSignOfAngle(turned[quarter], angle);
    *cosine = static_cast<float>(turned[quarter + 1]);
}
