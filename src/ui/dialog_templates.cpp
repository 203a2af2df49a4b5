#include "ui/dialog_templates.h"

#include <array>
#include <concepts>
#include <cstddef>

namespace corvane::ui {

namespace {

// Both languages of a template are written side by side, one row per item,
// so that the German and English templates cannot drift apart in anything
// but what is meant to differ (texts, a few rectangles, extended styles).
template <typename Value>
struct PerLanguage {
    Value german{};
    Value english{};

    // Implicit, so that a row can give one value for both languages.
    template <typename Both>
    requires std::convertible_to<Both, Value>
    constexpr PerLanguage(Both both) : german(both), english(both) {}
    template <typename German, typename English>
    constexpr PerLanguage(German germanValue, English englishValue)
        : german(germanValue), english(englishValue) {}

    constexpr Value For(bool isGerman) const { return isGerman ? german : english; }
};

using Texts = PerLanguage<std::u16string_view>;
using Rects = PerLanguage<DialogUnits>;
using ExStyles = PerLanguage<std::uint32_t>;

struct Row {
    ItemId id;
    std::u16string_view windowClass;
    Texts text;
    Rects rect;
    std::uint32_t style;
    ExStyles exStyle = ExStyles(0u);
    ResourceId image = 0;
};

template <std::size_t Count>
constexpr std::array<DialogItem, Count> ForLanguage(const std::array<Row, Count>& rows,
                                                    bool isGerman) {
    std::array<DialogItem, Count> items{};
    for (std::size_t i = 0; i < Count; ++i) {
        const Row& row = rows[i];
        items[i] = DialogItem{row.id,
                              row.windowClass,
                              row.text.For(isGerman),
                              row.image,
                              row.rect.For(isGerman),
                              row.style,
                              row.exStyle.For(isGerman)};
    }
    return items;
}

constexpr platform::LanguageId kGerman = kLanguageGerman;
constexpr platform::LanguageId kEnglish = kLanguageEnglish;

// Every dialog uses the shell dialog font: "MS Shell Dlg" with DS_FIXEDSYS
// maps to the system's current dialog face on every Windows version.
constexpr DialogFont kShellFont{u"MS Shell Dlg", 8, 400, false, 1};

constexpr std::uint32_t kChild = kWsChild | kWsVisible;
constexpr std::uint32_t kEditField = kChild | kWsBorder | kWsTabStop | kEsAutoHScroll;
constexpr std::uint32_t kHeading = kChild | kWsGroup | kSsLeft;
constexpr std::uint32_t kRule = kChild | kSsEtchedHorz;
constexpr std::uint32_t kLabel = kChild | kSsLeft;
constexpr std::uint32_t kAddressLabel = kChild | kSsLeft | kSsNotify;
constexpr std::uint32_t kPushButton = kChild | kWsTabStop | kBsPushButton;
constexpr std::uint32_t kDefaultButton = kChild | kWsTabStop | kBsDefPushButton;
constexpr std::uint32_t kShellFontStyle = kDsSetFont | kDsFixedSys;

// ---- 101: main settings dialog ---------------------------------------------

namespace m = main_dialog;

// Top to bottom, each label directly before the control it names: the tab
// order then runs down the dialog and a label's mnemonic moves the focus to
// its own control. English Cancel has no mnemonic, so that Alt+C reaches the
// computer name; Escape cancels all the same.
constexpr std::array<Row, 32> kMainRows{{
    {m::kHeaderBand, kClassStatic, u"", DialogUnits{-2, 0, 255, 33},
     kChild | kWsGroup | kSsLeftNoWordWrap},
    {kItemUnaddressed, kClassStatic, u"", DialogUnits{-2, 33, 255, 1}, kRule},
    {kItemUnaddressed, kClassStatic, u"", DialogUnits{214, 1, 33, 30}, kChild | kSsBitmap, 0u,
     kBitmapHeader},
    {m::kHeaderText, kClassStatic,
     Texts(u"Um die Installation von Windows XP abzuschlie\u00dfen, bitte entsprechende Daten "
           u"eingeben.",
           u"To complete the Windows XP installation you have to enter some network specific "
           u"settings"),
     Rects(DialogUnits{7, 4, 205, 27}, DialogUnits{7, 5, 205, 25}), kHeading, kWsExTransparent},
    {m::kAdapterHeading, kClassStatic, u"Ada&pter", DialogUnits{7, 39, 35, 10}, kHeading},
    {kItemUnaddressed, kClassStatic, u"", DialogUnits{41, 43, 206, 1}, kRule},
    {m::kAdapterList, kClassComboBox, u"", DialogUnits{14, 49, 218, 46},
     kChild | kWsVScroll | kWsTabStop | kCbsDropDownList | kCbsSort},
    {m::kAddressAutomatic, kClassButton,
     Texts(u"IP-Adresse a&utomatisch beziehen", u"Auto&matic IP Address"),
     DialogUnits{14, 64, 218, 12}, kChild | kWsGroup | kBsAutoRadioButton},
    {m::kAddressFixed, kClassButton,
     Texts(u"&Folgende IP-Adresse verwenden", u"&Use following IP address"),
     DialogUnits{14, 78, 120, 12}, kChild | kBsAutoRadioButton},
    {kItemUnaddressed, kClassButton, u"", DialogUnits{7, 79, 240, 59},
     kChild | kWsGroup | kBsGroupBox},
    {m::kIpAddressLabel, kClassStatic, Texts(u"&IP-Adresse:", u"&IP address:"),
     DialogUnits{14, 94, 54, 8}, kAddressLabel},
    {m::kIpAddress, kClassIpAddress, u"", DialogUnits{148, 92, 84, 12}, kChild | kWsTabStop},
    {m::kSubnetMaskLabel, kClassStatic, Texts(u"&Subnet-Maske:", u"&Subnet mask:"),
     DialogUnits{14, 109, 54, 8}, kAddressLabel},
    {m::kSubnetMask, kClassIpAddress, u"", DialogUnits{148, 107, 84, 12}, kChild | kWsTabStop},
    {m::kDefaultGatewayLabel, kClassStatic, Texts(u"Standard&gateway:", u"Default &gateway:"),
     DialogUnits{14, 124, 68, 8}, kAddressLabel},
    {m::kDefaultGateway, kClassIpAddress, u"", DialogUnits{148, 121, 84, 12}, kChild | kWsTabStop},
    {m::kComputerNameHeading, kClassStatic, Texts(u"&Computername", u"&Computer name"),
     DialogUnits{7, 142, 62, 10}, kHeading},
    {kItemUnaddressed, kClassStatic, u"", DialogUnits{69, 146, 178, 1}, kRule},
    {m::kComputerName, kClassEdit, u"", DialogUnits{14, 155, 218, 12}, kEditField},
    {m::kOrganizationUnitHeading, kClassStatic,
     Texts(u"Organisationseinheit", u"Organization Unit"), DialogUnits{8, 170, 85, 10}, kHeading},
    {kItemUnaddressed, kClassStatic, u"", DialogUnits{92, 174, 155, 1}, kRule},
    {m::kOrganizationUnitList, kClassComboBox, u"",
     Rects(DialogUnits{14, 181, 218, 52}, DialogUnits{14, 181, 218, 66}),
     kChild | kWsDisabled | kWsVScroll | kWsTabStop | kCbsDropDownList | kCbsSort |
         kCbsAutoHScroll},
    {m::kMembershipHeading, kClassStatic, Texts(u"Arbeitsgruppe/Dom\u00e4ne", u"Workgroup/Domain"),
     Rects(DialogUnits{7, 197, 97, 8}, DialogUnits{7, 197, 87, 8}), kHeading},
    {kItemUnaddressed, kClassStatic, u"",
     Rects(DialogUnits{105, 202, 142, 1}, DialogUnits{100, 202, 147, 1}), kRule},
    {m::kMemberOfDomain, kClassButton, Texts(u"Dom\u00e4ne", u"Domain"),
     DialogUnits{14, 209, 218, 10}, kChild | kWsGroup | kBsAutoRadioButton},
    {m::kDomain, kClassEdit, u"", DialogUnits{14, 220, 199, 12}, kEditField},
    {m::kCredentials, kClassButton, u"", DialogUnits{217, 219, 15, 14}, kPushButton | kBsIcon},
    {m::kMemberOfWorkgroup, kClassButton, Texts(u"Arbeitsgruppe", u"Workgroup"),
     DialogUnits{14, 235, 218, 10}, kChild | kBsAutoRadioButton},
    {m::kWorkgroup, kClassEdit, u"", DialogUnits{14, 247, 218, 12}, kEditField},
    // Never shown: the template leaves out WS_VISIBLE, so the choice found at
    // start is the choice kept.
    {m::kStartWithWindows, kClassButton,
     Texts(u"Automatisch mit Windows starten", u"Start automatically with Windows"),
     DialogUnits{7, 269, 124, 11}, kWsChild | kWsTabStop | kBsAutoCheckBox},
    {kItemCancel, kClassButton, Texts(u"&Abbrechen", u"Cancel"), DialogUnits{143, 266, 50, 14},
     kPushButton},
    {kItemOk, kClassButton, u"&OK", DialogUnits{197, 266, 50, 14}, kDefaultButton},
}};

constexpr std::uint32_t kMainStyle =
    kWsPopup | kWsCaption | kWsSysMenu | kWsMinimizeBox | kDsCenter | kShellFontStyle;

// ---- 105: authentication dialog --------------------------------------------

namespace a = auth_dialog;

constexpr std::array<Row, 11> kAuthenticationRows{{
    {kItemOk, kClassButton, u"&OK",
     Rects(DialogUnits{153, 131, 50, 14}, DialogUnits{153, 132, 50, 14}),
     kDefaultButton | kWsDisabled},
    {kItemCancel, kClassButton, Texts(u"&Abbrechen", u"&Cancel"),
     Rects(DialogUnits{97, 131, 50, 14}, DialogUnits{97, 132, 50, 14}), kPushButton},
    {kItemUnaddressed, kClassStatic, Texts(u"Kontoname:", u"Account name:"),
     Rects(DialogUnits{7, 78, 40, 8}, DialogUnits{7, 78, 49, 8}), kLabel},
    {a::kAccount, kClassEdit, u"", DialogUnits{62, 76, 141, 12}, kEditField},
    {kItemUnaddressed, kClassStatic, Texts(u"Passwort:", u"Password:"),
     Rects(DialogUnits{7, 94, 33, 8}, DialogUnits{7, 94, 34, 8}), kLabel},
    {a::kPassword, kClassEdit, u"", DialogUnits{62, 92, 141, 12}, kEditField | kEsPassword},
    {kItemUnaddressed, kClassStatic,
     Texts(u"Konto und Passwort eines Dom\u00e4nen-Administrators. Dies wird ben\u00f6tigt wenn "
           u"\u00c4nderungen im Active Directory vorgenommen oder bestimmte Informationen "
           u"ermittelt werden sollen.\r\n\r\nBeispiel: \"DC\\user\" oder \"user@example.com\"",
           u"Account and Password of a Domain Administrator which will be required if changed "
           u"are made to Active Directory or certain information is retrieved.\r\n\r\n"
           u"Example: \"DC\\user\" or \"user@example.com\""),
     Rects(DialogUnits{7, 7, 196, 49}, DialogUnits{7, 7, 196, 43}), kLabel},
    {kItemUnaddressed, kClassStatic, Texts(u"Dom\u00e4ne:", u"Domain:"),
     Rects(DialogUnits{7, 64, 30, 8}, DialogUnits{7, 64, 27, 8}), kLabel},
    {a::kDomainBrowser, kClassButton, u"...", DialogUnits{187, 60, 16, 14}, kPushButton},
    {a::kDomain, kClassEdit, u"", DialogUnits{62, 61, 123, 12}, kEditField | kEsReadOnly},
    {a::kErrorText, kClassEdit, u"",
     Rects(DialogUnits{7, 109, 196, 19}, DialogUnits{7, 108, 196, 20}),
     kChild | kWsVScroll | kWsTabStop | kEsMultiline | kEsAutoVScroll | kEsReadOnly,
     ExStyles(kWsExStaticEdge | kWsExTransparent, kWsExStaticEdge)},
}};

constexpr std::uint32_t kAuthenticationStyle =
    kWsPopup | kWsCaption | kWsSysMenu | kDsModalFrame | kDsCenter | kShellFontStyle;

// ---- 106: progress dialog ---------------------------------------------------

constexpr std::array<Row, 2> kProgressRows{{
    {kItemUnaddressed, kClassStatic,
     Texts(u"Es kann einige Zeit in Anspruch nehmen bis alle Einstellungen \u00fcbernommen worden "
           u"sind, vor allem wenn Dom\u00e4nenspezifische Einstellungen ge\u00e4ndert wurden.",
           u"It could take come time until all changes are applied, especially if domain "
           u"specifiec settings were changed."),
     DialogUnits{7, 7, 232, 26}, kChild | kWsGroup | kSsLeft, kWsExStaticEdge},
    {progress_dialog::kBar, kClassStatic, u"", DialogUnits{7, 35, 232, 11}, kChild | kSsOwnerDraw,
     kWsExClientEdge | kWsExTransparent},
}};

constexpr std::uint32_t kProgressStyle = kWsPopup | kWsCaption | kWsSysMenu | kDsModalFrame |
                                         kDsCenter | kDsSetForeground | kShellFontStyle;
static_assert(kProgressStyle == 0x80C80AC8);

constexpr auto kMainGerman = ForLanguage(kMainRows, true);
constexpr auto kMainEnglish = ForLanguage(kMainRows, false);
constexpr auto kAuthenticationGerman = ForLanguage(kAuthenticationRows, true);
constexpr auto kAuthenticationEnglish = ForLanguage(kAuthenticationRows, false);
constexpr auto kProgressGerman = ForLanguage(kProgressRows, true);
constexpr auto kProgressEnglish = ForLanguage(kProgressRows, false);

constexpr DialogTemplate kTemplates[] = {
    {kDialogMain, kGerman, u"Netzwerk Einstellungen", DialogUnits{0, 0, 254, 287}, kMainStyle,
     kWsExAppWindow, kShellFont, kMainGerman},
    {kDialogMain, kEnglish, u"Network settings", DialogUnits{0, 0, 254, 287}, kMainStyle,
     kWsExAppWindow, kShellFont, kMainEnglish},
    {kDialogAuthentication, kGerman, u"Authentifizierung", DialogUnits{0, 0, 210, 152},
     kAuthenticationStyle, kWsExTopmost, kShellFont, kAuthenticationGerman},
    {kDialogAuthentication, kEnglish, u"Authentification", DialogUnits{0, 0, 210, 153},
     kAuthenticationStyle, kWsExTopmost | kWsExTransparent, kShellFont, kAuthenticationEnglish},
    {kDialogProgress, kGerman, u"\u00dcbernehmen der \u00c4nderungen...",
     DialogUnits{0, 0, 246, 53}, kProgressStyle, 0, kShellFont, kProgressGerman},
    {kDialogProgress, kEnglish, u"Saving changes...", DialogUnits{0, 0, 246, 53}, kProgressStyle, 0,
     kShellFont, kProgressEnglish},
};

} // namespace

const DialogItem* DialogTemplate::FindItem(ItemId itemId) const {
    for (const DialogItem& item : items) {
        if (item.id == itemId) {
            return &item;
        }
    }
    return nullptr;
}

std::span<const DialogTemplate> DialogTemplates() {
    return kTemplates;
}

const DialogTemplate* FindDialogTemplate(ResourceId id, platform::LanguageId language) {
    for (const DialogTemplate& dialog : kTemplates) {
        if (dialog.id == id && dialog.language == language) {
            return &dialog;
        }
    }
    return nullptr;
}

} // namespace corvane::ui
