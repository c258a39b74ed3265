#include "DeviceContext.h"

#include <algorithm>

Bitmap::Bitmap(int width, int height) { resize(width, height); }

void Bitmap::resize(int width, int height)
{
    width_ = std::max(0, width);
    height_ = std::max(0, height);
    pixels_.assign(static_cast<std::size_t>(width_) * height_, 0xFFFFFFFFu);
}

void Bitmap::fill(std::uint32_t colour) { std::fill(pixels_.begin(), pixels_.end(), colour); }

void Bitmap::blend(int x, int y, std::uint32_t colour, unsigned coverage)
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return;
    std::uint32_t& pixel = pixels_[static_cast<std::size_t>(y) * width_ + x];
    const auto mix = [coverage](std::uint32_t under, std::uint32_t over, int shift) {
        const unsigned a = (under >> shift) & 0xFF, b = (over >> shift) & 0xFF;
        return ((a * (255 - coverage) + b * coverage + 127) / 255) << shift;
    };
    pixel = 0xFF000000u | mix(pixel, colour, 16) | mix(pixel, colour, 8) | mix(pixel, colour, 0);
}

void Bitmap::fillRect(int left, int top, int right, int bottom, std::uint32_t colour)
{
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, width_);
    bottom = std::min(bottom, height_);
    for (int y = top; y < bottom; ++y)
        std::fill_n(pixels_.begin() + static_cast<std::ptrdiff_t>(y) * width_ + left, std::max(0, right - left),
                    colour);
}

BitmapDC::BitmapDC(int width, int height, int logPixelsY) : DeviceContext(logPixelsY), bitmap_(width, height)
{
    clear();
}

namespace {
DeviceContext& screen()
{
    static DeviceContext context(96);
    return context;
}
}  // namespace

HDC GetScreenDC() { return &screen(); }

void SetScreenLogPixelsY(int dpi) { screen().logPixelsY = dpi > 0 ? dpi : 96; }
