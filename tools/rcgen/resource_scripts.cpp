#include "resource_scripts.h"

#include "artwork.h"
#include "ui/string_resources.h"

#include <algorithm>
#include <cstdio>
#include <span>

#ifndef CORVANE_VERSION_MAJOR
#error "CORVANE_VERSION_MAJOR/MINOR/PATCH come from the project version"
#endif

namespace corvane::rcgen {

namespace {

using namespace ui;

struct Name {
    std::uint32_t bits;
    std::string_view name;
};

// Window-style bits as rc writes them for controls and for dialogs. Bits that
// share a value (WS_GROUP/WS_MINIMIZEBOX) take the name that fits the window.
// WS_CAPTION is both border bits, so it is tried before them.
constexpr Name kControlWindowStyles[] = {
    {kWsPopup, "WS_POPUP"},       {kWsChild, "WS_CHILD"},           {kWsVisible, "WS_VISIBLE"},
    {kWsDisabled, "WS_DISABLED"}, {kWsCaption, "WS_CAPTION"},       {kWsBorder, "WS_BORDER"},
    {kWsDlgFrame, "WS_DLGFRAME"}, {kWsVScroll, "WS_VSCROLL"},       {kWsHScroll, "WS_HSCROLL"},
    {kWsSysMenu, "WS_SYSMENU"},   {kWsThickFrame, "WS_THICKFRAME"}, {kWsGroup, "WS_GROUP"},
    {kWsTabStop, "WS_TABSTOP"},
};

constexpr Name kDialogStyles[] = {
    {kWsPopup, "WS_POPUP"},
    {kWsChild, "WS_CHILD"},
    {kWsVisible, "WS_VISIBLE"},
    {kWsDisabled, "WS_DISABLED"},
    {kWsCaption, "WS_CAPTION"},
    {kWsBorder, "WS_BORDER"},
    {kWsDlgFrame, "WS_DLGFRAME"},
    {kWsVScroll, "WS_VSCROLL"},
    {kWsHScroll, "WS_HSCROLL"},
    {kWsSysMenu, "WS_SYSMENU"},
    {kWsThickFrame, "WS_THICKFRAME"},
    {kWsMinimizeBox, "WS_MINIMIZEBOX"},
    {kWsMaximizeBox, "WS_MAXIMIZEBOX"},
    {kDsSetFont, "DS_SETFONT"},
    {kDsFixedSys, "DS_FIXEDSYS"},
    {kDsModalFrame, "DS_MODALFRAME"},
    {kDsSetForeground, "DS_SETFOREGROUND"},
    {kDsCenter, "DS_CENTER"},
};

constexpr Name kExStyles[] = {
    {kWsExDlgModalFrame, "WS_EX_DLGMODALFRAME"},
    {kWsExNoParentNotify, "WS_EX_NOPARENTNOTIFY"},
    {kWsExTopmost, "WS_EX_TOPMOST"},
    {kWsExTransparent, "WS_EX_TRANSPARENT"},
    {kWsExToolWindow, "WS_EX_TOOLWINDOW"},
    {kWsExWindowEdge, "WS_EX_WINDOWEDGE"},
    {kWsExClientEdge, "WS_EX_CLIENTEDGE"},
    {kWsExControlParent, "WS_EX_CONTROLPARENT"},
    {kWsExStaticEdge, "WS_EX_STATICEDGE"},
    {kWsExAppWindow, "WS_EX_APPWINDOW"},
};

// The low word of a control's style: a type field with one name per value,
// then flags.
struct ClassStyles {
    std::u16string_view windowClass;
    std::uint32_t typeMask;
    std::span<const Name> types;
    std::span<const Name> flags;
};

constexpr Name kButtonTypes[] = {
    {kBsPushButton, "BS_PUSHBUTTON"},
    {kBsDefPushButton, "BS_DEFPUSHBUTTON"},
    {kBsCheckBox, "BS_CHECKBOX"},
    {kBsAutoCheckBox, "BS_AUTOCHECKBOX"},
    {kBsRadioButton, "BS_RADIOBUTTON"},
    {kBsGroupBox, "BS_GROUPBOX"},
    {kBsAutoRadioButton, "BS_AUTORADIOBUTTON"},
    {kBsOwnerDraw, "BS_OWNERDRAW"},
};
constexpr Name kButtonFlags[] = {{kBsIcon, "BS_ICON"}, {kBsBitmap, "BS_BITMAP"}};

constexpr Name kStaticTypes[] = {
    {kSsLeft, "SS_LEFT"},
    {kSsCenter, "SS_CENTER"},
    {kSsRight, "SS_RIGHT"},
    {kSsIcon, "SS_ICON"},
    {kSsLeftNoWordWrap, "SS_LEFTNOWORDWRAP"},
    {kSsOwnerDraw, "SS_OWNERDRAW"},
    {kSsBitmap, "SS_BITMAP"},
    {kSsEtchedHorz, "SS_ETCHEDHORZ"},
};
constexpr Name kStaticFlags[] = {
    {kSsNoPrefix, "SS_NOPREFIX"}, {kSsNotify, "SS_NOTIFY"}, {kSsCenterImage, "SS_CENTERIMAGE"}};

constexpr Name kEditTypes[] = {{kEsLeft, "ES_LEFT"}};
constexpr Name kEditFlags[] = {
    {kEsMultiline, "ES_MULTILINE"},     {kEsPassword, "ES_PASSWORD"},
    {kEsAutoVScroll, "ES_AUTOVSCROLL"}, {kEsAutoHScroll, "ES_AUTOHSCROLL"},
    {kEsReadOnly, "ES_READONLY"},
};

constexpr Name kComboBoxTypes[] = {{kCbsSimple, "CBS_SIMPLE"},
                                   {kCbsDropDown, "CBS_DROPDOWN"},
                                   {kCbsDropDownList, "CBS_DROPDOWNLIST"}};
constexpr Name kComboBoxFlags[] = {{kCbsAutoHScroll, "CBS_AUTOHSCROLL"}, {kCbsSort, "CBS_SORT"}};

// The edit type field is two bits wide (ES_LEFT, ES_CENTER, ES_RIGHT).
constexpr ClassStyles kClassStyles[] = {
    {kClassButton, kBsTypeMask, kButtonTypes, kButtonFlags},
    {kClassStatic, kSsTypeMask, kStaticTypes, kStaticFlags},
    {kClassEdit, 0x0003, kEditTypes, kEditFlags},
    {kClassComboBox, kCbsTypeMask, kComboBoxTypes, kComboBoxFlags},
};

std::string Hex(std::uint32_t value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, value > 0xFFFFu ? "0x%08X" : "0x%04X", value);
    return buffer;
}

void AppendPart(std::string& expression, std::string_view part) {
    if (!expression.empty()) {
        expression += " | ";
    }
    expression += part;
}

// Names the bits of `remaining` that the table covers and clears them.
void AppendFlags(std::string& expression, std::uint32_t& remaining, std::span<const Name> names) {
    for (const Name& name : names) {
        if (name.bits != 0 && (remaining & name.bits) == name.bits) {
            AppendPart(expression, name.name);
            remaining &= ~name.bits;
        }
    }
}

bool SameClass(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto fold = [](char16_t c) {
            return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
        };
        if (fold(a[i]) != fold(b[i])) {
            return false;
        }
    }
    return true;
}

