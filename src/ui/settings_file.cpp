#include "ui/settings_file.h"

#include "apply/name_servers.h"
#include "support/interface_language.h"
#include "ui/account_name.h"
#include "ui/machine_settings.h"
#include "ui/string_resources.h"

#include <string_view>
#include <vector>

namespace corvane {

namespace {

// MAX_PATH plus the terminator: what the module file name fits in Windows'
// classic path limit.
constexpr std::uint32_t kModulePathCapacity = 261;
// The longest path Windows accepts with the "\\?\" prefix, plus the
// terminator.
constexpr std::uint32_t kLongestModulePathCapacity = 32768;

constexpr std::u16string_view kSettingsExtension = u".ini";
constexpr const char16_t* kSectionGeneral = u"general";

// The executable's full path. A path beyond MAX_PATH is cut by the first
// call (which then returns the whole buffer size), so it is asked once more
// with room for the longest path Windows allows.
std::u16string ModulePath(platform::Platform& os) {
    for (const std::uint32_t capacity : {kModulePathCapacity, kLongestModulePathCapacity}) {
        std::vector<char16_t> buffer(capacity, u'\0');
        const std::uint32_t length = os.files.GetModuleFileName(buffer.data(), capacity);
        if (length == 0) {
            return {};
        }
        if (length < capacity) {
            return std::u16string(buffer.data(), BoundedLength(buffer.data(), buffer.size()));
        }
    }
    return {};
}

// Reads one text key into a fixed buffer; the platform cuts at capacity - 1.
template <std::size_t Capacity>
void ReadText(platform::Platform& os, const char16_t* section, const char16_t* key,
              const char16_t* defaultValue, FixedText<Capacity>& text, const std::u16string& file) {
    os.profile.GetString(section, key, defaultValue, text.data(),
                         static_cast<std::uint32_t>(Capacity), file.c_str());
    text.Terminate();
}

// The defaults of the title and the header come from the resources alone,
// in the interface language.
std::u16string InterfaceDefault(platform::Platform& os, const SetupState& state, std::uint32_t id) {
    std::u16string text;
    LoadInterfaceString(os, state, id, text);
    return text;
}

// The code of the refusal line: ERROR_INVALID_DATA.
constexpr std::int32_t kInvalidData = 13;

// "dhcp" as the address mode of every adapter: 1 automatic, 0 fixed, -1 (a
// missing or empty key, or -1 itself) leaves each adapter as it is. Any
// other text would read as some number and switch or release every adapter
// for no reason: it is refused, logged, and taken as missing.
std::int32_t ReadAddressMode(SetupState& state, MachineSettings& settings) {
    FixedText<16> value;
    settings.Read(u"dhcp", u"", value);
    std::u16string_view text = value.view();
    while (!text.empty() && (text.front() == u' ' || text.front() == u'\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == u' ' || text.back() == u'\t')) {
        text.remove_suffix(1);
    }
    if (text == u"1") {
        return 1;
    }
    if (text == u"0") {
        return 0;
    }
    if (!text.empty() && text != u"-1") {
        state.Log.Log(LogLevel::Warning, kInvalidData,
                      u"%S: Settings file value dhcp=\"%s\" is neither 0 nor 1 and is ignored",
                      "ReadSettingsFile", value);
    }
    return -1;
}

// "dns": the DNS servers of every adapter that ends the run fixed. A value
// that fills the buffer may have been cut, and a cut list could name another
// server: it is refused like any list that is not one.
NameServerList ReadNameServers(SetupState& state, MachineSettings& settings) {
    FixedText<256> value;
    settings.Read(u"dns", u"", value);
    NameServerList list;
    if (value.size() < value.kCapacity - 1 && ParseNameServerList(value.view(), list)) {
        return list;
    }
    state.Log.Log(LogLevel::Warning, kInvalidData,
                  u"%S: Settings file value dns=\"%s\" is not a list of up to three IPv4 "
                  u"addresses and is ignored",
                  "ReadSettingsFile", value);
    list.refused = true;
    return list;
}

} // namespace

std::u16string SettingsFilePath(platform::Platform& os) {
    std::u16string path = ModulePath(os);
    if (path.empty()) {
        return {};
    }
    // Only a point in the file name starts an extension; a point in a folder
    // name ("C:\My.Tools\corvane") does not.
    const std::size_t nameStart = path.find_last_of(u"\\/");
    const std::size_t point = path.rfind(u'.');
    if (point != std::u16string::npos && (nameStart == std::u16string::npos || point > nameStart)) {
        path.resize(point);
    }
    path += kSettingsExtension;
    return path;
}

void ReadSettingsFile(platform::Platform& os, SetupState& state, SettingsFileTexts& texts) {
    const std::u16string file = SettingsFilePath(os);
    if (file.empty()) {
        // Without the executable's path there is no file to read: every key
        // takes its default.
        state.Password.Clear();
        state.Account.Clear();
        texts.title.Assign(InterfaceDefault(os, state, ui::kStringDefaultTitle));
        texts.header.Assign(InterfaceDefault(os, state, ui::kStringDefaultHeader));
        state.DesiredComputerName.Clear();
        state.DesiredWorkgroup.Clear();
        state.DesiredDomain.Clear();
        texts.dhcp = -1;
        texts.organizationUnit.Clear();
        state.DesiredNameServers = {};
        return;
    }

    MachineSettings settings(os, state, file);
    settings.Read(u"password", u"", state.Password);
    settings.Read(u"account", u"", state.Account);
    NormalizeAccountName(state.Account);

    const std::u16string title = InterfaceDefault(os, state, ui::kStringDefaultTitle);
    ReadText(os, kSectionGeneral, u"title", title.c_str(), texts.title, file);
    const std::u16string header = InterfaceDefault(os, state, ui::kStringDefaultHeader);
    ReadText(os, kSectionGeneral, u"header", header.c_str(), texts.header, file);

    settings.Read(u"computer", u"", state.DesiredComputerName);
    settings.Read(u"workgroup", u"", state.DesiredWorkgroup);
    settings.Read(u"domain", u"", state.DesiredDomain);

    texts.dhcp = ReadAddressMode(state, settings);
    settings.Read(u"ou", u"", texts.organizationUnit);
    state.DesiredNameServers = ReadNameServers(state, settings);
}

} // namespace corvane
