// Opening a ".sto" record needs its conversion to COMTRADE; without the converter there is
// nothing to open.
#include "model/TenvorikDoc.h"

CString CTenvorikDoc::ConvertStoToComtrade(const CString& /*path*/) { return CString(); }
