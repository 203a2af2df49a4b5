// Writers of the files under src/ui/resources: the resource scripts, made
// from the dialog description (ui/dialog_templates.h) and the string table
// (ui/string_resources.h), the manifest, and the pictures (artwork.h).
//
// Scripts are UTF-8 with `#pragma code_page(65001)`, which both the Windows
// SDK's rc and MinGW windres honour, so the German texts stay readable.
#pragma once

#include "ui/dialog_templates.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace corvane::rcgen {

struct GeneratedFile {
    std::string name; // file name inside the resource folder
    std::string bytes;
};

// Every file that rcgen writes, in a fixed order.
std::vector<GeneratedFile> GenerateResourceFiles();

std::string DialogScript(); // dialogs.rc
std::string StringScript(); // strings.rc
std::string AppScript();    // app.rc: icons, bitmap, manifest, version
std::string ManifestFile(); // corvane.manifest

// The pieces, exposed for tests.

// A resource-script string literal, quotes included: "" for a quote, \\ for a
// backslash, \r \n \t for those controls, other controls in octal, and every
// other character as UTF-8.
std::string QuoteText(std::u16string_view text);

// The style expression of a CONTROL statement. CONTROL always adds WS_CHILD
// and WS_VISIBLE, so a style without them says NOT WS_VISIBLE / NOT WS_CHILD.
// Bits without a name for the class are written in hexadecimal.
std::string ControlStyleExpression(std::u16string_view windowClass, std::uint32_t style);
// The STYLE expression of a DIALOGEX.
std::string DialogStyleExpression(std::uint32_t style);
// An EXSTYLE expression; "0" for none.
std::string ExStyleExpression(std::uint32_t exStyle);

// One DIALOGEX statement, with its LANGUAGE left to the caller.
std::string DialogStatement(const ui::DialogTemplate& dialog);

} // namespace corvane::rcgen
