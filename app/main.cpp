#include "app/TenvorikApp.h"

wxIMPLEMENT_APP(CTenvorikApp);
