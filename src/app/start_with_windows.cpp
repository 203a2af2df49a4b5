#include "app/start_with_windows.h"

#include "platform/registry_key.h"

#include <array>
#include <cstdint>

namespace corvane {

namespace {

constexpr const char16_t* kRunKey = u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char16_t* kValueName = u"quendle";

// MAX_PATH plus the terminator. Windows reads Run commands of at most
// MAX_PATH characters, so the quoted command must fit here as well.
constexpr std::size_t kCommandCapacity = 261;

} // namespace

bool IsStartWithWindowsEnabled(platform::Platform& os) {
    platform::OpenedRegistryKey key(os.registry);
    if (key.Open(platform::RegistryRoot::LocalMachine, kRunKey) != platform::error::kSuccess) {
        return false;
    }
    return os.registry.QueryValue(key.get(), kValueName, nullptr, nullptr, nullptr) ==
           platform::error::kSuccess;
}

void SetStartWithWindows(platform::Platform& os) {
    platform::OpenedRegistryKey key(os.registry);
    if (key.Open(platform::RegistryRoot::LocalMachine, kRunKey) != platform::error::kSuccess) {
        return;
    }
    // The path goes in quoted: unquoted, a path with blanks such as
    // C:\Program Files\... would make the shell try C:\Program.exe first.
    std::array<char16_t, kCommandCapacity> command{};
    // The path is read behind the opening quote.
    constexpr auto kRoomForPath = static_cast<std::uint32_t>(kCommandCapacity - 1);
    const std::uint32_t length = os.files.GetModuleFileName(command.data() + 1, kRoomForPath);
    // A path that does not fit whole with both quotes and the terminator
    // (or was cut) keeps the existing value rather than replacing it with a
    // command that names another file.
    if (length > 0 && length + 3 <= kCommandCapacity) {
        command[0] = u'"';
        command[length + 1] = u'"';
        command[length + 2] = u'\0';
        const auto size = static_cast<std::uint32_t>((length + 3) * sizeof(char16_t));
        os.registry.SetValue(key.get(), kValueName, platform::kRegSz,
                             reinterpret_cast<const std::uint8_t*>(command.data()), size);
    }
}

} // namespace corvane
