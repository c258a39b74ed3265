#pragma once
// Which installed face a --face name means. A name that is not installed is
// refused rather than quietly measured in some other face.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tool {

// The installed name the request stands for, in the list's own spelling
// (case does not matter), or nothing.
std::optional<std::string> installedFace(const std::string& requested, const std::vector<std::string>& installed);

// The installed names the request may stand for (the same, case aside),
// each once, in their own order; installed may name one more than once.
std::vector<std::string> namesLike(const std::string& requested, const std::vector<std::string_view>& installed);

// Up to count installed names closest to one that is not installed: those
// that contain it or that it contains first, then by edit distance.
std::vector<std::string> closestFaces(const std::string& requested, const std::vector<std::string>& installed,
                                      std::size_t count = 5);

// "no installed font is named 'X'; the closest are: 'A', 'B'"
std::string notInstalledMessage(const std::string& requested, const std::vector<std::string>& installed);

}  // namespace tool
