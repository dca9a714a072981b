// The pages of the main window, their pictures and fonts, and the window's
// size in twips.
#include "corvane/main/frmMain.h"
#include "corvane/main/resource.h"
#include "corvane/environment/Dpi.h"

#include <algorithm>

namespace corvane {
namespace {

HFONT FontLike(HWND page, const char* face, int weight, int percent) {
    LOGFONTA font = {};
    HFONT pageFont = reinterpret_cast<HFONT>(SendMessageA(page, WM_GETFONT, 0, 0));
    if (!pageFont || !GetObjectA(pageFont, sizeof font, &font)) font.lfHeight = -11;
    font.lfHeight = font.lfHeight * percent / 100;
    font.lfWeight = weight;
    if (face) lstrcpynA(font.lfFaceName, face, LF_FACESIZE);
    return CreateFontIndirectA(&font);
}

int FontHeight(HFONT font) {
    LOGFONTA info = {};
    return font && GetObjectA(font, sizeof info, &info) ? info.lfHeight : 0;
}

// Makes `font` a font like the page's (scaled, weighted, of another face) and
// gives it to the control; kept when it already matches, so a change of the
// page's own font (another monitor's scale) is followed.
void FollowPageFont(HWND page, HWND control, HFONT& font, const char* face, int weight, int percent) {
    if (!page || !control) return;
    HFONT wanted = FontLike(page, face, weight, percent);
    if (font && FontHeight(font) == FontHeight(wanted)) {
        DeleteObject(wanted);
        return;
    }
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(wanted), TRUE);
    if (font) DeleteObject(font);
    font = wanted;
}

// Draws a bitmap so it covers the rectangle, kept in proportion and anchored
// at the left (the banner's text is there), smoothly scaled.
void DrawCoveringBitmap(HDC target, const RECT& area, HBITMAP bitmap) {
    BITMAP info = {};
    if (!bitmap || !GetObjectA(bitmap, sizeof info, &info) || info.bmWidth <= 0 || info.bmHeight <= 0) return;
    int width = area.right - area.left, height = area.bottom - area.top;
    double scale = std::max(static_cast<double>(width) / info.bmWidth, static_cast<double>(height) / info.bmHeight);
    int sourceWidth = std::min<int>(info.bmWidth, static_cast<int>(width / scale + 0.5));
    int sourceHeight = std::min<int>(info.bmHeight, static_cast<int>(height / scale + 0.5));
    int sourceTop = (info.bmHeight - sourceHeight) / 2;
    HDC source = CreateCompatibleDC(target);
    HGDIOBJ old = SelectObject(source, bitmap);
    SetStretchBltMode(target, HALFTONE);
    SetBrushOrgEx(target, 0, 0, nullptr);
    StretchBlt(target, area.left, area.top, width, height, source, 0, sourceTop, sourceWidth, sourceHeight, SRCCOPY);
    SelectObject(source, old);
    DeleteDC(source);
}

// The picture's background grey becomes the system's button face, so the
// picture sits on the page without a box around it.
void ReplaceBackground(HBITMAP bitmap, COLORREF from, COLORREF to) {
    DIBSECTION dib = {};
    if (!GetObjectA(bitmap, sizeof dib, &dib) || dib.dsBm.bmBitsPixel != 24 || !dib.dsBm.bmBits) return;
    GdiFlush();
    auto* row = static_cast<BYTE*>(dib.dsBm.bmBits);
    for (int y = 0; y < dib.dsBm.bmHeight; ++y, row += dib.dsBm.bmWidthBytes) {
        for (int x = 0; x < dib.dsBm.bmWidth; ++x) {
            BYTE* pixel = row + x * 3;  // blue, green, red
            if (RGB(pixel[2], pixel[1], pixel[0]) != from) continue;
            pixel[0] = GetBValue(to);
            pixel[1] = GetGValue(to);
            pixel[2] = GetRValue(to);
        }
    }
}

// Draws a bitmap whole, centred and in proportion, on the page's colour.
void DrawFittingBitmap(HDC target, const RECT& area, HBITMAP bitmap) {
    BITMAP info = {};
    FillRect(target, &area, GetSysColorBrush(COLOR_BTNFACE));
    if (!bitmap || !GetObjectA(bitmap, sizeof info, &info) || info.bmWidth <= 0 || info.bmHeight <= 0) return;
    int width = area.right - area.left, height = area.bottom - area.top;
    double scale = std::min(static_cast<double>(width) / info.bmWidth, static_cast<double>(height) / info.bmHeight);
    int drawWidth = static_cast<int>(info.bmWidth * scale), drawHeight = static_cast<int>(info.bmHeight * scale);
    HDC source = CreateCompatibleDC(target);
    HGDIOBJ old = SelectObject(source, bitmap);
    SetStretchBltMode(target, HALFTONE);
    SetBrushOrgEx(target, 0, 0, nullptr);
    StretchBlt(target, area.left + (width - drawWidth) / 2, area.top + (height - drawHeight) / 2, drawWidth, drawHeight,
               source, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
    SelectObject(source, old);
    DeleteDC(source);
}

// Draws an icon at the rectangle's size, taking the icon image nearest that size.
void DrawIconResource(HINSTANCE instance, HDC target, const RECT& area, int iconId) {
    FillRect(target, &area, GetSysColorBrush(COLOR_BTNFACE));
    int size = std::min(area.right - area.left, area.bottom - area.top);
    auto icon = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(iconId), IMAGE_ICON, size, size, 0));
    if (!icon) return;
    int left = area.left + (area.right - area.left - size) / 2;
    int top = area.top + (area.bottom - area.top - size) / 2;
    DrawIconEx(target, left, top, icon, size, size, 0, nullptr, DI_NORMAL);
    DestroyIcon(icon);
}

}  // namespace

