// The dialog templates of both interface languages, described in C++: the
// one source from which the resource scripts are generated (tools/rcgen) and
// from which the portable dialog logic and the headless runner learn which
// items a dialog has and what they initially show.
//
// Every value is what ends up in the DIALOGEX resource: window styles with
// their Win32 bit values, rectangles in dialog units, texts as UTF-16.
#pragma once

#include "platform/types.h"
#include "ui/dialog_ids.h"

#include <cstdint>
#include <span>
#include <string_view>

namespace corvane::ui {

// Window styles (WS_*), as in winuser.h. WS_GROUP/WS_MINIMIZEBOX and
// WS_TABSTOP/WS_MAXIMIZEBOX share their bits: the first of each pair applies
// to controls, the second to top-level windows.
inline constexpr std::uint32_t kWsPopup = 0x80000000;
inline constexpr std::uint32_t kWsChild = 0x40000000;
inline constexpr std::uint32_t kWsVisible = 0x10000000;
inline constexpr std::uint32_t kWsDisabled = 0x08000000;
inline constexpr std::uint32_t kWsCaption = 0x00C00000;
inline constexpr std::uint32_t kWsBorder = 0x00800000;
inline constexpr std::uint32_t kWsDlgFrame = 0x00400000;
inline constexpr std::uint32_t kWsVScroll = 0x00200000;
inline constexpr std::uint32_t kWsHScroll = 0x00100000;
inline constexpr std::uint32_t kWsSysMenu = 0x00080000;
inline constexpr std::uint32_t kWsThickFrame = 0x00040000;
inline constexpr std::uint32_t kWsGroup = 0x00020000;
inline constexpr std::uint32_t kWsTabStop = 0x00010000;
inline constexpr std::uint32_t kWsMinimizeBox = 0x00020000;
inline constexpr std::uint32_t kWsMaximizeBox = 0x00010000;

// Extended window styles (WS_EX_*).
inline constexpr std::uint32_t kWsExDlgModalFrame = 0x00000001;
inline constexpr std::uint32_t kWsExNoParentNotify = 0x00000004;
inline constexpr std::uint32_t kWsExTopmost = 0x00000008;
inline constexpr std::uint32_t kWsExTransparent = 0x00000020;
inline constexpr std::uint32_t kWsExToolWindow = 0x00000080;
inline constexpr std::uint32_t kWsExWindowEdge = 0x00000100;
inline constexpr std::uint32_t kWsExClientEdge = 0x00000200;
inline constexpr std::uint32_t kWsExControlParent = 0x00010000;
inline constexpr std::uint32_t kWsExStaticEdge = 0x00020000;
inline constexpr std::uint32_t kWsExAppWindow = 0x00040000;

// Dialog styles (DS_*).
inline constexpr std::uint32_t kDsFixedSys = 0x0008;
inline constexpr std::uint32_t kDsSetFont = 0x0040;
inline constexpr std::uint32_t kDsModalFrame = 0x0080;
inline constexpr std::uint32_t kDsSetForeground = 0x0200;
inline constexpr std::uint32_t kDsCenter = 0x0800;

// Button styles (BS_*): a type in the low four bits, then flags.
inline constexpr std::uint32_t kBsTypeMask = 0x000F;
inline constexpr std::uint32_t kBsPushButton = 0x0000;
inline constexpr std::uint32_t kBsDefPushButton = 0x0001;
inline constexpr std::uint32_t kBsCheckBox = 0x0002;
inline constexpr std::uint32_t kBsAutoCheckBox = 0x0003;
inline constexpr std::uint32_t kBsRadioButton = 0x0004;
inline constexpr std::uint32_t kBsGroupBox = 0x0007;
inline constexpr std::uint32_t kBsAutoRadioButton = 0x0009;
inline constexpr std::uint32_t kBsOwnerDraw = 0x000B;
inline constexpr std::uint32_t kBsIcon = 0x0040;
inline constexpr std::uint32_t kBsBitmap = 0x0080;

// Static styles (SS_*): a type in the low five bits, then flags.
inline constexpr std::uint32_t kSsTypeMask = 0x001F;
inline constexpr std::uint32_t kSsLeft = 0x0000;
inline constexpr std::uint32_t kSsCenter = 0x0001;
inline constexpr std::uint32_t kSsRight = 0x0002;
inline constexpr std::uint32_t kSsIcon = 0x0003;
inline constexpr std::uint32_t kSsLeftNoWordWrap = 0x000C;
inline constexpr std::uint32_t kSsOwnerDraw = 0x000D;
inline constexpr std::uint32_t kSsBitmap = 0x000E;
inline constexpr std::uint32_t kSsEtchedHorz = 0x0010;
inline constexpr std::uint32_t kSsNoPrefix = 0x0080;
inline constexpr std::uint32_t kSsNotify = 0x0100;
inline constexpr std::uint32_t kSsCenterImage = 0x0200;

// Edit styles (ES_*).
inline constexpr std::uint32_t kEsLeft = 0x0000;
inline constexpr std::uint32_t kEsMultiline = 0x0004;
inline constexpr std::uint32_t kEsPassword = 0x0020;
inline constexpr std::uint32_t kEsAutoVScroll = 0x0040;
inline constexpr std::uint32_t kEsAutoHScroll = 0x0080;
inline constexpr std::uint32_t kEsReadOnly = 0x0800;

// Combo-box styles (CBS_*): a type in the low two bits, then flags.
inline constexpr std::uint32_t kCbsTypeMask = 0x0003;
inline constexpr std::uint32_t kCbsSimple = 0x0001;
inline constexpr std::uint32_t kCbsDropDown = 0x0002;
inline constexpr std::uint32_t kCbsDropDownList = 0x0003;
inline constexpr std::uint32_t kCbsAutoHScroll = 0x0040;
inline constexpr std::uint32_t kCbsSort = 0x0100;

// Window classes of the dialog items. The first five are the system's
// predefined classes; the IP address control comes from the common controls.
inline constexpr std::u16string_view kClassButton = u"BUTTON";
inline constexpr std::u16string_view kClassEdit = u"EDIT";
inline constexpr std::u16string_view kClassStatic = u"STATIC";
inline constexpr std::u16string_view kClassComboBox = u"COMBOBOX";
inline constexpr std::u16string_view kClassIpAddress = u"SysIPAddress32";

// A rectangle in dialog units: left, top, width, height.
struct DialogUnits {
    std::int16_t x = 0;
    std::int16_t y = 0;
    std::int16_t width = 0;
    std::int16_t height = 0;

