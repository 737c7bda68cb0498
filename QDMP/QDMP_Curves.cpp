// Quadratic curves, flattened by halving with integer midpoints.
#include "QDMP_Internal.h"

// The first half stops when its own chord (A to the curve's middle) is at most
// 10 pixels long; the second half measures from the middle to the control point
// B instead. Each half is finished before the next begins, so segments run in
// order from A to C, and each goes through the generic line (colour converted
// per segment). Both measures shrink with every level, so the recursion ends.
void QDMP_Draw_Curve(PixMapHandle pPixMapHdl, Point pPointA, Point pPointB, Point pPointC,
                     const RGBColor* pColor) {
    constexpr UInt32 kMaxSegmentSquared = 100;
    const Point myMidPointAB = QDMP_MidPoint(pPointA, pPointB);
    const Point myMidPointBC = QDMP_MidPoint(pPointB, pPointC);
    const Point myMidPointABC = QDMP_MidPoint(myMidPointAB, myMidPointBC);

    if (distance_squared(pPointA, myMidPointABC) > kMaxSegmentSquared) {
        QDMP_Draw_Curve(pPixMapHdl, pPointA, myMidPointAB, myMidPointABC, pColor);
    } else {
        QDMP_Draw_LineP(pPixMapHdl, pPointA, myMidPointAB, pColor);
        QDMP_Draw_LineP(pPixMapHdl, myMidPointAB, myMidPointABC, pColor);
    }

    if (distance_squared(myMidPointABC, pPointB) > kMaxSegmentSquared) {
        QDMP_Draw_Curve(pPixMapHdl, myMidPointABC, myMidPointBC, pPointC, pColor);
    } else {
        QDMP_Draw_LineP(pPixMapHdl, myMidPointABC, myMidPointBC, pColor);
        QDMP_Draw_LineP(pPixMapHdl, myMidPointBC, pPointC, pColor);
    }
}
