// The fleet's inventory beside the settings file: "corvane.csv", a header
// row that names the settings keys, then one row per machine. The column
// "machine" holds what names the machine (a hardware address or a computer
// name, as in a "[machine ID]" section); every other column is a key of
// the section "settings". A cell left empty gives no value.
#pragma once

#include "platform/platform.h"
#include "ui/machine_sections.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

struct MachineInventory {
    enum class Outcome {
        NoFile,    // no inventory: the settings file alone applies
        NoRow,     // no row for this machine
        Row,       // `cells` holds this machine's row
        Malformed, // the file is refused: `faultLine`, `fault`
    };
    Outcome outcome = Outcome::NoFile;
    std::u16string path;
    std::uint32_t line = 0; // the row's line
    std::uint32_t faultLine = 0;
    std::u16string fault;
    std::vector<std::u16string> keys;  // the header's names, as written
    std::vector<std::u16string> cells; // the row, each cell without surrounding blanks

    MachineInventory() = default;
    MachineInventory(const MachineInventory&) = delete;
    MachineInventory& operator=(const MachineInventory&) = delete;
    MachineInventory(MachineInventory&&) = default;
    MachineInventory& operator=(MachineInventory&&) = default;
    // A row may hold a password: wiped when the inventory is let go.
    ~MachineInventory();

    // The row's cell for `key` (any case) when it is not empty.
    const std::u16string* Find(std::u16string_view key) const;
};

// "corvane.csv" in the settings file's folder.
std::u16string InventoryPath(std::u16string_view settingsFile);

// This machine's row of the inventory text (the file's bytes: UTF-16LE or
// UTF-8, each with its byte-order mark, or UTF-8 without one). The first
// row naming the machine wins. A malformed text, a header without the
// column "machine", an empty, unknown or repeated column name, or a row
// whose number of cells differs from the header's, refuses the whole file.
MachineInventory FindInventoryRow(const std::vector<std::uint8_t>& bytes,
                                  const MachineIdentity& machine);

// Reads the inventory at `path`, which exists. A file that cannot be read is
// refused, like a malformed one.
MachineInventory ReadMachineInventory(platform::Platform& os, const std::u16string& path,
                                      const MachineIdentity& machine);

} // namespace corvane
