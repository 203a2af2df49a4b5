// Asking the administrator for other credentials when the domain refused the
// ones it was given. The dialogs provide it; the apply run and the listing of
// organisational units only know this interface.
#pragma once

#include "platform/types.h"

namespace corvane {

class CredentialPrompt {
public:
    virtual ~CredentialPrompt() = default;

    // For an operation the domain refused with `refusal`, asks in a dialog
    // owned by `owner`: 1237 (retry) when new credentials were stored in the
    // setup state, 1223 (cancelled) when the administrator gave up.
    virtual platform::ErrorCode AskAfterRefusal(platform::WindowId owner,
                                                platform::ErrorCode refusal) = 0;
};

} // namespace corvane