std::string Number(long value) {
    return std::to_string(value);
}

void AppendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

std::string Utf8(std::u16string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t code = text[i];
        if (code >= 0xD800 && code <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            code = 0x10000 + ((code - 0xD800) << 10) + (text[i + 1] - 0xDC00u);
            ++i;
        } else if (code >= 0xD800 && code <= 0xDFFF) {
            code = 0xFFFD; // an unpaired surrogate has no UTF-8 form
        }
        AppendUtf8(out, code);
    }
    return out;
}

std::string_view LanguageName(platform::LanguageId language) {
    switch (language) {
    case kLanguageGerman:
        return "German (Germany)";
    case kLanguageEnglish:
        return "English (United States)";
    case 0:
        return "neutral";
    default:
        return "";
    }
}

// LANGUAGE takes the primary and the sublanguage of a LANGID.
std::string LanguageStatement(platform::LanguageId language) {
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "LANGUAGE 0x%02X, 0x%02X", language & 0x3FFu,
                  static_cast<unsigned>(language) >> 10);
    std::string statement = buffer;
    const std::string_view name = LanguageName(language);
    if (!name.empty()) {
        statement += " // ";
        statement += name;
    }
    return statement + "\n";
}

std::string Rectangle(const DialogUnits& rect) {
    return Number(rect.x) + ", " + Number(rect.y) + ", " + Number(rect.width) + ", " +
           Number(rect.height);
}