    friend constexpr bool operator==(const DialogUnits&, const DialogUnits&) = default;
};

struct DialogItem {
    ItemId id = kItemUnaddressed;
    std::u16string_view windowClass;
    // The initial window text; empty for items without one.
    std::u16string_view text;
    // A resource ordinal in place of the text (the picture of an SS_BITMAP
    // static); 0 when the item has a text.
    ResourceId image = 0;
    DialogUnits rect;
    std::uint32_t style = 0;
    std::uint32_t exStyle = 0;

    bool IsVisible() const { return (style & kWsVisible) != 0; }
};

struct DialogFont {
    std::u16string_view face;
    std::uint16_t pointSize = 0;
    std::uint16_t weight = 0;
    bool italic = false;
    std::uint8_t charset = 0;
};

struct DialogTemplate {
    ResourceId id = 0;
    platform::LanguageId language = 0;
    std::u16string_view caption;
    // Position (0, 0: DS_CENTER places the window) and size.
    DialogUnits rect;
    std::uint32_t style = 0;
    std::uint32_t exStyle = 0;
    DialogFont font;
    // The items in template order, which is also the tab order.
    std::span<const DialogItem> items;

    // The first item with this id (labels and rules share -1), or null.
    const DialogItem* FindItem(ItemId itemId) const;
};

// Every template: 101, 105 and 106, each in German and English.
std::span<const DialogTemplate> DialogTemplates();

// One template in one language, or null when there is no such template.
const DialogTemplate* FindDialogTemplate(ResourceId id, platform::LanguageId language);

} // namespace corvane::ui
