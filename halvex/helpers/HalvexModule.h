#pragma once
// What the library exports for its host beyond its classes.
#include "platform/UiServices.h"

// Hands the host's user-interface services to the library, so that its message boxes, questions
// and errors reach the host's user rather than the console. platform::SetUiServices calls it
// too; a host may call either. Null returns the library to the console.
extern "C" __attribute__((visibility("default"))) void HalvexSetUiServices(platform::UiServices* services);
