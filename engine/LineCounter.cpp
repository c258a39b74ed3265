#include "LineCounter.h"

#include <algorithm>

namespace engine {

std::string LineCounter::text(const unsigned char* begin, const unsigned char* end, bool quoted, std::size_t maxBytes)
{
    if (!quoted)
        return std::string(reinterpret_cast<const char*>(begin), std::min<std::size_t>(end - begin, maxBytes));
    std::string out;
    for (const unsigned char* p = begin; p < end && out.size() < maxBytes; ++p) {
        out += static_cast<char>(*p);
        if (*p == '"' && p + 1 < end && p[1] == '"')
            ++p;
    }
    return out;
}

}  // namespace engine
