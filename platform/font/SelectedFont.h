#pragma once
// A font selected into a device context for as long as this lives: the
// font that was selected before is put back at the end, whatever happens.

#include "modFontView.h"

class SelectedFont {
public:
    SelectedFont(HDC dc, HGDIOBJ font) : dc_(dc), previous_(SelectObject(dc, font)) {}
    ~SelectedFont() { SelectObject(dc_, previous_); }
    SelectedFont(const SelectedFont&) = delete;
    SelectedFont& operator=(const SelectedFont&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};
