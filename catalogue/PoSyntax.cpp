#include "PoSyntax.h"

#include "TextEncoding.h"
#include "Words.h"

#include <cctype>

namespace catalogue {

namespace {

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

}  // namespace

std::optional<std::string> appendQuoted(std::string_view text, std::string& bytes)
{
    if (text.empty() || text.front() != '"')
        return "a quoted string was expected";
    std::size_t i = 1;
    for (;;) {
        if (i >= text.size())
            return "the string does not end on its line (no closing quote)";
        const char c = text[i++];
        if (c == '"')
            break;
        if (c != '\\') {
            bytes += c;
            continue;
        }
        if (i >= text.size())
            return "the string does not end on its line (no closing quote)";
        const char e = text[i++];
        switch (e) {
        case 'n': bytes += '\n'; break;
        case 't': bytes += '\t'; break;
        case 'r': bytes += '\r'; break;
        case 'a': bytes += '\a'; break;
        case 'b': bytes += '\b'; break;
        case 'f': bytes += '\f'; break;
        case 'v': bytes += '\v'; break;
        case '\\': case '"': case '\'': case '?': bytes += e; break;
        case 'x': {
            int value = 0, digits = 0;
            for (int d; digits < 2 && i < text.size() && (d = hexDigit(text[i])) >= 0; ++digits, ++i)
                value = value * 16 + d;
            if (digits == 0)
                return "\\x is not followed by a hexadecimal digit";
            bytes += static_cast<char>(value);
            break;
        }
        default:
            if (e < '0' || e > '7')
                return std::string("unknown escape \\") + e;
            int value = e - '0';
            for (int digits = 1; digits < 3 && i < text.size() && text[i] >= '0' && text[i] <= '7'; ++digits)
                value = value * 8 + (text[i++] - '0');
            bytes += static_cast<char>(value & 0xFF);
            break;
        }
    }
    if (!trimmed(text.substr(i)).empty())
        return "text follows the closing quote";
    return std::nullopt;
}

std::optional<std::string> budgetFromFlags(std::string_view flags, Budget& budget)
{
    constexpr std::string_view name = "max-size:";
    while (!flags.empty()) {
        const std::size_t comma = flags.find(',');
        const std::string_view flag = trimmed(flags.substr(0, comma));
        flags = comma == std::string_view::npos ? std::string_view() : flags.substr(comma + 1);
        if (!flag.starts_with(name))
            continue;
        const std::string_view value = flag.substr(name.size());
        const std::size_t colon = value.find(':');
        const auto width = wholeNumber(value.substr(0, colon));
        const auto lines = colon == std::string_view::npos ? std::optional<std::int64_t>(1)
                                                            : wholeNumber(value.substr(colon + 1));
        if (!width || !lines)
            return "the flag " + std::string(flag) + " is not max-size:N or max-size:N:LINES with whole numbers";
        budget = *lines <= 1 ? Budget{Budget::Kind::Pixels, *width, "pixel"}
                             : Budget{Budget::Kind::OtherUnit, *width, std::to_string(*lines) + " lines"};
    }
    return std::nullopt;
}

std::optional<Charset> charsetOfHeader(std::string_view header, std::string& name)
{
    const std::string text = lowerCase(header);
    const std::size_t at = text.find("charset=");
    name = "UTF-8";
    if (at == std::string::npos)
        return Charset::Utf8;
    const std::size_t start = at + 8;
    std::size_t end = start;
    while (end < text.size() && !std::isspace(static_cast<unsigned char>(text[end])) && text[end] != ';')
        ++end;
    name = std::string(header.substr(start, end - start));
    const std::string given = text.substr(start, end - start);
    if (given == "utf-8" || given == "utf8" || given == "charset" || given == "ascii" || given == "us-ascii")
        return Charset::Utf8;
    if (given == "iso-8859-1" || given == "latin1" || given == "iso8859-1")
        return Charset::Latin1;
    if (given == "windows-1252" || given == "cp1252")
        return Charset::Windows1252;
    return std::nullopt;
}

QString decode(const std::string& bytes, Charset charset)
{
    switch (charset) {
    case Charset::Utf8:
        return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
    case Charset::Latin1:
        return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
    case Charset::Windows1252:
        break;
    }
    std::u32string codes;
    for (const char c : bytes)
        codes += engine::windows1252(static_cast<unsigned char>(c));
    return QString::fromStdU32String(codes);
}

}  // namespace catalogue
