// The DNS servers the settings file asks for on every adapter that ends the
// run with a fixed address: up to three IPv4 addresses, in search order.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace corvane {

struct NameServerList {
    static constexpr std::size_t kMostServers = 3;

    // Host order: the first number of the dotted quad in the top byte.
    std::array<std::uint32_t, kMostServers> addresses{};
    std::size_t count = 0;
    // The settings gave a list that is not one: nothing is applied, and the
    // run counts the refusal as a failed step.
    bool refused = false;

    bool empty() const { return count == 0; }
};

} // namespace corvane
