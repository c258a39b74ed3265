#pragma once
// Random data files for the tests that compare the engine with its models
// or with itself: lines, and delimited records, in every encoding the
// program reads, with the awkward cases (quotes everywhere, every line
// end, ragged records, bytes that break UTF-8) coming up often.

#include <cstdint>
#include <initializer_list>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace fixture {

// UTF-8 (assumed valid) as UTF-16 with its byte-order mark.
inline std::string toUtf16(const std::string& utf8, bool bigEndian)
{
    std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    const auto put = [&](char16_t unit) {
        const char hi = static_cast<char>(unit >> 8), lo = static_cast<char>(unit & 0xFF);
        out += bigEndian ? std::string{hi, lo} : std::string{lo, hi};
    };
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        char32_t code = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t k = 1; k < length; ++k)
            code = code << 6 | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        i += length;
        if (code >= 0x10000) {
            put(static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10)));
            put(static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF)));
        } else {
            put(static_cast<char16_t>(code));
        }
    }
    return out;
}

class RandomText {
public:
    explicit RandomText(std::uint32_t seed) : random_(seed) {}

    std::uint32_t below(std::uint32_t n) { return static_cast<std::uint32_t>(random_() % n); }

    std::string word()
    {
        static const std::vector<std::string> words = {
            "a", "Bolivia", "caf\xC3\xA9", "\xE4\xB8\xAD\xE6\x96\x87", "x y", "42", "", "\xF0\x9F\x98\x80",
            "long long long words here, and more", "\xD0\x9C\xD0\xBE\xD1\x81\xD0\xBA\xD0\xB2\xD0\xB0", "tab\there",
            "WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW"};
        return words[below(static_cast<std::uint32_t>(words.size()))];
    }

    std::string lineEnd()
    {
        static const char* const ends[] = {"\n", "\r\n", "\r"};
        return ends[below(3)];
    }

    // Lines of words, any line end.
    std::string lines(int count)
    {
        std::string out;
        for (int i = 0; i < count; ++i) {
            for (int w = static_cast<int>(below(4)); w > 0; --w)
                out += word() + (below(3) ? " " : "");
            out += lineEnd();
        }
        return out;
    }

    // One field, quoted or not, holding delimiters, quotes and line ends.
    std::string field(char delimiter)
    {
        std::string value;
        const int parts = 1 + static_cast<int>(below(3));
        bool special = false;
        for (int i = 0; i < parts; ++i) {
            if (i > 0) {
                const int kind = static_cast<int>(below(5));
                value += kind == 0 ? std::string(1, delimiter) : kind == 1 ? "\"" : kind == 2 ? lineEnd() : " ";
                special = special || kind < 3;
            }
            value += word();
        }
        switch (below(8)) {
        case 0:
            return join({"\"", quoted(value), "\"", word()});  // text after the closing quote
        case 1:
            return join({word(), "5\" ", word()});  // a quote inside an unquoted field
        default:
            if (!special && below(2))
                return value;
            return join({"\"", quoted(value), "\""});
        }
    }

    // Records of 1 to 6 fields; with header names first when header.
    std::string records(int count, char delimiter, bool header)
    {
        std::string out;
        if (header) {
            for (const char* name : {"id", "name", "\"no\nte\"", "city"}) {
                out += name;
                out += delimiter;
            }
            out.back() = '\n';
        }
        for (int r = 0; r < count; ++r) {
            const int fields = 1 + static_cast<int>(below(6));
            for (int f = 0; f < fields; ++f) {
                if (f > 0)
                    out += delimiter;
                out += field(delimiter);
            }
            if (r + 1 < count || below(2))
                out += lineEnd();
        }
        return out;
    }

    // The same text in one of the encodings the program reads: UTF-8 (with
    // or without its mark), UTF-8 with a byte that breaks it (so
    // Windows-1252), or UTF-16 either way round.
    std::string encoded(const std::string& utf8)
    {
        switch (below(6)) {
        case 0: return join({"\xEF\xBB\xBF", utf8});
        case 1: {
            std::string broken = utf8;
            broken.insert(broken.begin() + below(static_cast<std::uint32_t>(broken.size() + 1)), '\xE9');
            return broken;
        }
        case 2: return toUtf16(utf8, false);
        case 3: return toUtf16(utf8, true);
        default: return utf8;
        }
    }

private:
    static std::string join(std::initializer_list<std::string_view> parts)
    {
        std::string out;
        for (const std::string_view part : parts)
            out += part;
        return out;
    }

    static std::string quoted(const std::string& value)
    {
        std::string out;
        for (const char c : value)
            out += c == '"' ? std::string("\"\"") : std::string(1, c);
        return out;
    }

    std::mt19937 random_;
};

}  // namespace fixture
