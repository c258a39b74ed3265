#pragma once
// spanwick-measure --check-catalogue: every string of the catalogues given
// measured and checked against its budget; the strings over it printed as
// FILE:LINE:ID:WIDTH:BUDGET:TEXT, or with --json every string; a summary
// on standard error.

#include "MeasureOptions.h"
#include "StandardOutput.h"
#include "modFontView.h"

#include <functional>
#include <string>

namespace tool {

using Complaint = std::function<void(const std::string&)>;

// font: the description the font options give. Returns the exit status:
// 0 all fit, 1 some string is over, 2 a catalogue could not be read or a
// unit's font could not be had.
int checkCatalogues(StandardOutput& out, const MeasureOptions& options, const LOGFONTA& font,
                    const Complaint& complain);

// An ID as the line output writes it: its controls shown as all output
// shows them, then a colon as \:, so the fields split at the other colons.
std::string escapedId(const std::string& id);

}  // namespace tool
