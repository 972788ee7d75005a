// Record forms whose readers and writers are not bound yet: opening or saving them reports
// the format error instead of failing silently.
#include "document/TenvorikDoc.h"
#include "model/TenvorikException.h"
#include "platform/UiServices.h"

namespace {
bool Refuse(const CString& path) {
    platform::Ui().PostException(new CTenvorikException(330, path));
    return false;
}
}  // namespace

bool CTenvorikDoc::SaveZip(const CString& path) { return Refuse(path); }
