// Opening a ".sto" record: its conversion to COMTRADE files in the document's working folder.
#include "model/StoConversion.h"
#include "model/TenvorikDoc.h"

CString CTenvorikDoc::ConvertStoToComtrade(const CString& path) { return ::ConvertStoToComtrade(path, &m_tempFolder); }
