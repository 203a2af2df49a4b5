// Where each key of the section "settings" comes from on this machine. A
// fleet's settings file may carry sections for single machines
// ("[machine ID]") and an inventory beside it ("corvane.csv"); for every
// key the first of these that gives it wins:
//   1. the file's first "[machine ID]" section that names this machine
//      (a key present there overrides, also with an empty value),
//   2. the inventory's first row that names this machine (a non-empty cell),
//   3. the section "settings".
// A malformed inventory refuses the whole file: every key of "settings"
// then reads as missing, so that nothing is changed on its account.
#pragma once

#include "model/setup_state.h"
#include "platform/platform.h"
#include "support/fixed_text.h"
#include "ui/machine_inventory.h"

#include <cstdint>
#include <string>

namespace corvane {

class MachineSettings {
public:
    // Finds this machine's section and row and logs which apply.
    MachineSettings(platform::Platform& os, SetupState& state, const std::u16string& file);

    // Reads `key` into `text` from the first place that gives it, cut at the
    // text's capacity - 1; `defaultValue` when none does.
    template <std::size_t Capacity>
    void Read(const char16_t* key, const char16_t* defaultValue, FixedText<Capacity>& text) {
        ReadInto(key, defaultValue, text.data(), static_cast<std::uint32_t>(Capacity));
        text.Terminate();
    }

private:
    void ReadInto(const char16_t* key, const char16_t* defaultValue, char16_t* buffer,
                  std::uint32_t capacity);

    platform::Platform& os_;
    const std::u16string& file_;
    bool refused_ = false;
    std::u16string section_;     // empty: no section for this machine
    std::u16string sectionKeys_; // its key names, each terminated
    MachineInventory inventory_;
};

} // namespace corvane