constexpr std::string_view kCodePage = "#pragma code_page(65001)\n";

std::string VersionText() {
    return Number(CORVANE_VERSION_MAJOR) + "." + Number(CORVANE_VERSION_MINOR) + "." +
           Number(CORVANE_VERSION_PATCH);
}

std::string VersionNumbers() {
    return Number(CORVANE_VERSION_MAJOR) + "," + Number(CORVANE_VERSION_MINOR) + "," +
           Number(CORVANE_VERSION_PATCH) + ",0";
}

} // namespace

std::string QuoteText(std::u16string_view text) {
    std::string out = "\"";
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        switch (c) {
        case u'"':
            out += "\"\"";
            break;
        case u'\\':
            out += "\\\\";
            break;
        case u'\r':
            out += "\\r";
            break;
        case u'\n':
            out += "\\n";
            break;
        case u'\t':
            out += "\\t";
            break;
        default:
            if (c < 0x20 || c == 0x7F) {
                char buffer[8];
                std::snprintf(buffer, sizeof buffer, "\\%03o", static_cast<unsigned>(c));
                out += buffer;
            } else {
                // Pass a surrogate pair on whole so that it becomes one character.
                const std::size_t length =
                    (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size()) ? 2 : 1;
                out += Utf8(text.substr(i, length));
                i += length - 1;
            }
        }
    }
    return out + "\"";
}

std::string ControlStyleExpression(std::u16string_view windowClass, std::uint32_t style) {
    std::string expression;
    std::uint32_t remaining = style;
    AppendFlags(expression, remaining, kControlWindowStyles);
    for (const ClassStyles& names : kClassStyles) {
        if (!SameClass(names.windowClass, windowClass)) {
            continue;
        }
        const std::uint32_t type = remaining & names.typeMask;
        bool named = false;
        for (const Name& name : names.types) {
            if (name.bits == type) {
                AppendPart(expression, name.name);
                named = true;
                break;
            }
        }
        if (!named && type != 0) {
            AppendPart(expression, Hex(type));
        }
        remaining &= ~names.typeMask;
        AppendFlags(expression, remaining, names.flags);
        break;
    }
    if (remaining != 0) {
        AppendPart(expression, Hex(remaining));
    }
    // CONTROL ors WS_CHILD | WS_VISIBLE into whatever it is given.
    if ((style & kWsVisible) == 0) {
        AppendPart(expression, "NOT WS_VISIBLE");
    }
    if ((style & kWsChild) == 0) {
        AppendPart(expression, "NOT WS_CHILD");
    }
    return expression.empty() ? "0" : expression;
}

std::string DialogStyleExpression(std::uint32_t style) {
    std::string expression;
    std::uint32_t remaining = style;
    AppendFlags(expression, remaining, kDialogStyles);
    if (remaining != 0) {
        AppendPart(expression, Hex(remaining));
    }
    return expression.empty() ? "0" : expression;
}

std::string ExStyleExpression(std::uint32_t exStyle) {
    std::string expression;
    std::uint32_t remaining = exStyle;
    AppendFlags(expression, remaining, kExStyles);
    if (remaining != 0) {
        AppendPart(expression, Hex(remaining));
    }
    return expression.empty() ? "0" : expression;
}

