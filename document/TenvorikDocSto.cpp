// Opening a ".sto" record: its conversion to COMTRADE files in the document's working folder.
#include "document/StoConversion.h"
#include "document/TenvorikDoc.h"

CString CTenvorikDoc::ConvertStoToComtrade(const CString& path) { return ::ConvertStoToComtrade(path, &m_tempFolder); }
