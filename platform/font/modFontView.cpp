#include "modFontView.h"

#include "DeviceContext.h"
#include "FontHandles.h"
#include "Utf8.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <unordered_map>

namespace fontview {

namespace {

struct HandleTable {
    std::unordered_map<HFONT, std::shared_ptr<Font>> fonts;
    HFONT next = 1;
};

HandleTable& handles()
{
    static HandleTable table;
    return table;
}

// The font a context draws with when none has been selected into it.
std::shared_ptr<Font> stockFont()
{
    static std::shared_ptr<Font> font = Font::create(LOGFONTA{});
    return font;
}

std::recursive_mutex& layerMutex()
{
    static std::recursive_mutex mutex;
    return mutex;
}

using LayerLock = std::lock_guard<std::recursive_mutex>;

std::shared_ptr<Font> selectedFont(HDC dc)
{
    if (!dc)
        return nullptr;
    if (dc->selectedFont != 0)
        if (auto font = fontOf(dc->selectedFont))
            return font;
    return stockFont();
}

}  // namespace

HFONT registerFont(std::shared_ptr<Font> font)
{
    HandleTable& table = handles();
    const HFONT handle = table.next++;
    table.fonts.emplace(handle, std::move(font));
    return handle;
}

std::shared_ptr<Font> fontOf(HFONT handle)
{
    const auto& fonts = handles().fonts;
    const auto found = fonts.find(handle);
    return found == fonts.end() ? nullptr : found->second;
}

bool releaseFont(HFONT handle) { return handles().fonts.erase(handle) == 1; }

std::size_t liveFontCount()
{
    const LayerLock lock(layerMutex());
    return handles().fonts.size();
}

}  // namespace fontview

using namespace fontview;

int MulDiv(int a, int b, int c)
{
    if (c == 0)
        return -1;
    const long long product = static_cast<long long>(a) * b;
    const long long half = std::llabs(static_cast<long long>(c)) / 2;
    // Round half away from zero on the magnitude, then restore the sign.
    const bool negative = (product < 0) != (c < 0);
    const long long magnitude = (std::llabs(product) + half) / std::llabs(static_cast<long long>(c));
    const long long result = negative ? -magnitude : magnitude;
    if (result > INT_MAX || result < INT_MIN)
        return -1;
    return static_cast<int>(result);
}

int GetDeviceCaps(HDC dc, int index)
{
    if (!dc || index != LOGPIXELSY)
        return 0;
    return dc->logPixelsY;
}

HFONT CreateFontIndirectA(const LOGFONTA* lf)
{
    const LayerLock lock(layerMutex());
    if (!lf)
        return 0;
    auto font = Font::create(*lf);
    return font ? registerFont(std::move(font)) : 0;
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object)
{
    const LayerLock lock(layerMutex());
    if (!dc || (object != 0 && !fontOf(object)))
        return 0;
    const HGDIOBJ previous = dc->selectedFont;
    dc->selectedFont = object;
    return previous;
}

BOOL DeleteObject(HGDIOBJ object)
{
    const LayerLock lock(layerMutex());
    return object != 0 && releaseFont(object);
}

BOOL GetCharWidth32A(HDC dc, std::uint32_t first, std::uint32_t last, std::int32_t* out)
{
    const LayerLock lock(layerMutex());
    const auto font = selectedFont(dc);
    if (!font || !out || last < first)
        return 0;
    for (std::uint32_t code = first;; ++code) {
        out[code - first] = font->advanceWidth(code);
        if (code == last)
            break;
    }
    return 1;
}

BOOL TextOutA(HDC dc, int x, int y, const char* text, int count)
{
    const LayerLock lock(layerMutex());
    const auto font = selectedFont(dc);
    Bitmap* target = dc ? dc->bitmap() : nullptr;
    if (!font || !target || !text || count < 0)
        return 0;
    const std::size_t length = strnlen(text, static_cast<std::size_t>(count));
    font->draw(*target, x, y, decodeUtf8(std::string_view(text, length)), BitmapDC::textColour);
    return 1;
}

BOOL ExtTextOutA(HDC dc, int x, int y, unsigned options, const RECT* rect, const char* text, unsigned count,
                 const std::int32_t* advances)
{
    const LayerLock lock(layerMutex());
    const auto font = selectedFont(dc);
    Bitmap* target = dc ? dc->bitmap() : nullptr;
    if (!font || !target || !text || options != 0 || rect)
        return 0;
    const std::size_t length = strnlen(text, count);
    font->draw(*target, x, y, decodeUtf8(std::string_view(text, length)), BitmapDC::textColour, advances);
    return 1;
}

int GetTextFaceA(HDC dc, int size, char* name)
{
    const LayerLock lock(layerMutex());
    const auto font = selectedFont(dc);
    if (!font || !name || size <= 0)
        return 0;
    const std::string_view face = cutUtf8(font->faceName(), static_cast<std::size_t>(size) - 1);
    std::memcpy(name, face.data(), face.size());
    name[face.size()] = '\0';
    return static_cast<int>(face.size()) + 1;
}
