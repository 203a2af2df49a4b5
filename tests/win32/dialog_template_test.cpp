// The compiled resources of the Windows build against the dialog description
// and the string table they were generated from: every dialog is created from
// its language's template and each child window is compared with its item.
#include "platform/win32/system_library.h"
#include "platform/win32/wide_text.h"
#include "ui/dialog_ids.h"
#include "ui/dialog_templates.h"
#include "ui/string_resources.h"

#include <commctrl.h>
#include <cstdint>
#include <cstring>
#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>
#include <windows.h>

namespace corvane::ui {

// Names a template in failure messages instead of dumping its bytes.
void PrintTo(const DialogTemplate& dialog, std::ostream* out) {
    *out << "template " << dialog.id << " language 0x" << std::hex << dialog.language << std::dec;
}

namespace {

// The portable style constants are the SDK's values.
static_assert(kWsPopup == WS_POPUP && kWsChild == WS_CHILD && kWsVisible == WS_VISIBLE);
static_assert(kWsDisabled == WS_DISABLED && kWsCaption == WS_CAPTION && kWsBorder == WS_BORDER);
static_assert(kWsDlgFrame == WS_DLGFRAME && kWsVScroll == WS_VSCROLL && kWsHScroll == WS_HSCROLL);
static_assert(kWsSysMenu == WS_SYSMENU && kWsThickFrame == WS_THICKFRAME);
static_assert(kWsGroup == WS_GROUP && kWsTabStop == WS_TABSTOP);
static_assert(kWsMinimizeBox == WS_MINIMIZEBOX && kWsMaximizeBox == WS_MAXIMIZEBOX);
static_assert(kWsExDlgModalFrame == WS_EX_DLGMODALFRAME && kWsExTopmost == WS_EX_TOPMOST);
static_assert(kWsExNoParentNotify == WS_EX_NOPARENTNOTIFY && kWsExTransparent == WS_EX_TRANSPARENT);
static_assert(kWsExToolWindow == WS_EX_TOOLWINDOW && kWsExWindowEdge == WS_EX_WINDOWEDGE);
static_assert(kWsExClientEdge == WS_EX_CLIENTEDGE && kWsExControlParent == WS_EX_CONTROLPARENT);
static_assert(kWsExStaticEdge == WS_EX_STATICEDGE && kWsExAppWindow == WS_EX_APPWINDOW);
static_assert(kDsFixedSys == DS_FIXEDSYS && kDsSetFont == DS_SETFONT);
static_assert(kDsModalFrame == DS_MODALFRAME && kDsSetForeground == DS_SETFOREGROUND);
static_assert(kDsCenter == DS_CENTER);
static_assert(kBsPushButton == BS_PUSHBUTTON && kBsDefPushButton == BS_DEFPUSHBUTTON);
static_assert(kBsCheckBox == BS_CHECKBOX && kBsAutoCheckBox == BS_AUTOCHECKBOX);
static_assert(kBsRadioButton == BS_RADIOBUTTON && kBsGroupBox == BS_GROUPBOX);
static_assert(kBsAutoRadioButton == BS_AUTORADIOBUTTON && kBsOwnerDraw == BS_OWNERDRAW);
static_assert(kBsTypeMask == BS_TYPEMASK && kBsIcon == BS_ICON && kBsBitmap == BS_BITMAP);
static_assert(kSsTypeMask == SS_TYPEMASK && kSsLeft == SS_LEFT && kSsCenter == SS_CENTER);
static_assert(kSsRight == SS_RIGHT && kSsIcon == SS_ICON && kSsLeftNoWordWrap == SS_LEFTNOWORDWRAP);
static_assert(kSsOwnerDraw == SS_OWNERDRAW && kSsBitmap == SS_BITMAP);
static_assert(kSsEtchedHorz == SS_ETCHEDHORZ && kSsNoPrefix == SS_NOPREFIX);
static_assert(kSsNotify == SS_NOTIFY && kSsCenterImage == SS_CENTERIMAGE);
static_assert(kEsLeft == ES_LEFT && kEsMultiline == ES_MULTILINE && kEsPassword == ES_PASSWORD);
static_assert(kEsAutoVScroll == ES_AUTOVSCROLL && kEsAutoHScroll == ES_AUTOHSCROLL);
static_assert(kEsReadOnly == ES_READONLY);
static_assert(kCbsSimple == CBS_SIMPLE && kCbsDropDown == CBS_DROPDOWN);
static_assert(kCbsDropDownList == CBS_DROPDOWNLIST && kCbsAutoHScroll == CBS_AUTOHSCROLL);
static_assert(kCbsSort == CBS_SORT);
static_assert(kItemOk == IDOK && kItemCancel == IDCANCEL);

using win32::Utf16;
using win32::Wide;

HMODULE ThisModule() {
    return GetModuleHandleW(nullptr);
}

// Case-insensitive for ASCII letters: the system registers "Button", the
// templates say "BUTTON".
bool SameClassName(std::u16string_view a, std::u16string_view b) {
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

std::u16string WindowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::u16string text(static_cast<std::size_t>(length) + 1, u'\0');
    const int copied = GetWindowTextW(window, Wide(text.data()), length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
}

std::u16string ClassName(HWND window) {
    wchar_t name[64] = {};
    const int length = GetClassNameW(window, name, 64);
    return std::u16string(Utf16(name), static_cast<std::size_t>(length > 0 ? length : 0));
}

std::uint32_t Style(HWND window) {
    return static_cast<std::uint32_t>(GetWindowLongW(window, GWL_STYLE));
}
std::uint32_t ExStyle(HWND window) {
    return static_cast<std::uint32_t>(GetWindowLongW(window, GWL_EXSTYLE));
}

// A rectangle of the dialog's client area, from the child's screen position.
RECT ClientRect(HWND dialog, HWND child) {
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// The dialog manager converts origin and size separately (MulDiv each), so
// map them as four independent values rather than as two corners.
RECT PixelsOf(HWND dialog, const DialogUnits& units) {
    RECT rect{units.x, units.y, units.width, units.height};
    MapDialogRect(dialog, &rect);
    return rect;
}

INT_PTR CALLBACK TrivialDialogProcedure(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

class Win32DialogTemplate : public testing::TestWithParam<DialogTemplate> {
protected:
    static void SetUpTestSuite() {
        // The IP address control comes from the common controls, loaded from
        // the system directory at run time like every DLL outside KnownDLLs.
        commonControls_ = new win32::SystemLibrary(L"comctl32.dll");
        BOOL(WINAPI * initialise)(const INITCOMMONCONTROLSEX*) = nullptr;
        ASSERT_EQ(commonControls_->Find("InitCommonControlsEx", initialise), 0u);
        const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_INTERNET_CLASSES};
        ASSERT_TRUE(initialise(&classes));
    }
    static void TearDownTestSuite() {
        delete commonControls_;
        commonControls_ = nullptr;
    }

    void SetUp() override {
        const DialogTemplate& description = GetParam();
        HRSRC resource = FindResourceExW(ThisModule(), RT_DIALOG, MAKEINTRESOURCEW(description.id),
                                         description.language);
        ASSERT_NE(resource, nullptr) << "no template in this language";
        HGLOBAL loaded = LoadResource(ThisModule(), resource);
        ASSERT_NE(loaded, nullptr);
        const auto* bytes = static_cast<const DLGTEMPLATE*>(LockResource(loaded));
        ASSERT_NE(bytes, nullptr);
        // Not shown: the template has no WS_VISIBLE and nothing shows it.
        dialog_ =
            CreateDialogIndirectParamW(ThisModule(), bytes, nullptr, TrivialDialogProcedure, 0);
        ASSERT_NE(dialog_, nullptr) << GetLastError();
    }
    void TearDown() override {
        if (dialog_ != nullptr) {
            DestroyWindow(dialog_);
        }
    }

    std::vector<HWND> Children() const {
        std::vector<HWND> children;
        for (HWND child = GetWindow(dialog_, GW_CHILD); child != nullptr;
             child = GetWindow(child, GW_HWNDNEXT)) {
            children.push_back(child);
        }
        return children;
    }

    HWND dialog_ = nullptr;
    static win32::SystemLibrary* commonControls_;
};

win32::SystemLibrary* Win32DialogTemplate::commonControls_ = nullptr;

TEST_P(Win32DialogTemplate, WindowMatchesTheDescription) {
    const DialogTemplate& description = GetParam();
    EXPECT_TRUE(WindowText(dialog_) == description.caption);
    // Every top-level window clips its siblings, and the dialog manager
    // gives dialogs of Windows 4.0 programs and later the 3-D look; the rest
    // is the template's.
    EXPECT_EQ(Style(dialog_), description.style | WS_CLIPSIBLINGS | DS_3DLOOK)
        << std::hex << Style(dialog_);
    // The dialog manager makes the dialog a control parent (Tab walks into
    // nested dialogs) and gives DS_MODALFRAME its extended frame; the window
    // manager may add WS_EX_WINDOWEDGE to a captioned window.
    std::uint32_t expectedEx = description.exStyle | kWsExControlParent;
    if ((description.style & kDsModalFrame) != 0) {
        expectedEx |= kWsExDlgModalFrame;
    }
    EXPECT_EQ(ExStyle(dialog_) & ~kWsExWindowEdge, expectedEx) << std::hex << ExStyle(dialog_);
    // The client area is the template's size in dialog units.
    RECT client{};
    GetClientRect(dialog_, &client);
    const RECT size =
        PixelsOf(dialog_, DialogUnits{0, 0, description.rect.width, description.rect.height});
    EXPECT_EQ(client.right, size.right);
    EXPECT_EQ(client.bottom, size.bottom);
}

TEST_P(Win32DialogTemplate, ChildrenMatchTheItemsInTemplateOrder) {
    const DialogTemplate& description = GetParam();
    const std::vector<HWND> children = Children();
    ASSERT_EQ(children.size(), description.items.size());
    for (std::size_t i = 0; i < children.size(); ++i) {
        const DialogItem& item = description.items[i];
        HWND child = children[i];
        SCOPED_TRACE(testing::Message() << "item " << i << " id " << item.id);

        EXPECT_EQ(GetDlgCtrlID(child), item.id);
        EXPECT_TRUE(SameClassName(ClassName(child), item.windowClass));

        const bool comboBox = SameClassName(item.windowClass, kClassComboBox);
        const bool edit = SameClassName(item.windowClass, kClassEdit);
        const bool ipAddress = SameClassName(item.windowClass, kClassIpAddress);
        const bool etchedRule = SameClassName(item.windowClass, kClassStatic) &&
                                (item.style & kSsTypeMask) == kSsEtchedHorz;
        const bool picture = item.image != 0;

        // Text: the IP address control reports its four fields, not a text.
        if (!ipAddress && !picture) {
            EXPECT_TRUE(WindowText(child) == item.text);
        }

        // What the controls do to their own styles when they are created:
        // an edit field turns WS_BORDER into the sunken WS_EX_CLIENTEDGE; a
        // combo box hands its scroll bar to its list (which hides it while
        // the list is short); an etched rule takes WS_EX_STATICEDGE. The
        // dialog manager creates every control with WS_EX_NOPARENTNOTIFY.
        std::uint32_t expectedStyle = item.style;
        std::uint32_t expectedEx = item.exStyle | kWsExNoParentNotify;
        if (edit && (item.style & kWsBorder) != 0) {
            expectedStyle &= ~kWsBorder;
            expectedEx |= kWsExClientEdge;
        }
        if (comboBox) {
            expectedStyle &= ~kWsVScroll;
        }
        if (etchedRule) {
            expectedEx |= kWsExStaticEdge;
        }
        EXPECT_EQ(Style(child), expectedStyle) << std::hex << Style(child);
        EXPECT_EQ(ExStyle(child), expectedEx) << std::hex << ExStyle(child);

        // Position and size in pixels.
        const RECT expected = PixelsOf(dialog_, item.rect);
        const RECT actual = ClientRect(dialog_, child);
        const LONG width = actual.right - actual.left;
        const LONG height = actual.bottom - actual.top;
        EXPECT_EQ(actual.left, expected.left);
        EXPECT_EQ(actual.top, expected.top);
        if (picture) {
            // An SS_BITMAP static sizes itself to its picture, which proves
            // that the bitmap named by ordinal was found.
            EXPECT_EQ(width, 49);
            EXPECT_EQ(height, 49);
            EXPECT_NE(SendMessageW(child, STM_GETIMAGE, IMAGE_BITMAP, 0), 0);
        } else if (comboBox) {
            // The window is only the selection field; the template's height
            // is that of the dropped-down list, which the control fits to
            // whole items when it drops down.
            EXPECT_EQ(width, expected.right);
        } else if (etchedRule) {
            // Some versions fit the rule's window around its edge.
            RECT fitted{0, 0, expected.right, 0};
            AdjustWindowRectEx(&fitted, Style(child), FALSE, ExStyle(child));
            EXPECT_TRUE(width == expected.right || width == fitted.right - fitted.left) << width;
            EXPECT_TRUE(height == expected.bottom || height == fitted.bottom - fitted.top)
                << height;
        } else {
            EXPECT_EQ(width, expected.right);
            EXPECT_EQ(height, expected.bottom);
        }
    }
}

std::string TemplateName(const testing::TestParamInfo<DialogTemplate>& info) {
    return "Dialog" + std::to_string(info.param.id) +
           (info.param.language == kLanguageGerman ? "German" : "English");
}

INSTANTIATE_TEST_SUITE_P(Resources, Win32DialogTemplate,
                         testing::ValuesIn(DialogTemplates().begin(), DialogTemplates().end()),
                         TemplateName);

// ---- Strings, pictures, manifest, version -------------------------------------------

// The string from one language's table, read from the RT_STRING block
// (16 counted strings per block, block id = id / 16 + 1).
bool StringInLanguage(std::uint32_t id, LANGID language, std::u16string& text) {
    HRSRC resource =
        FindResourceExW(ThisModule(), RT_STRING, MAKEINTRESOURCEW(id / 16 + 1), language);
    if (resource == nullptr) {
        return false;
    }
    const auto* block =
        static_cast<const char16_t*>(LockResource(LoadResource(ThisModule(), resource)));
    const DWORD units = SizeofResource(ThisModule(), resource) / sizeof(char16_t);
    DWORD at = 0;
    for (std::uint32_t index = 0; index < 16 && at < units; ++index) {
        const DWORD length = block[at++];
        if (index == id % 16) {
            if (length == 0 || at + length > units) {
                return false;
            }
            text.assign(block + at, length);
            return true;
        }
        at += length;
    }
    return false;
}

TEST(Win32Resources, StringTablesHoldEveryStringOfBothLanguages) {
    for (const StringResource& entry : StringResources()) {
        std::u16string text;
        ASSERT_TRUE(StringInLanguage(entry.id, entry.language, text))
            << entry.id << " / " << entry.language;
        EXPECT_TRUE(text == entry.text) << entry.id << " / " << entry.language;
    }
}

struct IconEntry {
    int size;
    int bits;
    friend bool operator==(const IconEntry&, const IconEntry&) = default;
};

#pragma pack(push, 2)
struct GroupIconEntry {
    BYTE width;
    BYTE height;
    BYTE colours;
    BYTE reserved;
    WORD planes;
    WORD bits;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

std::vector<IconEntry> IconGroup(ResourceId id) {
    std::vector<IconEntry> entries;
    HRSRC resource = FindResourceW(ThisModule(), MAKEINTRESOURCEW(id), RT_GROUP_ICON);
    if (resource == nullptr) {
        return entries;
    }
    const auto* bytes =
        static_cast<const BYTE*>(LockResource(LoadResource(ThisModule(), resource)));
    const WORD count = *reinterpret_cast<const WORD*>(bytes + 4);
    for (WORD i = 0; i < count; ++i) {
        const auto* entry = reinterpret_cast<const GroupIconEntry*>(bytes + 6 + 14 * i);
        entries.push_back(IconEntry{entry->width, entry->bits});
    }
    return entries;
}

TEST(Win32Resources, IconsHaveTheirSizesAndLoad) {
    struct Case {
        ResourceId id;
        std::vector<IconEntry> images;
    };
    const Case cases[] = {
        {kIconApplication, {{32, 8}, {16, 8}, {32, 32}, {16, 32}}},
        {kIconCredentials, {{16, 8}, {16, 32}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(IconGroup(c.id), c.images);
        for (const IconEntry& image : c.images) {
            HICON icon = static_cast<HICON>(LoadImageW(ThisModule(), MAKEINTRESOURCEW(c.id),
                                                       IMAGE_ICON, image.size, image.size, 0));
            ASSERT_NE(icon, nullptr) << image.size;
            ICONINFO info{};
            ASSERT_TRUE(GetIconInfo(icon, &info));
            BITMAP colour{};
            GetObjectW(info.hbmColor, sizeof colour, &colour);
            EXPECT_EQ(colour.bmWidth, image.size);
            EXPECT_EQ(colour.bmHeight, image.size);
            DeleteObject(info.hbmColor);
            DeleteObject(info.hbmMask);
            DestroyIcon(icon);
        }
    }
}

TEST(Win32Resources, HeaderBitmapIs49By49At24Bits) {
    HBITMAP bitmap = static_cast<HBITMAP>(LoadImageW(ThisModule(), MAKEINTRESOURCEW(kBitmapHeader),
                                                     IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    ASSERT_NE(bitmap, nullptr);
    DIBSECTION section{};
    ASSERT_EQ(GetObjectW(bitmap, sizeof section, &section), static_cast<int>(sizeof section));
    EXPECT_EQ(section.dsBm.bmWidth, 49);
    EXPECT_EQ(section.dsBm.bmHeight, 49);
    EXPECT_EQ(section.dsBmih.biBitCount, 24);
    DeleteObject(bitmap);
}

std::string ResourceBytes(LPCWSTR type, ResourceId id) {
    HRSRC resource = FindResourceW(ThisModule(), MAKEINTRESOURCEW(id), type);
    if (resource == nullptr) {
        return {};
    }
    const auto* bytes =
        static_cast<const char*>(LockResource(LoadResource(ThisModule(), resource)));
    return std::string(bytes, SizeofResource(ThisModule(), resource));
}

TEST(Win32Resources, ManifestRequestsAdministratorAndCommonControls6) {
    const std::string manifest = ResourceBytes(RT_MANIFEST, 1);
    ASSERT_FALSE(manifest.empty());
    for (const char* part :
         {"level=\"requireAdministrator\" uiAccess=\"false\"",
          "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"",
          "publicKeyToken=\"6595b64144ccf1df\"", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",
          "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}"}) {
        EXPECT_NE(manifest.find(part), std::string::npos) << part;
    }
}

TEST(Win32Resources, VersionInformationIs100InBothLanguages) {
    const std::string version = ResourceBytes(RT_VERSION, 1);
    ASSERT_FALSE(version.empty());
    const std::string signature("\xBD\x04\xEF\xFE", 4);
    const std::size_t fixed = version.find(signature);
    ASSERT_NE(fixed, std::string::npos);
    VS_FIXEDFILEINFO info{};
    ASSERT_LE(fixed + sizeof info, version.size());
    std::memcpy(&info, version.data() + fixed, sizeof info);
    EXPECT_EQ(info.dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(info.dwFileVersionLS, 0u);
    EXPECT_EQ(info.dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(info.dwFileType, static_cast<DWORD>(VFT_APP));
    // The string blocks and the translation list name German and English,
    // each with code page 1200.
    auto wide = [](std::u16string_view text) {
        return std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2);
    };
    EXPECT_NE(version.find(wide(u"040704B0")), std::string::npos);
    EXPECT_NE(version.find(wide(u"040904B0")), std::string::npos);
    EXPECT_NE(version.find(wide(u"Netzwerkeinstellungen")), std::string::npos);
    const std::string translations("\x07\x04\xB0\x04\x09\x04\xB0\x04", 8);
    EXPECT_NE(version.find(translations), std::string::npos);
}

} // namespace
} // namespace corvane::ui
