// Rectangle arithmetic, as 16-bit coordinates.
#include "QuickDraw.h"

// Coordinates wrap at 16 bits, as the toolbox's integer rectangles always have.
void OffsetRect(Rect* r, SInt16 dh, SInt16 dv) {
    if (r == nullptr) return;
    r->left = SInt16(r->left + dh);
    r->right = SInt16(r->right + dh);
    r->top = SInt16(r->top + dv);
    r->bottom = SInt16(r->bottom + dv);
}

Boolean EqualRect(const Rect* rect1, const Rect* rect2) {
    if (rect1 == nullptr || rect2 == nullptr) return false;
    return rect1->top == rect2->top && rect1->left == rect2->left &&
           rect1->bottom == rect2->bottom && rect1->right == rect2->right;
}
