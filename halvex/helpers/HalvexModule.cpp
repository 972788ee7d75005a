// What the library exports for its host beyond its classes.
#include "platform/UiServices.h"

// The program hands its user-interface services to this library's copy of the platform
// layer (see platform::SetUiServices), so that the helpers' message boxes reach the user.
extern "C" __attribute__((visibility("default"))) void HalvexSetUiServices(platform::UiServices* services) {
    platform::SetModuleUiServices(services);
}
