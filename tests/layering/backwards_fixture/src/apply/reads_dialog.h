// A source of the apply run that reaches back up into the dialogs.
#pragma once

#include "model/setup_state.h"
#include "ui/dialog_ids.h"
