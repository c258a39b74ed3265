#include "CsvText.h"

#include "CsvGrammar.h"

#include <algorithm>

namespace engine::csv {

namespace {

// Calls f with the code units the file is in.
template <class F>
auto withUnits(Encoding encoding, F&& f)
{
    if (isUtf16(encoding))
        return f(Utf16Units{encoding == Encoding::Utf16BE});
    return f(ByteUnits{});
}

}  // namespace

std::optional<std::size_t> firstRecordLength(const unsigned char* data, std::size_t size, Encoding encoding,
                                             char delimiter, bool atEnd)
{
    const Classes classes(delimiter);
    std::optional<std::size_t> length;
    withUnits(encoding, [&](const auto& units) {
        State state = State::FieldStart;
        csv::walk(units, classes, state, data, data + size, [](const unsigned char*, const unsigned char*) {},
                  [&](Action action, const unsigned char* at) {
                      if (action != Action::EndRecord)
                          return true;
                      length = static_cast<std::size_t>(at - data);
                      return false;
                  });
        return 0;
    });
    if (!length && atEnd)
        length = size;
    return length;
}

std::string fieldText(const unsigned char* begin, const unsigned char* end, Encoding encoding, char delimiter,
                      std::size_t maxBytes, State from)
{
    const Classes classes(delimiter);
    std::string text;
    const auto keep = [&](const unsigned char* from, const unsigned char* to) {
        const std::size_t room = maxBytes - std::min(maxBytes, text.size());
        text.append(reinterpret_cast<const char*>(from), std::min<std::size_t>(to - from, room));
    };
    withUnits(encoding, [&](const auto& units) {
        State state = from;
        csv::walk(units, classes, state, begin, end, keep, [&](Action action, const unsigned char* at) {
            if (action == Action::LineBreak || action == Action::BreakRest)
                keep(at, at + units.size);
            return text.size() < maxBytes;
        });
        return 0;
    });
    if (isUtf16(encoding))
        text.resize(text.size() & ~std::size_t{1});
    return text;
}

}  // namespace engine::csv
