// The directory operations of the sim, over the domains of the world.
#pragma once

#include "platform/directory_service.h"
#include "platform/sim/state.h"

namespace corvane::sim {

class SimDirectoryService final : public platform::DirectoryService {
public:
    explicit SimDirectoryService(State& state) : state_(state) {}

private:
    [[maybe_unused]] State& state_;
};

} // namespace corvane::sim
