// The dialog description, and the resource files generated from it.
#include "artwork.h"
#include "resource_scripts.h"
#include "ui/dialog_ids.h"
#include "ui/dialog_templates.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace corvane::ui {
namespace {

using rcgen::GeneratedFile;

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream stream(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
}

// ---- The committed files are exactly what the generator writes --------------

TEST(GeneratedResources, CommittedFilesMatchTheGenerator) {
    const std::filesystem::path folder = CORVANE_RESOURCE_DIR;
    for (const GeneratedFile& file : rcgen::GenerateResourceFiles()) {
        SCOPED_TRACE(file.name);
        const std::filesystem::path path = folder / file.name;
        ASSERT_TRUE(std::filesystem::exists(path)) << "run rcgen --output src/ui/resources";
        const std::string committed = ReadFile(path);
        const auto mismatch =
            std::mismatch(committed.begin(), committed.end(), file.bytes.begin(), file.bytes.end());
        EXPECT_TRUE(committed == file.bytes)
            << "differs from the generator from byte "
            << std::distance(committed.begin(), mismatch.first) << " (committed "
            << committed.size() << " bytes, generated " << file.bytes.size()
            << "); run rcgen --output src/ui/resources";
    }
}

TEST(GeneratedResources, FolderHoldsNoStaleGeneratedFiles) {
    std::set<std::string> generated;
    for (const GeneratedFile& file : rcgen::GenerateResourceFiles()) {
        generated.insert(file.name);
    }
    std::set<std::string> present;
    for (const auto& entry : std::filesystem::directory_iterator(CORVANE_RESOURCE_DIR)) {
        if (entry.path().filename() != "CMakeLists.txt") {
            present.insert(entry.path().filename().string());
        }
    }
    EXPECT_EQ(present, generated);
}

// ---- The description --------------------------------------------------------

constexpr platform::LanguageId kLanguages[] = {kLanguageGerman, kLanguageEnglish};

const DialogTemplate& Dialog(ResourceId id, platform::LanguageId language) {
    const DialogTemplate* dialog = FindDialogTemplate(id, language);
    if (dialog == nullptr) {
        ADD_FAILURE() << "no template " << id << " for language " << language;
        static const DialogTemplate kEmpty{};
        return kEmpty;
    }
    return *dialog;
}

std::vector<ItemId> Ids(const DialogTemplate& dialog) {
    std::vector<ItemId> ids;
    for (const DialogItem& item : dialog.items) {
        ids.push_back(item.id);
    }
    return ids;
}

TEST(DialogDescription, EveryTemplateExistsOnceInEachLanguage) {
    for (const ResourceId id : {kDialogMain, kDialogAuthentication, kDialogProgress}) {
        for (const platform::LanguageId language : kLanguages) {
            const auto count = std::count_if(
                DialogTemplates().begin(), DialogTemplates().end(),
                [&](const DialogTemplate& t) { return t.id == id && t.language == language; });
            EXPECT_EQ(count, 1) << id << " / " << language;
        }
    }
    EXPECT_EQ(FindDialogTemplate(103, kLanguageEnglish), nullptr);
    EXPECT_EQ(FindDialogTemplate(kDialogMain, 0x0C07), nullptr); // German (Austria): no own copy
}

// Template order is the tab order (the computer name first, then OK and
// Cancel), and the order in which the dialog manager creates the items.
TEST(DialogDescription, TemplateOrderOfEveryDialog) {
    namespace m = main_dialog;
    namespace a = auth_dialog;
    constexpr ItemId u = kItemUnaddressed;
    struct Case {
        ResourceId dialog;
        std::vector<ItemId> ids;
    };
    const Case cases[] = {
        // Top to bottom, each label directly before the control it names.
        {kDialogMain,
         {m::kHeaderBand,
          u,
          u,
          m::kHeaderText,
          m::kAdapterHeading,
          u,
          m::kAdapterList,
          m::kAddressAutomatic,
          m::kAddressFixed,
          u,
          m::kIpAddressLabel,
          m::kIpAddress,
          m::kSubnetMaskLabel,
          m::kSubnetMask,
          m::kDefaultGatewayLabel,
          m::kDefaultGateway,
          m::kComputerNameHeading,
          u,
          m::kComputerName,
          m::kOrganizationUnitHeading,
          u,
          m::kOrganizationUnitList,
          m::kMembershipHeading,
          u,
          m::kMemberOfDomain,
          m::kDomain,
          m::kCredentials,
          m::kMemberOfWorkgroup,
          m::kWorkgroup,
          m::kStartWithWindows,
          kItemCancel,
          kItemOk}},
        {kDialogAuthentication,
         {kItemOk, kItemCancel, u, a::kAccount, u, a::kPassword, u, u, a::kDomainBrowser,
          a::kDomain, a::kErrorText}},
        {kDialogProgress, {u, progress_dialog::kBar}},
    };
    for (const Case& c : cases) {
        for (const platform::LanguageId language : kLanguages) {
            EXPECT_EQ(Ids(Dialog(c.dialog, language)), c.ids) << c.dialog << " / " << language;
        }
    }
}

// Apart from texts, the languages differ only in a few rectangles and
// extended styles; classes, styles and order are shared.
TEST(DialogDescription, LanguagesShareEverythingButTextsAndSomeRectangles) {
    for (const ResourceId id : {kDialogMain, kDialogAuthentication, kDialogProgress}) {
        const DialogTemplate& german = Dialog(id, kLanguageGerman);
        const DialogTemplate& english = Dialog(id, kLanguageEnglish);
        EXPECT_EQ(german.style, english.style) << id;
        EXPECT_EQ(german.font.face, english.font.face) << id;
        ASSERT_EQ(german.items.size(), english.items.size()) << id;
        for (std::size_t i = 0; i < german.items.size(); ++i) {
            SCOPED_TRACE(testing::Message() << id << " item " << i);
            EXPECT_EQ(german.items[i].id, english.items[i].id);
            EXPECT_EQ(german.items[i].windowClass, english.items[i].windowClass);
            EXPECT_EQ(german.items[i].style, english.items[i].style);
            EXPECT_EQ(german.items[i].image, english.items[i].image);
        }
    }
    // The main dialog moves exactly four rectangles between the languages.
    const DialogTemplate& german = Dialog(kDialogMain, kLanguageGerman);
    const DialogTemplate& english = Dialog(kDialogMain, kLanguageEnglish);
    std::vector<std::size_t> moved;
    for (std::size_t i = 0; i < german.items.size() && i < english.items.size(); ++i) {
        if (!(german.items[i].rect == english.items[i].rect)) {
            moved.push_back(i);
        }
    }
    // 1006, 1034, 1032 and the rule beside 1032.
    EXPECT_EQ(moved, (std::vector<std::size_t>{3, 21, 22, 23}));
}

TEST(DialogDescription, RectanglesThatDifferByLanguage) {
    struct Case {
        ResourceId dialog;
        std::size_t index;
        DialogUnits german;
        DialogUnits english;
    };
    const Case cases[] = {
        {kDialogMain, 3, {7, 4, 205, 27}, {7, 5, 205, 25}},        // 1006 header text
        {kDialogMain, 21, {14, 181, 218, 52}, {14, 181, 218, 66}}, // 1034 list
        {kDialogMain, 22, {7, 197, 97, 8}, {7, 197, 87, 8}},       // 1032 heading
        {kDialogMain, 23, {105, 202, 142, 1}, {100, 202, 147, 1}}, // its rule
        {kDialogAuthentication, 0, {153, 131, 50, 14}, {153, 132, 50, 14}},
        {kDialogAuthentication, 1, {97, 131, 50, 14}, {97, 132, 50, 14}},
        {kDialogAuthentication, 2, {7, 78, 40, 8}, {7, 78, 49, 8}},
        {kDialogAuthentication, 4, {7, 94, 33, 8}, {7, 94, 34, 8}},
        {kDialogAuthentication, 6, {7, 7, 196, 49}, {7, 7, 196, 43}},
        {kDialogAuthentication, 7, {7, 64, 30, 8}, {7, 64, 27, 8}},
        {kDialogAuthentication, 10, {7, 109, 196, 19}, {7, 108, 196, 20}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.dialog << " item " << c.index);
        const DialogTemplate& german = Dialog(c.dialog, kLanguageGerman);
        const DialogTemplate& english = Dialog(c.dialog, kLanguageEnglish);
        ASSERT_LT(c.index, german.items.size());
        ASSERT_LT(c.index, english.items.size());
        EXPECT_TRUE(german.items[c.index].rect == c.german);
        EXPECT_TRUE(english.items[c.index].rect == c.english);
    }
    // Dialog sizes: only the authentication dialog grows in English.
    EXPECT_TRUE((Dialog(kDialogMain, kLanguageGerman).rect == DialogUnits{0, 0, 254, 287}));
    EXPECT_TRUE(
        (Dialog(kDialogAuthentication, kLanguageGerman).rect == DialogUnits{0, 0, 210, 152}));
    EXPECT_TRUE(
        (Dialog(kDialogAuthentication, kLanguageEnglish).rect == DialogUnits{0, 0, 210, 153}));
    EXPECT_TRUE((Dialog(kDialogProgress, kLanguageEnglish).rect == DialogUnits{0, 0, 246, 53}));
}

TEST(DialogDescription, TextsOfBothLanguages) {
    struct Case {
        ResourceId dialog;
        ItemId item; // 0: the caption
        std::u16string_view german;
        std::u16string_view english;
    };
    namespace m = main_dialog;
    const Case cases[] = {
        {kDialogMain, 0, u"Netzwerk Einstellungen", u"Network settings"},
        {kDialogMain, kItemOk, u"&OK", u"&OK"},
        {kDialogMain, kItemCancel, u"&Abbrechen", u"Cancel"},
        {kDialogMain, m::kHeaderText,
         u"Um die Installation von Windows XP abzuschlie\u00dfen, bitte entsprechende Daten "
         u"eingeben.",
         u"To complete the Windows XP installation you have to enter some network specific "
         u"settings"},
        {kDialogMain, m::kIpAddressLabel, u"&IP-Adresse:", u"&IP address:"},
        {kDialogMain, m::kSubnetMaskLabel, u"&Subnet-Maske:", u"&Subnet mask:"},
        {kDialogMain, m::kDefaultGatewayLabel, u"Standard&gateway:", u"Default &gateway:"},
        {kDialogMain, m::kAdapterHeading, u"Ada&pter", u"Ada&pter"},
        {kDialogMain, m::kComputerNameHeading, u"&Computername", u"&Computer name"},
        {kDialogMain, m::kMemberOfDomain, u"Dom\u00e4ne", u"Domain"},
        {kDialogMain, m::kMemberOfWorkgroup, u"Arbeitsgruppe", u"Workgroup"},
        {kDialogMain, m::kAddressAutomatic, u"IP-Adresse a&utomatisch beziehen",
         u"Auto&matic IP Address"},
        {kDialogMain, m::kAddressFixed, u"&Folgende IP-Adresse verwenden",
         u"&Use following IP address"},
        {kDialogMain, m::kStartWithWindows, u"Automatisch mit Windows starten",
         u"Start automatically with Windows"},
        {kDialogMain, m::kMembershipHeading, u"Arbeitsgruppe/Dom\u00e4ne", u"Workgroup/Domain"},
        {kDialogMain, m::kOrganizationUnitHeading, u"Organisationseinheit", u"Organization Unit"},
        {kDialogMain, m::kComputerName, u"", u""},
        {kDialogMain, m::kCredentials, u"", u""},
        {kDialogAuthentication, 0, u"Authentifizierung", u"Authentification"},
        {kDialogAuthentication, kItemCancel, u"&Abbrechen", u"&Cancel"},
        {kDialogAuthentication, auth_dialog::kDomainBrowser, u"...", u"..."},
        {kDialogAuthentication, auth_dialog::kErrorText, u"", u""},
        {kDialogProgress, 0, u"\u00dcbernehmen der \u00c4nderungen...", u"Saving changes..."},
        {kDialogProgress, kItemUnaddressed,
         u"Es kann einige Zeit in Anspruch nehmen bis alle Einstellungen \u00fcbernommen worden "
         u"sind, vor allem wenn Dom\u00e4nenspezifische Einstellungen ge\u00e4ndert wurden.",
         u"It could take come time until all changes are applied, especially if domain specifiec "
         u"settings were changed."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.dialog << " item " << c.item);
        for (const platform::LanguageId language : kLanguages) {
            const DialogTemplate& dialog = Dialog(c.dialog, language);
            const std::u16string_view expected = language == kLanguageGerman ? c.german : c.english;
            if (c.item == 0) {
                EXPECT_TRUE(dialog.caption == expected) << language;
                continue;
            }
            const DialogItem* item = dialog.FindItem(c.item);
            ASSERT_NE(item, nullptr) << language;
            EXPECT_TRUE(item->text == expected) << language;
        }
    }
}

// The labels of the authentication dialog, found by position since they
// share -1; the explanation ends with the two example accounts.
TEST(DialogDescription, AuthenticationLabelsAndExplanation) {
    struct Case {
        platform::LanguageId language;
        std::u16string_view account;
        std::u16string_view password;
        std::u16string_view domain;
        std::u16string_view explanationStart;
        std::u16string_view exampleLine;
    };
    const Case cases[] = {
        {kLanguageGerman, u"Kontoname:", u"Passwort:", u"Dom\u00e4ne:",
         u"Konto und Passwort eines Dom\u00e4nen-Administrators. Dies wird ben\u00f6tigt wenn "
         u"\u00c4nderungen im Active Directory vorgenommen oder bestimmte Informationen ermittelt "
         u"werden sollen.",
         u"\r\n\r\nBeispiel: \"DC\\user\" oder \"user@example.com\""},
        {kLanguageEnglish, u"Account name:", u"Password:", u"Domain:",
         u"Account and Password of a Domain Administrator which will be required if changed are "
         u"made to Active Directory or certain information is retrieved.",
         u"\r\n\r\nExample: \"DC\\user\" or \"user@example.com\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.language);
        const DialogTemplate& dialog = Dialog(kDialogAuthentication, c.language);
        ASSERT_EQ(dialog.items.size(), 11u);
        EXPECT_TRUE(dialog.items[2].text == c.account);
        EXPECT_TRUE(dialog.items[4].text == c.password);
        EXPECT_TRUE(dialog.items[7].text == c.domain);
        const std::u16string expected =
            std::u16string(c.explanationStart) + std::u16string(c.exampleLine);
        EXPECT_TRUE(dialog.items[6].text == expected);
    }
}

bool Has(std::uint32_t style, std::uint32_t bits) {
    return (style & bits) == bits;
}

TEST(DialogDescription, OnlyTheStartWithWindowsBoxIsHidden) {
    for (const DialogTemplate& dialog : DialogTemplates()) {
        for (const DialogItem& item : dialog.items) {
            SCOPED_TRACE(testing::Message()
                         << dialog.id << "/" << dialog.language << " " << item.id);
            EXPECT_TRUE(Has(item.style, kWsChild));
            const bool hidden =
                dialog.id == kDialogMain && item.id == main_dialog::kStartWithWindows;
            EXPECT_EQ(item.IsVisible(), !hidden);
        }
    }
}

TEST(DialogDescription, MainDialogGroupsAndTabStops) {
    namespace m = main_dialog;
    const std::set<ItemId> groupStarts = {m::kHeaderBand,        m::kHeaderText,
                                          m::kAdapterHeading,    m::kComputerNameHeading,
                                          m::kMembershipHeading, m::kOrganizationUnitHeading,
                                          m::kMemberOfDomain,    m::kAddressAutomatic};
    for (const platform::LanguageId language : kLanguages) {
        for (const DialogItem& item : Dialog(kDialogMain, language).items) {
            SCOPED_TRACE(testing::Message() << language << " " << item.id);
            const std::uint32_t type = item.style & 0x000F;
            const bool button = item.windowClass == kClassButton;
            const bool groupBox = button && type == kBsGroupBox;
            EXPECT_EQ(Has(item.style, kWsGroup), groupStarts.count(item.id) == 1 || groupBox);
            const bool field = item.windowClass == kClassEdit ||
                               item.windowClass == kClassComboBox ||
                               item.windowClass == kClassIpAddress;
            const bool pressable =
                button &&
                (type == kBsPushButton || type == kBsDefPushButton || type == kBsAutoCheckBox) &&
                !groupBox;
            EXPECT_EQ(Has(item.style, kWsTabStop), field || pressable);
        }
    }
}

// Every mnemonic of the main dialog is its own letter in each language, so
// that no Alt+letter can reach two controls (and none can press Cancel in
// place of a label's control).
TEST(DialogDescription, MainDialogMnemonicsAreUnique) {
    struct Case {
        platform::LanguageId language;
        std::u16string_view letters;
    };
    const Case cases[] = {{kLanguageGerman, u"pufisgcao"}, {kLanguageEnglish, u"pmuisgco"}};
    for (const Case& c : cases) {
        std::u16string letters;
        for (const DialogItem& item : Dialog(kDialogMain, c.language).items) {
            const std::size_t amp = item.text.find(u'&');
            if (amp != std::u16string_view::npos && amp + 1 < item.text.size()) {
                const char16_t letter = item.text[amp + 1];
                letters.push_back(
                    letter >= u'A' && letter <= u'Z' ? static_cast<char16_t>(letter + 32) : letter);
            }
        }
        EXPECT_TRUE(letters == c.letters) << c.language;
    }
}

// The radio buttons of a group are those from a WS_GROUP item up to the next.
TEST(DialogDescription, MainDialogRadioGroups) {
    namespace m = main_dialog;
    const DialogTemplate& dialog = Dialog(kDialogMain, kLanguageEnglish);
    std::vector<std::vector<ItemId>> groups;
    for (const DialogItem& item : dialog.items) {
        if (Has(item.style, kWsGroup) || groups.empty()) {
            groups.emplace_back();
        }
        if (item.windowClass == kClassButton && (item.style & 0x000F) == kBsAutoRadioButton) {
            groups.back().push_back(item.id);
        }
    }
    std::vector<std::vector<ItemId>> radioGroups;
    std::copy_if(groups.begin(), groups.end(), std::back_inserter(radioGroups),
                 [](const std::vector<ItemId>& group) { return !group.empty(); });
    EXPECT_EQ(radioGroups,
              (std::vector<std::vector<ItemId>>{{m::kAddressAutomatic, m::kAddressFixed},
                                                {m::kMemberOfDomain, m::kMemberOfWorkgroup}}));
}

TEST(DialogDescription, StylesTheDialogsRelyOn) {
    namespace m = main_dialog;
    struct Case {
        ResourceId dialog;
        ItemId item;
        std::uint32_t style;
        std::uint32_t germanExStyle;
        std::uint32_t englishExStyle;
    };
    const Case cases[] = {
        {kDialogMain, kItemOk, kWsChild | kWsVisible | kWsTabStop | kBsDefPushButton, 0, 0},
        {kDialogMain, m::kComputerName,
         kWsChild | kWsVisible | kWsBorder | kWsTabStop | kEsAutoHScroll, 0, 0},
        {kDialogMain, m::kHeaderBand, kWsChild | kWsVisible | kWsGroup | kSsLeftNoWordWrap, 0, 0},
        {kDialogMain, m::kHeaderText, kWsChild | kWsVisible | kWsGroup | kSsLeft, kWsExTransparent,
         kWsExTransparent},
        {kDialogMain, m::kIpAddressLabel, kWsChild | kWsVisible | kSsNotify, 0, 0},
        {kDialogMain, m::kIpAddress, kWsChild | kWsVisible | kWsTabStop, 0, 0},
        {kDialogMain, m::kAdapterList,
         kWsChild | kWsVisible | kWsVScroll | kWsTabStop | kCbsDropDownList | kCbsSort, 0, 0},
        {kDialogMain, m::kStartWithWindows, kWsChild | kWsTabStop | kBsAutoCheckBox, 0, 0},
        {kDialogMain, m::kCredentials, kWsChild | kWsVisible | kWsTabStop | kBsPushButton | kBsIcon,
         0, 0},
        {kDialogMain, m::kOrganizationUnitList,
         kWsChild | kWsVisible | kWsDisabled | kWsVScroll | kWsTabStop | kCbsDropDownList |
             kCbsSort | kCbsAutoHScroll,
         0, 0},
        {kDialogAuthentication, kItemOk,
         kWsChild | kWsVisible | kWsDisabled | kWsTabStop | kBsDefPushButton, 0, 0},
        {kDialogAuthentication, auth_dialog::kPassword,
         kWsChild | kWsVisible | kWsBorder | kWsTabStop | kEsAutoHScroll | kEsPassword, 0, 0},
        {kDialogAuthentication, auth_dialog::kDomain,
         kWsChild | kWsVisible | kWsBorder | kWsTabStop | kEsAutoHScroll | kEsReadOnly, 0, 0},
        {kDialogAuthentication, auth_dialog::kErrorText,
         kWsChild | kWsVisible | kWsVScroll | kWsTabStop | kEsMultiline | kEsAutoVScroll |
             kEsReadOnly,
         kWsExStaticEdge | kWsExTransparent, kWsExStaticEdge},
        {kDialogProgress, kItemUnaddressed, kWsChild | kWsVisible | kWsGroup | kSsLeft,
         kWsExStaticEdge, kWsExStaticEdge},
        {kDialogProgress, progress_dialog::kBar, kWsChild | kWsVisible | kSsOwnerDraw,
         kWsExClientEdge | kWsExTransparent, kWsExClientEdge | kWsExTransparent},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.dialog << " item " << c.item);
        for (const platform::LanguageId language : kLanguages) {
            const DialogItem* item = Dialog(c.dialog, language).FindItem(c.item);
            ASSERT_NE(item, nullptr);
            EXPECT_EQ(item->style, c.style) << language;
            EXPECT_EQ(item->exStyle,
                      language == kLanguageGerman ? c.germanExStyle : c.englishExStyle)
                << language;
        }
    }
    // The header picture is bitmap 104, named by ordinal in place of a text.
    const DialogItem& picture = Dialog(kDialogMain, kLanguageGerman).items[2];
    EXPECT_EQ(picture.style, kWsChild | kWsVisible | kSsBitmap);
    EXPECT_EQ(picture.image, kBitmapHeader);
}

TEST(DialogDescription, WindowStylesOfTheDialogs) {
    struct Case {
        ResourceId dialog;
        platform::LanguageId language;
        std::uint32_t style;
        std::uint32_t exStyle;
    };
    const Case cases[] = {
        {kDialogMain, kLanguageGerman, 0x80CA0848, kWsExAppWindow},
        {kDialogMain, kLanguageEnglish, 0x80CA0848, kWsExAppWindow},
        {kDialogAuthentication, kLanguageGerman, 0x80C808C8, kWsExTopmost},
        {kDialogAuthentication, kLanguageEnglish, 0x80C808C8, kWsExTopmost | kWsExTransparent},
        {kDialogProgress, kLanguageGerman, 0x80C80AC8, 0},
        {kDialogProgress, kLanguageEnglish, 0x80C80AC8, 0},
    };
    for (const Case& c : cases) {
        const DialogTemplate& dialog = Dialog(c.dialog, c.language);
        EXPECT_EQ(dialog.style, c.style) << c.dialog << " / " << c.language;
        EXPECT_EQ(dialog.exStyle, c.exStyle) << c.dialog << " / " << c.language;
        EXPECT_TRUE(dialog.font.face == u"MS Shell Dlg");
        EXPECT_EQ(dialog.font.pointSize, 8);
    }
    // The progress dialog has no buttons: Enter and Escape find nothing to press.
    for (const platform::LanguageId language : kLanguages) {
        for (const DialogItem& item : Dialog(kDialogProgress, language).items) {
            EXPECT_NE(item.windowClass, kClassButton);
        }
    }
}

TEST(DialogDescription, FindItem) {
    const DialogTemplate& dialog = Dialog(kDialogMain, kLanguageEnglish);
    const DialogItem* domain = dialog.FindItem(main_dialog::kDomain);
    ASSERT_NE(domain, nullptr);
    EXPECT_EQ(domain->windowClass, kClassEdit);
    EXPECT_TRUE((domain->rect == DialogUnits{14, 220, 199, 12}));
    // -1 is shared; the first such item is the rule under the header.
    const DialogItem* unaddressed = dialog.FindItem(kItemUnaddressed);
    ASSERT_NE(unaddressed, nullptr);
    EXPECT_EQ(unaddressed, &dialog.items[1]);
    EXPECT_EQ(dialog.FindItem(auth_dialog::kAccount), nullptr);
    EXPECT_EQ(Dialog(kDialogAuthentication, kLanguageGerman).FindItem(auth_dialog::kPassword),
              &Dialog(kDialogAuthentication, kLanguageGerman).items[5]);
}

// ---- The script writers --------------------------------------------------------

TEST(ResourceScriptWriter, ControlStyleExpressions) {
    struct Case {
        std::u16string_view windowClass;
        std::uint32_t style;
        std::string_view expected;
    };
    const Case cases[] = {
        {kClassButton, 0x50010001, "WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON"},
        {u"Button", 0x50010000, "WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON"},
        // CONTROL adds WS_VISIBLE unless told not to.
        {kClassButton, 0x40010003, "WS_CHILD | WS_TABSTOP | BS_AUTOCHECKBOX | NOT WS_VISIBLE"},
        {kClassButton, 0x00000000, "BS_PUSHBUTTON | NOT WS_VISIBLE | NOT WS_CHILD"},
        {kClassButton, 0x50010040, "WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON | BS_ICON"},
        // BS_3STATE has no name here: its value is kept in hexadecimal.
        {kClassButton, 0x50000005, "WS_CHILD | WS_VISIBLE | 0x0005"},
        {kClassStatic, 0x5000000E, "WS_CHILD | WS_VISIBLE | SS_BITMAP"},
        {kClassStatic, 0x50000110, "WS_CHILD | WS_VISIBLE | SS_ETCHEDHORZ | SS_NOTIFY"},
        {kClassEdit, 0x50200844,
         "WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_LEFT | ES_MULTILINE | ES_AUTOVSCROLL | "
         "ES_READONLY"},
        // ES_RIGHT is not in the table.
        {kClassEdit, 0x50800002, "WS_CHILD | WS_VISIBLE | WS_BORDER | 0x0002"},
        {kClassComboBox, 0x58210143,
         "WS_CHILD | WS_VISIBLE | WS_DISABLED | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWNLIST | "
         "CBS_AUTOHSCROLL | CBS_SORT"},
        // A class without a table keeps its own bits in hexadecimal.
        {kClassIpAddress, 0x50010004, "WS_CHILD | WS_VISIBLE | WS_TABSTOP | 0x0004"},
        {kClassStatic, 0x54000000, "WS_CHILD | WS_VISIBLE | SS_LEFT | 0x04000000"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(rcgen::ControlStyleExpression(c.windowClass, c.style), c.expected)
            << std::hex << c.style;
    }
}

TEST(ResourceScriptWriter, DialogAndExtendedStyleExpressions) {
    EXPECT_EQ(rcgen::DialogStyleExpression(0x80C80AC8),
              "WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_SETFONT | DS_FIXEDSYS | DS_MODALFRAME | "
              "DS_SETFOREGROUND | DS_CENTER");
    // Top-level windows name the shared bits as the minimise and maximise boxes.
    EXPECT_EQ(rcgen::DialogStyleExpression(0x00830004),
              "WS_BORDER | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | 0x0004");
    EXPECT_EQ(rcgen::DialogStyleExpression(0), "0");
    EXPECT_EQ(rcgen::ExStyleExpression(0), "0");
    EXPECT_EQ(rcgen::ExStyleExpression(0x00020220),
              "WS_EX_TRANSPARENT | WS_EX_CLIENTEDGE | WS_EX_STATICEDGE");
    EXPECT_EQ(rcgen::ExStyleExpression(0x00080008), "WS_EX_TOPMOST | 0x00080000");
}

TEST(ResourceScriptWriter, QuotedTexts) {
    struct Case {
        std::u16string_view text;
        std::string_view expected;
    };
    const Case cases[] = {
        {u"", "\"\""},
        {u"&OK", "\"&OK\""},
        {u"say \"DC\\user\"", "\"say \"\"DC\\\\user\"\"\""},
        {u"a\r\nb\tc", "\"a\\r\\nb\\tc\""},
        {u"\u0001\u007f", "\"\\001\\177\""},
        {u"\u00c4nderung \u00df", "\"\xc3\x84nderung \xc3\x9f\""},
        {u"\u2026", "\"\xe2\x80\xa6\""},
        {u"\U0001F5A7", "\"\xf0\x9f\x96\xa7\""},
        // An unpaired surrogate cannot be written as UTF-8.
        {std::u16string_view(u"x\xd800y", 3), "\"x\xef\xbf\xbdy\""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(rcgen::QuoteText(c.text), c.expected);
    }
}

TEST(ResourceScriptWriter, DialogStatement) {
    static constexpr DialogItem kItems[] = {
        {7, kClassEdit, u"", 0, {1, 2, 30, 12}, kWsChild | kWsVisible | kWsTabStop, 0},
        {kItemUnaddressed,
         kClassStatic,
         u"",
         104,
         {-2, 0, 49, 49},
         kWsChild | kSsBitmap,
         kWsExTransparent},
        {8, kClassStatic, u"Zur\u00fcck \"x\"", 0, {3, 4, 5, 6}, kWsChild | kWsVisible, 0},
    };
    const DialogTemplate dialog{42,
                                kLanguageGerman,
                                u"Titel",
                                {0, 0, 100, 50},
                                kWsPopup | kWsCaption | kDsSetFont,
                                0x08,
                                {u"MS Shell Dlg", 8, 400, true, 1},
                                kItems};
    EXPECT_EQ(
        rcgen::DialogStatement(dialog),
        "42 DIALOGEX 0, 0, 100, 50\n"
        "STYLE WS_POPUP | WS_CAPTION | DS_SETFONT\n"
        "EXSTYLE WS_EX_TOPMOST\n"
        "CAPTION \"Titel\"\n"
        "FONT 8, \"MS Shell Dlg\", 400, 1, 0x1\n"
        "BEGIN\n"
        "    CONTROL \"\", 7, \"EDIT\", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_LEFT, 1, 2, 30, "
        "12\n"
        "    CONTROL 104, -1, \"STATIC\", WS_CHILD | SS_BITMAP | NOT WS_VISIBLE, -2, 0, 49, 49, "
        "WS_EX_TRANSPARENT\n"
        "    CONTROL \"Zur\xc3\xbc"
        "ck \"\"x\"\"\", 8, \"STATIC\", WS_CHILD | WS_VISIBLE | "
        "SS_LEFT, 3, 4, 5, 6\n"
        "END\n");
}

TEST(ResourceScriptWriter, StringTableOfBothLanguages) {
    const std::string script = rcgen::StringScript();
    const std::size_t german = script.find("LANGUAGE 0x07, 0x01");
    const std::size_t english = script.find("LANGUAGE 0x09, 0x01");
    ASSERT_NE(german, std::string::npos);
    ASSERT_NE(english, std::string::npos);
    EXPECT_NE(script.find("#pragma code_page(65001)"), std::string::npos);
    for (const StringResource& entry : StringResources()) {
        const std::string line =
            "    " + std::to_string(entry.id) + " " + rcgen::QuoteText(entry.text) + "\n";
        const std::size_t at = script.find(line);
        ASSERT_NE(at, std::string::npos) << entry.id;
        // Each string stands in its own language's table.
        EXPECT_EQ(at > english, entry.language == kLanguageEnglish) << entry.id;
        EXPECT_GT(at, std::min(german, english));
    }
}

// ---- The pictures ------------------------------------------------------------------

std::uint32_t Le(const std::string& bytes, std::size_t offset, int size) {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) {
        value = (value << 8) |
                static_cast<unsigned char>(bytes.at(offset + static_cast<std::size_t>(i)));
    }
    return value;
}

TEST(ResourceArtwork, IconDirectories) {
    struct Image {
        std::uint32_t size;
        std::uint32_t bits;
    };
    struct Case {
        std::string name;
        std::string bytes;
        std::vector<Image> images;
    };
    const Case cases[] = {
        {"computer.ico", rcgen::ApplicationIconFile(), {{32, 8}, {16, 8}, {32, 32}, {16, 32}}},
        {"credentials.ico", rcgen::CredentialsIconFile(), {{16, 8}, {16, 32}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string& ico = c.bytes;
        ASSERT_GE(ico.size(), 6u);
        EXPECT_EQ(Le(ico, 0, 2), 0u);
        EXPECT_EQ(Le(ico, 2, 2), 1u);
        ASSERT_EQ(Le(ico, 4, 2), c.images.size());
        std::size_t expectedOffset = 6 + 16 * c.images.size();
        for (std::size_t i = 0; i < c.images.size(); ++i) {
            const std::size_t entry = 6 + 16 * i;
            const Image& image = c.images[i];
            EXPECT_EQ(Le(ico, entry, 1), image.size);
            EXPECT_EQ(Le(ico, entry + 1, 1), image.size);
            EXPECT_EQ(Le(ico, entry + 4, 2), 1u);
            EXPECT_EQ(Le(ico, entry + 6, 2), image.bits);
            const std::uint32_t bytes = Le(ico, entry + 8, 4);
            const std::uint32_t offset = Le(ico, entry + 12, 4);
            EXPECT_EQ(offset, expectedOffset);
            // Header, palette, colour rows, mask rows (rows padded to 4 bytes).
            const std::uint32_t colourRow = (image.size * image.bits + 31) / 32 * 4;
            const std::uint32_t maskRow = (image.size + 31) / 32 * 4;
            EXPECT_EQ(bytes,
                      40 + (image.bits == 8 ? 1024u : 0u) + (colourRow + maskRow) * image.size);
            ASSERT_LE(std::size_t{offset} + bytes, ico.size());
            EXPECT_EQ(Le(ico, offset, 4), 40u);
            EXPECT_EQ(Le(ico, offset + 4, 4), image.size);
            EXPECT_EQ(Le(ico, offset + 8, 4), 2 * image.size);
            EXPECT_EQ(Le(ico, offset + 14, 2), image.bits);
            expectedOffset = std::size_t{offset} + bytes;
        }
        EXPECT_EQ(expectedOffset, ico.size());
    }
}

// The mask hides exactly the transparent pixels, and in the 8-bit image those
// pixels are black, so that AND then XOR leaves the screen as it was.
TEST(ResourceArtwork, IconMaskMatchesAlpha) {
    const rcgen::Image image = rcgen::DrawApplicationIcon(16);
    std::size_t transparent = 0;
    for (const int bits : {8, 32}) {
        const std::string ico = rcgen::EncodeIcon({{image, bits}});
        const std::size_t start = Le(ico, 6 + 12, 4) + 40 + (bits == 8 ? 1024 : 0);
        const std::size_t colourRow = static_cast<std::size_t>(16 * bits / 8);
        const std::size_t maskStart = start + colourRow * 16;
        transparent = 0;
        for (int y = 0; y < 16; ++y) {
            const std::size_t row = static_cast<std::size_t>(15 - y); // bottom-up
            for (int x = 0; x < 16; ++x) {
                const auto column = static_cast<std::size_t>(x);
                const bool masked =
                    (static_cast<unsigned char>(ico.at(maskStart + row * 4 + column / 8)) &
                     (0x80u >> (column % 8))) != 0;
                EXPECT_EQ(masked, image.At(x, y).a < 128) << x << "," << y;
                if (masked && bits == 8) {
                    EXPECT_EQ(ico.at(start + row * colourRow + column), '\0');
                }
                if (masked) {
                    ++transparent;
                }
            }
        }
    }
    // The picture does not fill its square: there is a transparent margin.
    EXPECT_GT(transparent, 0u);
    EXPECT_EQ(image.At(0, 0).a, 0);
}

TEST(ResourceArtwork, HeaderBitmapIs49By49At24Bits) {
    const std::string bmp = rcgen::HeaderBitmapFile();
    const std::uint32_t rowBytes = 148; // 49 * 3 padded to 4
    ASSERT_EQ(bmp.size(), 14 + 40 + rowBytes * 49);
    EXPECT_EQ(bmp.substr(0, 2), "BM");
    EXPECT_EQ(Le(bmp, 2, 4), bmp.size());
    EXPECT_EQ(Le(bmp, 10, 4), 54u);
    EXPECT_EQ(Le(bmp, 14, 4), 40u);
    EXPECT_EQ(Le(bmp, 18, 4), 49u);
    EXPECT_EQ(Le(bmp, 22, 4), 49u); // positive: bottom-up rows
    EXPECT_EQ(Le(bmp, 28, 2), 24u);
    EXPECT_EQ(Le(bmp, 30, 4), 0u); // BI_RGB
    // It sits on the white header band: opaque, with white corners.
    const rcgen::Image picture = rcgen::DrawHeaderPicture();
    for (const rcgen::Rgba& pixel : picture.pixels) {
        ASSERT_EQ(pixel.a, 255);
    }
    EXPECT_TRUE((picture.At(0, 0) == rcgen::Rgba{255, 255, 255, 255}));
    // The first stored row is the picture's bottom row.
    EXPECT_EQ(static_cast<unsigned char>(bmp[54]), picture.At(0, 48).b);
}

} // namespace
} // namespace corvane::ui
