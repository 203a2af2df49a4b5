// The one interface between the portable core and the operating system.
//
// Platform bundles the services; the win32 implementation calls the real
// Windows functions, the sim implementation keeps an in-memory workstation
// and domain. Both follow the same contract (see the comments on each
// service and the contract tests). A test can swap a single service, for
// instance the clock, and keep the rest.
#pragma once

#include "platform/clock.h"
#include "platform/directory_service.h"
#include "platform/environment.h"
#include "platform/file_system.h"
#include "platform/ip_helper.h"
#include "platform/locale.h"
#include "platform/network_management.h"
#include "platform/private_profile.h"
#include "platform/registry.h"
#include "platform/resources.h"
#include "platform/user_interface.h"

namespace corvane::platform {

struct Platform {
    Clock& clock;
    Locale& locale;
    Environment& environment;
    FileSystem& files;
    PrivateProfile& profile;
    Registry& registry;
    NetworkManagement& network;
    IpHelper& ipHelper;
    Resources& resources;
    DirectoryService& directory;
    UserInterface& ui;
};

} // namespace corvane::platform
