#pragma once

#include <string>
#include <string_view>

namespace dictstore {

// Windows-1252, the single-byte code page of every file the suite writes.
// Text in memory is UTF-8.

// Encodes UTF-8 text; a character the code page cannot hold, or a byte
// that is not valid UTF-8, becomes '?'. One output byte per character.
std::string toCp1252(std::string_view utf8);

// Decodes Windows-1252 bytes. The five bytes the code page leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) come back as the C1 controls of the same
// value, so that decoding and encoding again keeps them.
std::string fromCp1252(std::string_view bytes);

// True when every character of the UTF-8 text has a Windows-1252 byte.
bool fitsCp1252(std::string_view utf8);

// Lower-case form of one Windows-1252 byte (A-Z, the accented capitals,
// and the three capitals that Windows-1252 keeps in 0x8A-0x9F).
unsigned char foldCp1252(unsigned char c);

}  // namespace dictstore
