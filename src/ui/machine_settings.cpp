#include "ui/machine_settings.h"

#include "platform/ascii_text.h"
#include "ui/machine_sections.h"

namespace corvane {

namespace {

constexpr const char* kOperation = "ReadSettingsFile";
constexpr const char16_t* kSectionSettings = u"settings";
constexpr std::int32_t kInvalidData = 13; // ERROR_INVALID_DATA
constexpr std::int32_t kMoreData = 234;   // ERROR_MORE_DATA

} // namespace

MachineSettings::MachineSettings(platform::Platform& os, SetupState& state,
                                 const std::u16string& file)
    : os_(os), file_(file) {
    std::u16string names;
    if (!ReadNameList(os, nullptr, file, names)) {
        refused_ = true;
        state.Log.Log(LogLevel::Error, kMoreData,
                      u"%S: Section names of the settings file cannot all be read; no setting "
                      u"of the settings file applies",
                      kOperation);
        return;
    }
    const bool hasMachineSections = AnyListedName(
        names, [](std::u16string_view name) { return !MachineSectionId(name).empty(); });
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
    if (!section_.empty()) {
        ReadNameList(os, section_.c_str(), file, sectionKeys_);
        state.Log.Log(LogLevel::Info, 0, u"%S: Section [%s] applies to this computer", kOperation,
                      section_);
    }
    if (inventory_.outcome == MachineInventory::Outcome::Row) {
        state.Log.Log(LogLevel::Info, 0, u"%S: Inventory \"%s\" line %u applies to this computer",
                      kOperation, inventory_.path, inventory_.line);
    }
}

void MachineSettings::ReadInto(const char16_t* key, const char16_t* defaultValue, char16_t* buffer,
                               std::uint32_t capacity) {
    if (refused_) {
        CopyTruncated(buffer, capacity, std::u16string_view(defaultValue));
        return;
    }
    const std::u16string_view wanted(key);
    if (!section_.empty() && AnyListedName(sectionKeys_, [&](std::u16string_view name) {
            return EqualsIgnoringAsciiCase(name, wanted);
        })) {
        os_.profile.GetString(section_.c_str(), key, defaultValue, buffer, capacity, file_.c_str());
        return;
    }
    if (const std::u16string* value = inventory_.Find(wanted)) {
        CopyTruncated(buffer, capacity, std::u16string_view(*value));
        return;
    }
    os_.profile.GetString(kSectionSettings, key, defaultValue, buffer, capacity, file_.c_str());
}

} // namespace corvane
