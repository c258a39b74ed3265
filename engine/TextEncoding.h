#pragma once
// The encodings a data file is read in, and turning its bytes into text
// for showing a line to the user.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace engine {

// Utf8 and Windows1252 are the two readings of a file without a UTF-16
// byte-order mark: UTF-8 when all of it is valid UTF-8, else Windows-1252.
// While such a file is being read, Utf8 means that no byte so far breaks
// UTF-8; only its end decides.
enum class Encoding { Utf8, Windows1252, Utf16LE, Utf16BE };

// "UTF-8", "Windows-1252", "UTF-16LE", "UTF-16BE".
const char* encodingName(Encoding encoding);
// The reverse of encodingName; false for an unknown name.
bool encodingFromName(std::string_view name, Encoding& encoding);

bool isUtf16(Encoding encoding);

// What a file's first bytes say about it.
struct ByteOrderMark {
    std::size_t length = 0;  // bytes to skip: 0, 2 or 3
    Encoding encoding = Encoding::Utf8;  // a UTF-16 only when marked so
};

// Needs the first 3 bytes of the file, or all of it when shorter.
ByteOrderMark readByteOrderMark(const unsigned char* data, std::size_t size);

// The code point of a byte read as Windows-1252. The five bytes the code
// page leaves undefined stand for the C1 controls of the same value.
char32_t windows1252(unsigned char byte);

// The code unit at p of a UTF-16 stream.
inline std::uint16_t utf16Unit(const unsigned char* p, bool bigEndian)
{
    return bigEndian ? static_cast<std::uint16_t>(p[0] << 8 | p[1]) : static_cast<std::uint16_t>(p[1] << 8 | p[0]);
}

// The first maxCharacters characters of bytes read in the encoding, as
// UTF-8. Characters that cannot be decoded become U+FFFD.
std::string decodeText(std::string_view bytes, Encoding encoding, std::size_t maxCharacters);

}  // namespace engine
