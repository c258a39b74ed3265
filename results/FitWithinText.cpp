#include "FitWithinText.h"

namespace report {

namespace {

std::string points(int size) { return std::to_string(size) + (size == 1 ? " point" : " points"); }

}  // namespace

std::string fitWithinSentence(const std::string& face, const engine::FaceAnswer& answer, int percent,
                              std::int64_t within)
{
    const std::string share = std::to_string(percent) + "%";
    std::string line = face + ": ";
    if (answer.fits)
        line += points(answer.fits->points) + " (" + share + " within " + std::to_string(answer.fits->fit) + " px)";
    else
        line += "no listed size fits " + share + " within " + std::to_string(within) + " px";
    if (answer.next)
        line += "; " + points(answer.next->points) + " needs " + std::to_string(answer.next->fit) + " px";
    else
        line += "; no larger size is listed";
    return line;
}

}  // namespace report
