// A helper that reaches into a platform implementation.
#pragma once

#include "platform/sim/world.h"
#include "platform/types.h"
