// Environment variables with the Win32 size conventions.
#include "platform/sim/machine/services.h"
#include "platform/sim/text.h"

namespace corvane::sim {

std::uint32_t SimEnvironment::GetVariable(const char16_t* name, char16_t* buffer,
                                          std::uint32_t size) {
    std::lock_guard lock(state_.mutex);
    if (auto code = state_.Fail("GetEnvironmentVariable", View(name))) {
        state_.Record("GetEnvironmentVariable", {JournalText(name)}, *code, true);
        return 0;
    }
    if (name == nullptr) {
        return 0;
    }
    const auto it = state_.environment.find(Fold(name));
    if (it == state_.environment.end()) {
        return 0; // ERROR_ENVVAR_NOT_FOUND
    }
    const std::u16string& value = it->second.second;
    const auto length = static_cast<std::uint32_t>(value.size());
    if (buffer == nullptr || size <= length) {
        return length + 1;
    }
    value.copy(buffer, value.size());
    buffer[value.size()] = u'\0';
    return length;
}

bool SimEnvironment::SetVariable(const char16_t* name, const char16_t* value) {
    std::lock_guard lock(state_.mutex);
    std::vector<std::string> arguments = {JournalText(name), JournalText(value)};
    if (auto code = state_.Fail("SetEnvironmentVariable", View(name))) {
        state_.Record("SetEnvironmentVariable", std::move(arguments), *code, true);
        return false;
    }
    const std::u16string_view text = View(name);
    // A name is not empty and holds no '=' behind its first character (the
    // per-drive variables "=C:" start with one).
    if (text.empty() || text.find(u'=', 1) != std::u16string_view::npos) {
        state_.Record("SetEnvironmentVariable", std::move(arguments),
                      platform::error::kInvalidParameter);
        return false;
    }
    if (value == nullptr) {
        state_.environment.erase(Fold(text));
    } else {
        state_.environment[Fold(text)] = {std::u16string(text), std::u16string(value)};
    }
    state_.Record("SetEnvironmentVariable", std::move(arguments), platform::error::kSuccess);
    return true;
}

std::uint32_t SimEnvironment::ExpandStrings(const char16_t* source, char16_t* buffer,
                                            std::uint32_t size) {
    std::lock_guard lock(state_.mutex);
    if (auto code = state_.Fail("ExpandEnvironmentStrings", View(source))) {
        state_.Record("ExpandEnvironmentStrings", {JournalText(source)}, *code, true);
        return 0;
    }
    if (source == nullptr) {
        return 0;
    }
    const std::u16string_view text(source);
    std::u16string out;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] != u'%') {
            const std::size_t next = text.find(u'%', i);
            const std::size_t end = next == std::u16string_view::npos ? text.size() : next;
            out.append(text.substr(i, end - i));
            i = end;
            continue;
        }
        const std::size_t close = text.find(u'%', i + 1);
        if (close == std::u16string_view::npos) {
            out.append(text.substr(i)); // an unfinished reference stays
            break;
        }
        const std::u16string_view variable = text.substr(i + 1, close - i - 1);
        const auto it =
            variable.empty() ? state_.environment.end() : state_.environment.find(Fold(variable));
        if (it != state_.environment.end()) {
            out += it->second.second;
        } else {
            out.append(text.substr(i, close - i + 1)); // "%NAME%" as written
        }
        i = close + 1;
    }
    const auto needed = static_cast<std::uint32_t>(out.size() + 1);
    if (buffer != nullptr && size >= needed) {
        out.copy(buffer, out.size());
        buffer[out.size()] = u'\0';
    }
    return needed;
}

} // namespace corvane::sim
