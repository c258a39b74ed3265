#pragma once
// Device contexts: the screen, which only answers its resolution, and a
// context over a memory bitmap that text can be drawn into.

#include "modFontView.h"

#include <cstdint>
#include <memory>
#include <vector>

// 32-bit pixels, 0xAARRGGBB with opaque alpha, rows top to bottom
// (the layout of QImage::Format_RGB32, so a window can show it as it is).
class Bitmap {
public:
    Bitmap(int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }
    const std::uint32_t* pixels() const { return pixels_.data(); }
    std::uint32_t pixel(int x, int y) const { return pixels_[static_cast<std::size_t>(y) * width_ + x]; }

    void resize(int width, int height);
    void fill(std::uint32_t colour);
    // Blends colour into the pixel with the given coverage (0..255);
    // points outside the bitmap are ignored.
    void blend(int x, int y, std::uint32_t colour, unsigned coverage);
    void fillRect(int left, int top, int right, int bottom, std::uint32_t colour);

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint32_t> pixels_;
};

struct DeviceContext {
    explicit DeviceContext(int logPixelsY = 96) : logPixelsY(logPixelsY) {}
    virtual ~DeviceContext() = default;

    int logPixelsY;
    HFONT selectedFont = 0;  // 0: the context's stock font

    virtual Bitmap* bitmap() { return nullptr; }
};

// A context over its own bitmap, cleared to white and drawn on in black.
class BitmapDC final : public DeviceContext {
public:
    BitmapDC(int width, int height, int logPixelsY = 96);

    Bitmap* bitmap() override { return &bitmap_; }
    const Bitmap& image() const { return bitmap_; }

    static constexpr std::uint32_t background = 0xFFFFFFFFu;
    static constexpr std::uint32_t textColour = 0xFF000000u;

    void resize(int width, int height) { bitmap_.resize(width, height); clear(); }
    void clear() { bitmap_.fill(background); }

private:
    Bitmap bitmap_;
};

// The screen's context. Its resolution is 96 dots per inch unless the
// window system reports another one through SetScreenLogPixelsY.
HDC GetScreenDC();
void SetScreenLogPixelsY(int dpi);
