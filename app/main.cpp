#include "app/TenvorikApp.h"

wxIMPLEMENT_APP(TenvorikApp);
