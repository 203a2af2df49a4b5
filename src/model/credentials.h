// Account and password travel as a pair: both when an account is set, both
// absent (null) otherwise, whatever the password holds.
#pragma once

#include "model/setup_state.h"

namespace corvane {

struct Credentials {
    const char16_t* account = nullptr;
    const char16_t* password = nullptr;
};

inline Credentials StoredCredentials(const SetupState& state) {
    if (state.Account.empty()) {
        return {};
    }
    return {state.Account.c_str(), state.Password.c_str()};
}

} // namespace corvane