void frmMain::CreatePages() {
    pages_[0] = welcomePage_.Create(hwnd_);
    pages_[1] = wizardPage_.Create(hwnd_);
    if (!pages_[0]) return;
    // The window is as wide as the welcome page.
    RECT page;
    GetWindowRect(pages_[0], &page);
    RECT frame = {0, 0, page.right - page.left, page.bottom - page.top};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrA(hwnd_, GWL_STYLE)), TRUE,
                       static_cast<DWORD>(GetWindowLongPtrA(hwnd_, GWL_EXSTYLE)));
    SetWindowPos(hwnd_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    LayoutPages();
}

// Both pages fill the client area; only one is visible.
void frmMain::LayoutPages() {
    if (!hwnd_) return;
    RECT client;
    GetClientRect(hwnd_, &client);
    for (HWND page : pages_)
        if (page) SetWindowPos(page, nullptr, 0, 0, client.right, client.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
    FollowPageFont(pages_[0], Control(IDC_LBL_BANNER), bannerFont_, "Arial", FW_BOLD, 100);
    HFONT previousButtonFont = buttonFont_;
    FollowPageFont(pages_[0], Control(IDC_CMDBACKUP), buttonFont_, nullptr, FW_BOLD, 110);
    // Both welcome buttons share the font.
    if (buttonFont_ != previousButtonFont)
        SendMessageA(Control(IDC_CMDRESTORE), WM_SETFONT, reinterpret_cast<WPARAM>(buttonFont_), TRUE);
}

void frmMain::MeasureTwipsPerPixel() {
    int dpi = WindowDpi(hwnd_);
    TwipsPerPixelX = TwipsPerPixelY = 1440.0 / dpi;
}

void frmMain::SetWindowHeightTwips(int twips) {
    RECT window;
    GetWindowRect(hwnd_, &window);
    int height = static_cast<int>(twips / TwipsPerPixelY + 0.5);
    SetWindowPos(hwnd_, nullptr, 0, 0, window.right - window.left, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    LayoutPages();
}

void frmMain::DrawPicture(const DRAWITEMSTRUCT& item) {
    int id = static_cast<int>(item.CtlID);
    if (id == IDC_IMG + 4) {
        auto banner = static_cast<HBITMAP>(
            LoadImageA(instance_, MAKEINTRESOURCEA(IDB_BANNER), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        DrawCoveringBitmap(item.hDC, item.rcItem, banner);
        DeleteObject(banner);
    } else if (id == IDC_IMG + 3) {
        auto picture = static_cast<HBITMAP>(
            LoadImageA(instance_, MAKEINTRESOURCEA(IDB_WELCOME), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        if (picture) ReplaceBackground(picture, RGB(0xF0, 0xF0, 0xF0), GetSysColor(COLOR_BTNFACE));
        DrawFittingBitmap(item.hDC, item.rcItem, picture);
        DeleteObject(picture);
    } else if (id == IDC_IMGICON + 0 || id == IDC_IMGICON + 1) {
        DrawIconResource(instance_, item.hDC, item.rcItem, id == IDC_IMGICON + 0 ? IDI_BACKUP : IDI_RESTORE);
    }
}

}  // namespace corvane