std::string DialogStatement(const DialogTemplate& dialog) {
    std::string out = Number(dialog.id) + " DIALOGEX " + Rectangle(dialog.rect) + "\n";
    out += "STYLE " + DialogStyleExpression(dialog.style) + "\n";
    if (dialog.exStyle != 0) {
        out += "EXSTYLE " + ExStyleExpression(dialog.exStyle) + "\n";
    }
    if (!dialog.caption.empty()) {
        out += "CAPTION " + QuoteText(dialog.caption) + "\n";
    }
    if (!dialog.font.face.empty()) {
        char charset[8];
        std::snprintf(charset, sizeof charset, "0x%X", static_cast<unsigned>(dialog.font.charset));
        out += "FONT " + Number(dialog.font.pointSize) + ", " + QuoteText(dialog.font.face) + ", " +
               Number(dialog.font.weight) + ", " + (dialog.font.italic ? "1" : "0") + ", " +
               charset + "\n";
    }
    out += "BEGIN\n";
    for (const DialogItem& item : dialog.items) {
        out += "    CONTROL ";
        out += item.image != 0 ? Number(item.image) : QuoteText(item.text);
        out += ", " + Number(item.id) + ", " + QuoteText(item.windowClass) + ", ";
        out += ControlStyleExpression(item.windowClass, item.style) + ", " + Rectangle(item.rect);
        if (item.exStyle != 0) {
            out += ", " + ExStyleExpression(item.exStyle);
        }
        out += "\n";
    }
    out += "END\n";
    return out;
}

std::string DialogScript() {
    std::string out =
        "// Dialog templates of both interface languages.\n"
        "// Generated by tools/rcgen from src/ui/dialog_templates.cpp: change that file and\n"
        "// run `rcgen --output src/ui/resources`, never this one.\n"
        "#include <winresrc.h>\n";
    out += kCodePage;
    std::vector<platform::LanguageId> languages;
    for (const DialogTemplate& dialog : DialogTemplates()) {
        if (std::find(languages.begin(), languages.end(), dialog.language) == languages.end()) {
            languages.push_back(dialog.language);
        }
    }
    for (const platform::LanguageId language : languages) {
        out += "\n" + LanguageStatement(language);
        for (const DialogTemplate& dialog : DialogTemplates()) {
            if (dialog.language == language) {
                out += "\n" + DialogStatement(dialog);
            }
        }
    }
    return out;
}

std::string StringScript() {
    std::string out =
        "// String tables of both interface languages.\n"
        "// Generated by tools/rcgen from src/ui/string_resources.cpp: change that file and\n"
        "// run `rcgen --output src/ui/resources`, never this one.\n";
    out += kCodePage;
    std::vector<platform::LanguageId> languages;
    for (const StringResource& entry : StringResources()) {
        if (std::find(languages.begin(), languages.end(), entry.language) == languages.end()) {
            languages.push_back(entry.language);
        }
    }
    for (const platform::LanguageId language : languages) {
        out += "\n" + LanguageStatement(language);
        out += "STRINGTABLE\nBEGIN\n";
        for (const StringResource& entry : StringResources()) {
            if (entry.language == language) {
                out += "    " + Number(entry.id) + " " + QuoteText(entry.text) + "\n";
            }
        }
        out += "END\n";
    }
    return out;
}

