#include "model/AppOptions.h"

AppOptions& TheAppOptions() {
    static AppOptions options;
    return options;
}
