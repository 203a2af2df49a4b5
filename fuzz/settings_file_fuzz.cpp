// The settings file end to end: any file bytes beside the executable read
// into the setup state and the dialog's texts. Every value stays within its
// capacity, and the one value each input picks is what the platform's
// profile reading gives for its key, cut to the value's capacity; the
// account is normalised or, when its joined form does not fit, kept as
// read; the texts default to the interface language's.
#include "fuzz_input.h"
#include "platform/sim/world.h"
#include "support/interface_language.h"
#include "ui/account_name.h"
#include "ui/settings_file.h"
#include "ui/string_resources.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

using namespace corvane;
using corvane::fuzz::FuzzInput;

namespace {

constexpr const char16_t* kModule = u"C:\\Tools\\corvane.exe";
constexpr const char16_t* kFile = u"C:\\Tools\\corvane.ini";

// The value as the platform reads it with room to spare, cut at capacity - 1.
std::u16string Expected(sim::World& world, std::size_t fileBytes, const char16_t* section,
                        const char16_t* key, const std::u16string& fallback, std::size_t capacity) {
    // Room for any value of the file or the default, and more than the
    // capacity.
    std::vector<char16_t> buffer(std::max(fileBytes, fallback.size()) + capacity + 2, u'\0');
    const std::uint32_t copied =
        world.profile().GetString(section, key, fallback.c_str(), buffer.data(),
                                  static_cast<std::uint32_t>(buffer.size()), kFile);
    std::u16string value(buffer.data(), copied);
    value.resize(std::min(value.size(), value.find(u'\0')));
    value.resize(std::min(value.size(), capacity - 1));
    return value;
}

// A default text as a run without a forced language shows it.
std::u16string Localized(sim::World& world, std::uint32_t id) {
    const SetupState state;
    std::u16string text;
    LoadInterfaceString(world.platform(), state, id, text);
    return text;
}

// The settings file's name for any executable's name in C:\Tools.
void CheckPath(sim::World& world, std::u16string name) {
    for (char16_t& c : name) {
        if (c == u'\0' || c == u'\\' || c == u'/') {
            c = u'_';
        }
    }
    if (name.empty()) {
        return;
    }
    world.SetModulePath(u"C:\\Tools\\" + name);
    // The name as the platform spells the module's path (trailing points
    // and blanks dropped, as Windows does).
    const std::u16string module = world.ModulePath();
    const std::u16string path = SettingsFilePath(world.platform());
    world.RemoveFile(module);
    world.SetModulePath(kModule);
    if (path.empty()) {
        return; // a module path the platform cannot give back
    }
    const std::size_t folderEnd = module.rfind(u'\\') + 1;
    const std::u16string folder = module.substr(0, folderEnd);
    const std::u16string file = module.substr(folderEnd);
    const std::size_t point = file.rfind(u'.');
    const std::u16string base = point == std::u16string::npos ? file : file.substr(0, point);
    FUZZ_ASSERT(path == folder + base + u".ini");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static sim::World world;
    FuzzInput input(data, size);
    if ((input.Byte() & 7) == 0) {
        CheckPath(world, input.Wide(40));
    }
    const std::uint8_t key = input.Byte();
    const std::string file = input.RestNarrow();
    world.PutFile(kFile, std::vector<std::uint8_t>(file.begin(), file.end()));

    SetupState state;
    SettingsFileTexts texts;
    ReadSettingsFile(world.platform(), state, texts);

    // One key per input against the platform's own reading (each reading
    // parses the whole file again).
    static const std::u16string title = Localized(world, ui::kStringDefaultTitle);
    static const std::u16string header = Localized(world, ui::kStringDefaultHeader);
    const std::size_t bytes = file.size();
    switch (key % 8) {
    case 0:
        FUZZ_ASSERT(state.Password.view() ==
                    Expected(world, bytes, u"settings", u"password", u"", PasswordText::kCapacity));
        break;
    case 1: {
        const std::u16string account =
            Expected(world, bytes, u"settings", u"account", u"", AccountText::kCapacity);
        const std::u16string joined = NormalizedAccountName(account);
        FUZZ_ASSERT(state.Account.view() ==
                    (joined.size() < AccountText::kCapacity ? joined : account));
        break;
    }
    case 2:
        FUZZ_ASSERT(texts.title.view() == Expected(world, bytes, u"general", u"title", title,
                                                   decltype(texts.title)::kCapacity));
        break;
    case 3:
        FUZZ_ASSERT(texts.header.view() == Expected(world, bytes, u"general", u"header", header,
                                                    decltype(texts.header)::kCapacity));
        break;
    case 4:
        FUZZ_ASSERT(state.DesiredComputerName.view() == Expected(world, bytes, u"settings",
                                                                 u"computer", u"",
                                                                 ComputerNameText::kCapacity));
        break;
    case 5:
        FUZZ_ASSERT(state.DesiredWorkgroup.view() == Expected(world, bytes, u"settings",
                                                              u"workgroup", u"",
                                                              WorkgroupText::kCapacity));
        break;
    case 6:
        FUZZ_ASSERT(state.DesiredDomain.view() ==
                    Expected(world, bytes, u"settings", u"domain", u"", DomainText::kCapacity));
        break;
    default: {
        // Only 0 and 1 choose an address mode; any other text leaves the
        // adapters as they are.
        const std::u16string mode = Expected(world, bytes, u"settings", u"dhcp", u"", 16);
        const std::size_t first = mode.find_first_not_of(u" \t");
        const std::size_t last = mode.find_last_not_of(u" \t");
        const std::u16string trimmed =
            first == std::u16string::npos ? u"" : mode.substr(first, last - first + 1);
        const std::int32_t expected = trimmed == u"1" ? 1 : trimmed == u"0" ? 0 : -1;
        FUZZ_ASSERT(texts.dhcp == expected);
        break;
    }
    }
    // The capacities of the table, terminators included.
    FUZZ_ASSERT(state.DesiredComputerName.size() <= 15 && state.DesiredWorkgroup.size() <= 15);
    FUZZ_ASSERT(state.DesiredDomain.size() <= 128 && state.Account.size() <= 127 &&
                state.Password.size() <= 127 && texts.title.size() <= 127 &&
                texts.header.size() <= 255);
    world.ClearJournal();
    return 0;
}
