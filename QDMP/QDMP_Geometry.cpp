// Rectangles, points and the squared point distance. Every stored coordinate
// is truncated to 16 bits.
#include "QDMP_Internal.h"

#include <algorithm>

void QDMP_Set_Rect(Rect* pRectPtr, SInt16 pLeft, SInt16 pTop, SInt16 pRight, SInt16 pBottom) {
    if (pRectPtr == nullptr) return;
    pRectPtr->left = pLeft;
    pRectPtr->top = pTop;
    pRectPtr->right = pRight;
    pRectPtr->bottom = pBottom;
}

void QDMP_Offset_Rect(Rect* pRectPtr, SInt16 pDeltaH, SInt16 pDeltaV) {
    if (pRectPtr == nullptr) return;
    pRectPtr->top = SInt16(pRectPtr->top + pDeltaV);
    pRectPtr->bottom = SInt16(pRectPtr->bottom + pDeltaV);
    pRectPtr->left = SInt16(pRectPtr->left + pDeltaH);
    pRectPtr->right = SInt16(pRectPtr->right + pDeltaH);
}

void QDMP_Inset_Rect(Rect* pRectPtr, SInt16 pDeltaH, SInt16 pDeltaV) {
    if (pRectPtr == nullptr) return;
    pRectPtr->top = SInt16(pRectPtr->top + pDeltaV);
    pRectPtr->bottom = SInt16(pRectPtr->bottom - pDeltaV);
    pRectPtr->left = SInt16(pRectPtr->left + pDeltaH);
    pRectPtr->right = SInt16(pRectPtr->right - pDeltaH);
}

Boolean QDMP_Intersect_Rects(const Rect* pRectA, const Rect* pRectB, Rect* pRectC) {
    if (pRectA == nullptr || pRectB == nullptr) return false;
    Rect work = *pRectA; // pRectC may be A or B: read both before writing
    work.top = std::max(work.top, pRectB->top);
    work.bottom = std::min(work.bottom, pRectB->bottom);
    work.left = std::max(work.left, pRectB->left);
    work.right = std::min(work.right, pRectB->right);
    if (pRectC != nullptr) *pRectC = work;
    return work.top < work.bottom && work.left < work.right;
}

Point QDMP_Set_Point(Point* pPoint, SInt16 pH, SInt16 pV) {
    Point point;
    point.h = pH;
    point.v = pV;
    if (pPoint != nullptr) *pPoint = point;
    return point;
}

Boolean QDMP_PointInRect(Point pPoint, const Rect* pRect) {
    if (pRect == nullptr) return false;
    return pPoint.h >= pRect->left && pPoint.h < pRect->right && pPoint.v >= pRect->top &&
           pPoint.v < pRect->bottom;
}

Point QDMP_MidPoint(Point pPointA, Point pPointB) {
    // 32-bit sums cannot overflow; >> on a negative int is arithmetic (C++20).
    Point mid;
    mid.h = SInt16((SInt32(pPointA.h) + SInt32(pPointB.h)) >> 1);
    mid.v = SInt16((SInt32(pPointA.v) + SInt32(pPointB.v)) >> 1);
    return mid;
}

Point QDMP_MidPointRect(const Rect* pRect) {
    if (pRect == nullptr) return Point{0, 0};
    Point topLeft, bottomRight;
    topLeft.h = pRect->left;
    topLeft.v = pRect->top;
    bottomRight.h = pRect->right;
    bottomRight.v = pRect->bottom;
    return QDMP_MidPoint(topLeft, bottomRight);
}

UInt32 distance_squared(Point pPointA, Point pPointB) {
    Point deltaPoint;
    deltaPoint.h = SInt16(pPointA.h - pPointB.h);
    deltaPoint.v = SInt16(pPointA.v - pPointB.v);
    return UInt32(SInt32(deltaPoint.h) * deltaPoint.h) +
           UInt32(SInt32(deltaPoint.v) * deltaPoint.v);
}