std::string AppScript() {
    std::string out =
        "// Icons, header picture, manifest and version information.\n"
        "// Generated by tools/rcgen: run `rcgen --output src/ui/resources`, never edit this.\n"
        "#include <winresrc.h>\n";
    out += kCodePage;
    out += "\n";
    // The pictures and the manifest serve both languages: one neutral copy.
    out += LanguageStatement(0);
    out += "\n";
    out += Number(kIconApplication) + " ICON \"computer.ico\"\n";
    out += Number(kIconCredentials) + " ICON \"credentials.ico\"\n";
    out += Number(kBitmapHeader) + " BITMAP \"header.bmp\"\n";
    out += "\n";
    out += "CREATEPROCESS_MANIFEST_RESOURCE_ID RT_MANIFEST \"corvane.manifest\"\n";
    out += "\n";
    out += "VS_VERSION_INFO VERSIONINFO\n";
    out += "FILEVERSION " + VersionNumbers() + "\n";
    out += "PRODUCTVERSION " + VersionNumbers() + "\n";
    out += "FILEFLAGSMASK VS_FFI_FILEFLAGSMASK\n";
    out += "FILEFLAGS 0\n";
    out += "FILEOS VOS_NT_WINDOWS32\n";
    out += "FILETYPE VFT_APP\n";
    out += "FILESUBTYPE VFT2_UNKNOWN\n";
    out += "BEGIN\n";
    out += "    BLOCK \"StringFileInfo\"\n";
    out += "    BEGIN\n";
    std::string translations;
    for (const platform::LanguageId language : {kLanguageGerman, kLanguageEnglish}) {
        char block[16];
        // Language and code page 1200 (UTF-16) in hexadecimal.
        std::snprintf(block, sizeof block, "%04X04B0", static_cast<unsigned>(language));
        std::u16string_view description;
        FindStringResource(kStringDefaultTitle, language, description);
        out += "        BLOCK \"" + std::string(block) + "\"\n";
        out += "        BEGIN\n";
        out += "            VALUE \"FileDescription\", " + QuoteText(description) + "\n";
        out += "            VALUE \"FileVersion\", \"" + VersionText() + "\"\n";
        out += "            VALUE \"InternalName\", \"corvane\"\n";
        out += "            VALUE \"OriginalFilename\", \"corvane.exe\"\n";
        out += "            VALUE \"ProductName\", \"corvane\"\n";
        out += "            VALUE \"ProductVersion\", \"" + VersionText() + "\"\n";
        out += "        END\n";
        char translation[24];
        std::snprintf(translation, sizeof translation, "0x%04X, 1200",
                      static_cast<unsigned>(language));
        translations += translations.empty() ? "" : ", ";
        translations += translation;
    }
    out += "    END\n";
    out += "    BLOCK \"VarFileInfo\"\n";
    out += "    BEGIN\n";
    out += "        VALUE \"Translation\", " + translations + "\n";
    out += "    END\n";
    out += "END\n";
    return out;
}

std::string ManifestFile() {
    std::string out =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
        "<!-- Generated by tools/rcgen. -->\n"
        "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\">\n";
    out += "  <assemblyIdentity type=\"win32\" name=\"corvane\" version=\"" + VersionText() +
           ".0\" processorArchitecture=\"*\"/>\n";
    out += "  <description>corvane</description>\n"
           "  <!-- The IP address control and the visual styles of version 6. -->\n"
           "  <dependency>\n"
           "    <dependentAssembly>\n"
           "      <assemblyIdentity type=\"win32\" name=\"Microsoft.Windows.Common-Controls\" "
           "version=\"6.0.0.0\" processorArchitecture=\"*\" "
           "publicKeyToken=\"6595b64144ccf1df\" language=\"*\"/>\n"
           "    </dependentAssembly>\n"
           "  </dependency>\n"
           "  <!-- Joining a domain and changing adapters need an administrator. -->\n"
           "  <trustInfo xmlns=\"urn:schemas-microsoft-com:asm.v3\">\n"
           "    <security>\n"
           "      <requestedPrivileges>\n"
           "        <requestedExecutionLevel level=\"requireAdministrator\" uiAccess=\"false\"/>\n"
           "      </requestedPrivileges>\n"
           "    </security>\n"
           "  </trustInfo>\n"
           "  <compatibility xmlns=\"urn:schemas-microsoft-com:compatibility.v1\">\n"
           "    <application>\n"
           "      <!-- Windows Vista -->\n"
           "      <supportedOS Id=\"{e2011457-1546-43c5-a5fe-008deee3d3f0}\"/>\n"
           "      <!-- Windows 7 -->\n"
           "      <supportedOS Id=\"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}\"/>\n"
           "      <!-- Windows 8 -->\n"
           "      <supportedOS Id=\"{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}\"/>\n"
           "      <!-- Windows 8.1 -->\n"
           "      <supportedOS Id=\"{1f676c76-80e1-4239-95bb-83d0f6d0da78}\"/>\n"
           "      <!-- Windows 10 and 11 -->\n"
           "      <supportedOS Id=\"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}\"/>\n"
           "    </application>\n"
           "  </compatibility>\n"
           "</assembly>\n";
    return out;
}

std::vector<GeneratedFile> GenerateResourceFiles() {
    return {
        {"dialogs.rc", DialogScript()},
        {"strings.rc", StringScript()},
        {"app.rc", AppScript()},
        {"corvane.manifest", ManifestFile()},
        {"computer.ico", ApplicationIconFile()},
        {"credentials.ico", CredentialsIconFile()},
        {"header.bmp", HeaderBitmapFile()},
    };
}

} // namespace corvane::rcgen
