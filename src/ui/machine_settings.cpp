#include "ui/machine_settings.h"

#include "support/ascii_case.h"
#include "ui/machine_sections.h"

#include <algorithm>

namespace corvane {

namespace {

constexpr const char* kOperation = "ReadSettingsFile";
constexpr const char16_t* kSectionSettings = u"settings";
constexpr std::int32_t kInvalidData = 13; // ERROR_INVALID_DATA
constexpr std::int32_t kMoreData = 234;   // ERROR_MORE_DATA

// The key names of a section, as the platform lists them.
std::vector<std::u16string> ReadKeyNames(platform::Platform& os, const std::u16string& section,
                                         const std::u16string& file) {
    // One section's keys: a short list, but grown like any other.
    for (std::uint32_t capacity = 1024; capacity <= (1U << 20); capacity *= 2) {
        std::vector<char16_t> buffer(capacity, u'\0');
        const std::uint32_t length = os.profile.GetString(section.c_str(), nullptr, u"",
                                                          buffer.data(), capacity, file.c_str());
        if (length + 2 >= capacity) {
            continue;
        }
        std::vector<std::u16string> keys;
        std::size_t at = 0;
        while (at < length) {
            const std::size_t end = BoundedLength(buffer.data() + at, length - at);
            keys.emplace_back(buffer.data() + at, end);
            at += end + 1;
        }
        return keys;
    }
    return {};
}

void CopyCut(std::u16string_view text, char16_t* buffer, std::uint32_t capacity) {
    CopyTruncated(buffer, capacity, text);
}

} // namespace

MachineSettings::MachineSettings(platform::Platform& os, SetupState& state,
                                 const std::u16string& file)
    : os_(os), file_(file) {
    std::vector<std::u16string> names;
    if (!ReadSectionNames(os, file, names)) {
        refused_ = true;
        state.Log.Log(LogLevel::Error, kMoreData,
                      u"%S: Section names of the settings file cannot all be read; no setting "
                      u"of the settings file applies",
                      kOperation);
        return;
    }
    const bool hasMachineSections =
        std::any_of(names.begin(), names.end(),
                    [](const std::u16string& name) { return MachineSectionId(name).has_value(); });
    const std::u16string inventoryPath = InventoryPath(file);
    const bool hasInventory = os.files.PathFileExists(inventoryPath.c_str());
    if (!hasMachineSections && !hasInventory) {
        return; // a file for every machine alike
    }
    const MachineIdentity machine = ReadMachineIdentity(os);

    if (hasInventory) {
        inventory_ = ReadMachineInventory(os, inventoryPath, machine);
    }
    if (inventory_.outcome == MachineInventory::Outcome::Malformed) {
        refused_ = true;
        state.Log.Log(LogLevel::Error, kInvalidData,
                      u"%S: Inventory \"%s\" refused at line %u: %s; no setting of the settings "
                      u"file applies",
                      kOperation, inventory_.path, inventory_.faultLine, inventory_.fault);
        return;
    }

    section_ = FindMachineSection(names, machine);
    if (section_) {
        sectionKeys_ = ReadKeyNames(os, *section_, file);
        state.Log.Log(LogLevel::Info, 0, u"%S: Section [%s] applies to this computer", kOperation,
                      *section_);
    }
    if (inventory_.outcome == MachineInventory::Outcome::Row) {
        state.Log.Log(LogLevel::Info, 0, u"%S: Inventory \"%s\" line %u applies to this computer",
                      kOperation, inventory_.path, inventory_.line);
    }
}

bool MachineSettings::SectionHasKey(std::u16string_view key) const {
    return std::any_of(sectionKeys_.begin(), sectionKeys_.end(), [&](const std::u16string& name) {
        return EqualsIgnoringAsciiCase(name, key);
    });
}

void MachineSettings::ReadInto(const char16_t* key, const char16_t* defaultValue, char16_t* buffer,
                               std::uint32_t capacity) {
    if (refused_) {
        CopyCut(defaultValue, buffer, capacity);
        return;
    }
    if (section_ && SectionHasKey(key)) {
        os_.profile.GetString(section_->c_str(), key, defaultValue, buffer, capacity,
                              file_.c_str());
        return;
    }
    if (const std::u16string* value = inventory_.Find(key)) {
        CopyCut(*value, buffer, capacity);
        return;
    }
    os_.profile.GetString(kSectionSettings, key, defaultValue, buffer, capacity, file_.c_str());
}

} // namespace corvane
