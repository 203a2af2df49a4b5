// Windows-1252, the system code page of the German and English Windows
// versions the program is made for: 8-bit texts of the IP Helper records
// become UTF-16 for the dialogs.
#pragma once

#include <string>
#include <string_view>

namespace corvane {

// Every byte becomes its character; the five bytes that the code page leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) keep their value, as Windows maps
// them.
std::u16string Windows1252ToUtf16(std::string_view text);

} // namespace corvane
