// Colour mixing and colour distance. The mix is single precision with every
// product and sum rounded on its own (the target is built without contraction
// into fused multiply-adds), so results do not depend on the machine.
#include "QDMP_Internal.h"

#include <cmath>

RGBColor QDMP_Mix_RGBColors(RGBColor pRGBColorA, RGBColor pRGBColorB, float pMix) {
    // Only the fractional part counts, with the sign of pMix. A float at or beyond
    // 2^23 has none; NaN and infinities mix nothing in either.
    const float fracB = std::isfinite(pMix) ? pMix - std::trunc(pMix) : 0.0f;
    const float fracA = 1.0f - fracB;
    auto mix = [&](UInt16 a, UInt16 b) {
        const float productA = float(a) * fracA;
        const float productB = float(b) * fracB;
        const float value = productA + productB; // within (-65535, 131070): fits an SInt32
        return UInt16(SInt32(value));
    };
    return RGBColor{mix(pRGBColorA.red, pRGBColorB.red), mix(pRGBColorA.green, pRGBColorB.green),
                    mix(pRGBColorA.blue, pRGBColorB.blue)};
}

UInt32 QDMP_RGBColorDistance(RGBColor pRGBColorA, RGBColor pRGBColorB) {
    auto square = [](SInt32 d) { return SInt64(d) * d; };
    const SInt64 sum = square(SInt32(pRGBColorA.red) - pRGBColorB.red) +
                       square(SInt32(pRGBColorA.green) - pRGBColorB.green) +
                       square(SInt32(pRGBColorA.blue) - pRGBColorB.blue);
    return UInt32(std::sqrt(double(sum)));
}
