#pragma once
// A font made from a description for measuring alone, selected into a
// context of its own for as long as it lives, with its character widths.
// A calculation keeps one like it; the measuring kernel will offer one
// for both.

#include "CharWidths.h"
#include "DeviceContext.h"
#include "SelectedFont.h"
#include "modFontView.h"

#include <memory>

namespace catalogue {

class MeasuringFont {
public:
    explicit MeasuringFont(const LOGFONTA& description);
    ~MeasuringFont();
    MeasuringFont(const MeasuringFont&) = delete;
    MeasuringFont& operator=(const MeasuringFont&) = delete;

    // False when no font at all could be made.
    bool exists() const { return handle_ != 0; }

    // Only while it exists.
    const engine::FontWidths& widths() const { return *widths_; }

private:
    HFONT handle_;
    DeviceContext context_;
    SelectedFont selected_;  // after context_: put back before the context goes
    std::unique_ptr<engine::FontWidths> widths_;
};

}  // namespace catalogue
