#include "ui/machine_inventory.h"

#include "support/ascii_case.h"
#include "support/wipe_memory.h"
#include "ui/inventory_csv.h"

#include <algorithm>

namespace corvane {

namespace {

constexpr std::u16string_view kInventoryName = u"corvane.csv";
constexpr std::u16string_view kMachineColumn = u"machine";

struct DecodedText {
    std::u16string text;
    std::uint32_t badLine = 0; // the line of the first byte that is no UTF-8; 0: none
};

// Strict UTF-8: the shortest form only, no surrogates, nothing past U+10FFFF.
DecodedText DecodeUtf8(const std::vector<std::uint8_t>& bytes, std::size_t start) {
    DecodedText decoded;
    std::uint32_t line = 1;
    std::size_t at = start;
    while (at < bytes.size()) {
        const std::uint8_t lead = bytes[at];
        std::uint32_t code = 0;
        std::size_t more = 0;
        std::uint32_t least = 0;
        if (lead < 0x80) {
            code = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            code = lead & 0x1FU;
            more = 1;
            least = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            code = lead & 0x0FU;
            more = 2;
            least = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            code = lead & 0x07U;
            more = 3;
            least = 0x10000;
        } else {
            decoded.badLine = line;
            return decoded;
        }
        if (at + more >= bytes.size()) {
            decoded.badLine = line;
            return decoded;
        }
        for (std::size_t i = 1; i <= more; ++i) {
            const std::uint8_t next = bytes[at + i];
            if ((next & 0xC0) != 0x80) {
                decoded.badLine = line;
                return decoded;
            }
            code = (code << 6) | (next & 0x3FU);
        }
        if (more != 0 && (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))) {
            decoded.badLine = line;
            return decoded;
        }
        if (code >= 0x10000) {
            code -= 0x10000;
            decoded.text.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
            decoded.text.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
        } else {
            decoded.text.push_back(static_cast<char16_t>(code));
        }
        if (code == u'\n') {
            ++line;
        }
        at += more + 1;
    }
    return decoded;
}

DecodedText DecodeInventory(const std::vector<std::uint8_t>& bytes) {
    if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
        DecodedText decoded;
        for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
            decoded.text.push_back(static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8)));
        }
        return decoded;
    }
    const bool bom = bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF;
    return DecodeUtf8(bytes, bom ? 3 : 0);
}

std::u16string_view TrimBlanks(std::u16string_view text) {
    while (!text.empty() && (text.front() == u' ' || text.front() == u'\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == u' ' || text.back() == u'\t')) {
        text.remove_suffix(1);
    }
    return text;
}

std::u16string Lowered(std::u16string_view text) {
    std::u16string lowered;
    lowered.reserve(text.size());
    for (const char16_t c : text) {
        lowered.push_back(FoldAsciiCase(c));
    }
    return lowered;
}

bool IsInventoryKey(std::u16string_view name) {
    return std::any_of(std::begin(kInventoryKeys), std::end(kInventoryKeys),
                       [&](std::u16string_view key) { return key == name; });
}

MachineInventory Refused(std::uint32_t line, std::u16string fault) {
    MachineInventory inventory;
    inventory.outcome = MachineInventory::Outcome::Malformed;
    inventory.faultLine = line;
    inventory.fault = std::move(fault);
    return inventory;
}

void WipeText(std::u16string& text) {
    WipeMemory(text.data(), text.size() * sizeof(char16_t));
}

void WipeTable(CsvTable& table) {
    for (CsvRecord& record : table.records) {
        for (std::u16string& field : record.fields) {
            WipeText(field);
        }
    }
}

// Checks the header and finds the machine's row; the table stays whole so
// that its caller can wipe it.
MachineInventory SearchTable(const CsvTable& table, const MachineIdentity& machine) {
    if (table.fault != CsvFault::None) {
        return Refused(table.faultLine, CsvFaultText(table.fault));
    }
    if (table.records.empty()) {
        return Refused(1, u"no header row");
    }
    const CsvRecord& header = table.records.front();
    std::vector<std::u16string> keys;
    std::size_t machineColumn = header.fields.size();
    for (std::size_t column = 0; column < header.fields.size(); ++column) {
        std::u16string key = Lowered(TrimBlanks(header.fields[column]));
        if (std::find(keys.begin(), keys.end(), key) != keys.end()) {
            return Refused(header.line, u"the column \"" + key + u"\" is named twice");
        }
        if (key == kMachineColumn) {
            machineColumn = column;
        } else if (!IsInventoryKey(key)) {
            return Refused(header.line, u"the column \"" + key + u"\" names no settings key");
        }
        keys.push_back(std::move(key));
    }
    if (machineColumn == header.fields.size()) {
        return Refused(header.line, u"no column \"machine\"");
    }

    // Every row is checked, also those after this machine's: a file that is
    // wrong anywhere applies nowhere.
    const CsvRecord* found = nullptr;
    for (std::size_t row = 1; row < table.records.size(); ++row) {
        const CsvRecord& record = table.records[row];
        if (record.fields.size() != keys.size()) {
            return Refused(record.line, u"the row's number of cells differs from the header's");
        }
        if (found == nullptr && NamesMachine(record.fields[machineColumn], machine)) {
            found = &record;
        }
    }
    MachineInventory inventory;
    if (found == nullptr) {
        inventory.outcome = MachineInventory::Outcome::NoRow;
        return inventory;
    }
    inventory.outcome = MachineInventory::Outcome::Row;
    inventory.line = found->line;
    for (std::size_t column = 0; column < keys.size(); ++column) {
        const std::u16string_view value = TrimBlanks(found->fields[column]);
        if (column != machineColumn && !value.empty()) {
            inventory.values.emplace_back(keys[column], std::u16string(value));
        }
    }
    return inventory;
}

} // namespace

MachineInventory::~MachineInventory() {
    for (auto& [key, value] : values) {
        WipeText(value);
    }
}

const std::u16string* MachineInventory::Find(std::u16string_view key) const {
    for (const auto& [name, value] : values) {
        if (name == key) {
            return &value;
        }
    }
    return nullptr;
}

std::u16string InventoryPath(std::u16string_view settingsFile) {
    const std::size_t slash = settingsFile.find_last_of(u"\\/");
    std::u16string path(slash == std::u16string_view::npos ? std::u16string_view()
                                                           : settingsFile.substr(0, slash + 1));
    path += kInventoryName;
    return path;
}

MachineInventory FindInventoryRow(const std::vector<std::uint8_t>& bytes,
                                  const MachineIdentity& machine) {
    DecodedText decoded = DecodeInventory(bytes);
    if (decoded.badLine != 0) {
        WipeText(decoded.text);
        return Refused(decoded.badLine, u"text that is not UTF-8");
    }
    CsvTable table = ParseCsv(decoded.text);
    WipeText(decoded.text);
    MachineInventory inventory = SearchTable(table, machine);
    WipeTable(table);
    return inventory;
}

MachineInventory ReadMachineInventory(platform::Platform& os, const std::u16string& path,
                                      const MachineIdentity& machine) {
    MachineInventory inventory;
    std::vector<std::uint8_t> bytes;
    if (!os.files.ReadFileBytes(path.c_str(), bytes)) {
        inventory = Refused(0, u"the file cannot be read");
    } else {
        inventory = FindInventoryRow(bytes, machine);
    }
    WipeMemory(bytes.data(), bytes.size());
    inventory.path = path;
    return inventory;
}

} // namespace corvane
