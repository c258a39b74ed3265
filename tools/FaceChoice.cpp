#include "FaceChoice.h"

#include "Utf8.h"

#include <algorithm>
#include <numeric>

namespace tool {

namespace {

std::u32string folded(const std::string& name)
{
    std::u32string text = fontview::decodeUtf8(name);
    for (char32_t& c : text)
        c = fontview::foldCase(c);
    return text;
}

// Whether folded(name) == wanted, reading no further into name than the
// first difference: thousands of installed names cost little.
bool foldsTo(std::string_view name, std::u32string_view wanted)
{
    std::size_t count = 0;
    for (std::size_t i = 0; i < name.size(); ++count)
        if (count == wanted.size() || fontview::foldCase(fontview::nextUtf8Character(name, i)) != wanted[count])
            return false;
    return count == wanted.size();
}

std::size_t editDistance(const std::u32string& a, const std::u32string& b)
{
    std::vector<std::size_t> row(b.size() + 1);
    std::iota(row.begin(), row.end(), std::size_t{0});
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

}  // namespace

std::optional<std::string> installedFace(const std::string& requested, const std::vector<std::string>& installed)
{
    const std::u32string wanted = folded(requested);
    for (const std::string& name : installed)
        if (name == requested)
            return name;
    for (const std::string& name : installed)
        if (foldsTo(name, wanted))
            return name;
    return std::nullopt;
}

std::vector<std::string> namesLike(const std::string& requested, const std::vector<std::string_view>& installed)
{
    const std::u32string wanted = folded(requested);
    std::vector<std::string> like;
    for (const std::string_view name : installed)
        if (foldsTo(name, wanted) && std::find(like.begin(), like.end(), name) == like.end())
            like.emplace_back(name);
    return like;
}

std::vector<std::string> closestFaces(const std::string& requested, const std::vector<std::string>& installed,
                                      std::size_t count)
{
    const std::u32string wanted = folded(requested);
    struct Scored {
        bool related;
        std::size_t distance;
        std::size_t position;
    };
    std::vector<Scored> scores;
    for (std::size_t i = 0; i < installed.size(); ++i) {
        const std::u32string name = folded(installed[i]);
        const bool related = !wanted.empty() && !name.empty()
            && (name.find(wanted) != std::u32string::npos || wanted.find(name) != std::u32string::npos);
        scores.push_back({related, editDistance(wanted, name), i});
    }
    std::stable_sort(scores.begin(), scores.end(), [](const Scored& a, const Scored& b) {
        return a.related != b.related ? a.related : a.distance < b.distance;
    });
    std::vector<std::string> closest;
    for (std::size_t i = 0; i < scores.size() && closest.size() < count; ++i)
        closest.push_back(installed[scores[i].position]);
    return closest;
}

std::string notInstalledMessage(const std::string& requested, const std::vector<std::string>& installed)
{
    std::string message = "no installed font is named '" + requested + "'";
    const std::vector<std::string> closest = closestFaces(requested, installed);
    for (std::size_t i = 0; i < closest.size(); ++i)
        message += (i == 0 ? "; the closest are: '" : "', '") + closest[i];
    if (!closest.empty())
        message += "'";
    return message;
}

}  // namespace tool
