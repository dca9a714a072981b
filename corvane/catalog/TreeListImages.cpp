#include "corvane/catalog/TreeListImages.h"

namespace corvane::catalog {

namespace {

constexpr COLORREF kMaskColour = RGB(255, 0, 255);

void FillBox(HDC dc, int left, COLORREF frame, COLORREF fill) {
    RECT outer{left + 2, 2, left + 14, 14};
    HBRUSH frameBrush = CreateSolidBrush(frame);
    HBRUSH fillBrush = CreateSolidBrush(fill);
    FillRect(dc, &outer, frameBrush);
    RECT inner{left + 3, 3, left + 13, 13};
    FillRect(dc, &inner, fillBrush);
    DeleteObject(frameBrush);
    DeleteObject(fillBrush);
}

void DrawTick(HDC dc, int left, COLORREF colour) {
    HPEN pen = CreatePen(PS_SOLID, 2, colour);
    HGDIOBJ old = SelectObject(dc, pen);
    POINT tick[] = {{left + 4, 8}, {left + 7, 11}, {left + 12, 4}};
    Polyline(dc, tick, 3);
    SelectObject(dc, old);
    DeleteObject(pen);
}

void DrawRoot(HDC dc, int left) {
    // A small cabinet: the store as a whole.
    FillBox(dc, left, RGB(96, 64, 0), RGB(255, 208, 64));
    HBRUSH line = CreateSolidBrush(RGB(96, 64, 0));
    RECT shelf{left + 3, 7, left + 13, 8};
    FillRect(dc, &shelf, line);
    RECT handle{left + 7, 10, left + 9, 11};
    FillRect(dc, &handle, line);
    DeleteObject(line);
}

}  // namespace

HIMAGELIST CreateTickImages() {
    const int shift = 0;
    const int count = kImageCount;
    HIMAGELIST images = ImageList_Create(kImageSize, kImageSize, ILC_COLOR24 | ILC_MASK, count, 0);
    if (images == nullptr) return nullptr;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP strip = CreateCompatibleBitmap(screen, kImageSize * count, kImageSize);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, strip);
    RECT all{0, 0, kImageSize * count, kImageSize};
    HBRUSH mask = CreateSolidBrush(kMaskColour);
    FillRect(dc, &all, mask);
    DeleteObject(mask);
    FillBox(dc, shift, RGB(64, 64, 64), RGB(255, 255, 255));
    FillBox(dc, shift + 16, RGB(64, 64, 64), RGB(255, 255, 255));
    DrawTick(dc, shift + 16, RGB(0, 128, 0));
    FillBox(dc, shift + 32, RGB(160, 160, 160), RGB(212, 212, 212));
    DrawRoot(dc, shift + 96);
    SelectObject(dc, old);
    DeleteDC(dc);
    ImageList_AddMasked(images, strip, kMaskColour);
    DeleteObject(strip);
    return images;
}

}  // namespace corvane::catalog
