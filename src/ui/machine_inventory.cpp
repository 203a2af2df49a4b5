#include "ui/machine_inventory.h"

#include "platform/ascii_text.h"
#include "support/trim_blanks.h"
#include "support/wipe_memory.h"
#include "ui/inventory_csv.h"

namespace corvane {

namespace {

constexpr std::u16string_view kInventoryName = u"corvane.csv";
constexpr std::u16string_view kMachineColumn = u"machine";
// The keys a column may name besides "machine".
constexpr std::u16string_view kInventoryKeys[] = {u"computer", u"workgroup", u"domain", u"account",
                                                  u"password", u"dhcp",      u"ou",     u"dns"};

bool IsInventoryKey(std::u16string_view name) {
    for (const std::u16string_view key : kInventoryKeys) {
        if (EqualsIgnoringAsciiCase(name, key)) {
            return true;
        }
    }
    return false;
}

void WipeText(std::u16string& text) {
    WipeMemory(text.data(), text.size() * sizeof(char16_t));
}

// The inventory's text: UTF-16LE after its mark, else strict UTF-8 (the
// shortest form only, no surrogates, nothing past U+10FFFF) after an
// optional mark. Returns the line of the first byte that is no UTF-8, or 0.
std::uint32_t DecodeInventory(const std::vector<std::uint8_t>& bytes, std::u16string& text) {
    const std::size_t size = bytes.size();
    if (size >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
        for (std::size_t i = 2; i + 1 < size; i += 2) {
            text.push_back(static_cast<char16_t>(bytes[i] | bytes[i + 1] << 8));
        }
        return 0;
    }
    std::uint32_t line = 1;
    std::size_t at = size >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF ? 3 : 0;
    while (at < size) {
        const std::uint32_t lead = bytes[at];
        const std::size_t more = lead < 0x80 ? 0 : lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : 1;
        std::uint32_t code = lead & (0x7FU >> more);
        bool bad = (lead >= 0x80 && lead < 0xC0) || lead >= 0xF8 || at + more >= size + (more == 0);
        for (std::size_t i = 1; !bad && i <= more; ++i) {
            bad = (bytes[at + i] & 0xC0) != 0x80;
            code = code << 6 | (bytes[at + i] & 0x3FU);
        }
        constexpr std::uint32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
        if (bad || code < kLeast[more] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
            return line;
        }
        if (code >= 0x10000) {
            text.push_back(static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10)));
            code = 0xDC00 + (code & 0x3FF);
        }
        text.push_back(static_cast<char16_t>(code));
        line += code == u'\n' ? 1 : 0;
        at += more + 1;
    }
    return 0;
}

void Refuse(MachineInventory& inventory, std::uint32_t line, std::u16string_view fault,
            std::u16string_view column = {}, std::u16string_view afterColumn = {}) {
    inventory.outcome = MachineInventory::Outcome::Malformed;
    inventory.faultLine = line;
    inventory.fault.assign(fault).append(column).append(afterColumn);
    inventory.keys.clear();
    inventory.cells.clear();
}

// Checks the header and finds the machine's row.
void SearchTable(const CsvTable& table, const MachineIdentity& machine,
                 MachineInventory& inventory) {
    if (table.fault != CsvFault::None) {
        return Refuse(inventory, table.faultLine, CsvFaultText(table.fault));
    }
    if (table.records.empty()) {
        return Refuse(inventory, 1, u"no header row");
    }
    const CsvRecord& header = table.records.front();
    std::size_t machineColumn = header.fields.size();
    for (std::size_t column = 0; column < header.fields.size(); ++column) {
        const std::u16string_view key = TrimBlanks(header.fields[column]);
        for (const std::u16string& earlier : inventory.keys) {
            if (EqualsIgnoringAsciiCase(earlier, key)) {
                return Refuse(inventory, header.line, u"the column \"", key, u"\" is named twice");
            }
        }
        if (EqualsIgnoringAsciiCase(key, kMachineColumn)) {
            machineColumn = column;
        } else if (!IsInventoryKey(key)) {
            return Refuse(inventory, header.line, u"the column \"", key,
                          u"\" names no settings key");
        }
        inventory.keys.emplace_back(key);
    }
    if (machineColumn == header.fields.size()) {
        return Refuse(inventory, header.line, u"no column \"machine\"");
    }
    // Every row is checked, also those after this machine's: a file that is
    // wrong anywhere applies nowhere.
    const CsvRecord* found = nullptr;
    for (std::size_t row = 1; row < table.records.size(); ++row) {
        const CsvRecord& record = table.records[row];
        if (record.fields.size() != header.fields.size()) {
            return Refuse(inventory, record.line,
                          u"the row's number of cells differs from the header's");
        }
        if (found == nullptr && NamesMachine(record.fields[machineColumn], machine)) {
            found = &record;
        }
    }
    if (found == nullptr) {
        inventory.outcome = MachineInventory::Outcome::NoRow;
        return;
    }
    inventory.outcome = MachineInventory::Outcome::Row;
    inventory.line = found->line;
    for (const std::u16string& cell : found->fields) {
        inventory.cells.emplace_back(TrimBlanks(cell));
    }
}

} // namespace

MachineInventory::~MachineInventory() {
    for (std::u16string& cell : cells) {
        WipeText(cell);
    }
}

const std::u16string* MachineInventory::Find(std::u16string_view key) const {
    for (std::size_t column = 0; column < keys.size() && column < cells.size(); ++column) {
        if (EqualsIgnoringAsciiCase(keys[column], key) &&
            !EqualsIgnoringAsciiCase(key, kMachineColumn) && !cells[column].empty()) {
            return &cells[column];
        }
    }
    return nullptr;
}

std::u16string InventoryPath(std::u16string_view settingsFile) {
    const std::size_t slash = settingsFile.find_last_of(u"\\/");
    std::u16string path(settingsFile.substr(0, slash == std::u16string_view::npos ? 0 : slash + 1));
    return path.append(kInventoryName);
}

MachineInventory FindInventoryRow(const std::vector<std::uint8_t>& bytes,
                                  const MachineIdentity& machine) {
    MachineInventory inventory;
    std::u16string text;
    if (const std::uint32_t badLine = DecodeInventory(bytes, text)) {
        Refuse(inventory, badLine, u"text that is not UTF-8");
    } else {
        CsvTable table = ParseCsv(text);
        SearchTable(table, machine, inventory);
        for (CsvRecord& record : table.records) {
            for (std::u16string& field : record.fields) {
                WipeText(field);
            }
        }
    }
    WipeText(text);
    return inventory;
}

MachineInventory ReadMachineInventory(platform::Platform& os, const std::u16string& path,
                                      const MachineIdentity& machine) {
    MachineInventory inventory;
    std::vector<std::uint8_t> bytes;
    if (!os.files.ReadFileBytes(path.c_str(), bytes)) {
        Refuse(inventory, 0, u"the file cannot be read");
    } else {
        inventory = FindInventoryRow(bytes, machine);
    }
    WipeMemory(bytes.data(), bytes.size());
    inventory.path = path;
    return inventory;
}

} // namespace corvane
