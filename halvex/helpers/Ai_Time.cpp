#include "halvex/helpers/Ai_Time.h"

#include <sys/time.h>

#include <cwchar>
#include <ctime>

#include "halvex/helpers/Ai_File.h"
#include "platform/Profile.h"

std::vector<TIMER_MARK> CAi_Time::m_timerMarkList_stc;

namespace {

constexpr int64_t kMsFrom1601To1970 = 11644473600000LL;

struct LocalNow {
    std::tm tm{};
    int ms = 0;
    int64_t msSince1601 = 0;
};

LocalNow Now() {
    timeval tv{};
    gettimeofday(&tv, nullptr);
    LocalNow n;
    time_t t = tv.tv_sec;
    localtime_r(&t, &n.tm);
    n.ms = int(tv.tv_usec / 1000);
    n.msSince1601 = (int64_t(t) + n.tm.tm_gmtoff) * 1000 + n.ms + kMsFrom1601To1970;
    return n;
}

CString MarkFile(const CString& file) {
    return file.IsEmpty() ? CAi_File::ExamineTmpFile(L"StorageOfTimerMarks.ini") : file;
}

CString Section(int id) {
    CString s;
    s.Format(L"%d", id);
    return s;
}

}  // namespace

CAi_Time::CAi_Time() = default;

CAi_Time::CAi_Time(int id) { SaveCurrentTime(id, false); }

int64_t CAi_Time::GetCurrentTimeByMilliseconds() { return Now().msSince1601; }

void CAi_Time::SaveCurrentTime(int id, bool store, const CString& file) {
    int64_t now = GetCurrentTimeByMilliseconds();
    if (store) {
        CString path = MarkFile(file);
        if (!path.IsEmpty()) {
            CString value;
            value.Format(L"%lld", static_cast<long long>(now));
            platform::Profile::AtPath(path).WriteProfileString(Section(id), CString(L"TimerMark"), value);
        }
    }
    auto& list = List();
    for (auto& m : list)
        if (m.nID == id) {
            m.nTime = now;
            return;
        }
    list.push_back({id, now});
}

void CAi_Time::SaveCurrentTime_(int id) {
    CAi_Time t;
    t.m_bStatic = true;
    t.SaveCurrentTime(id, false);
}

int64_t CAi_Time::LoadTimerMark(int id, bool fromFile, const CString& file) {
    if (fromFile) {
        CString path = MarkFile(file);
        if (path.IsEmpty()) return 0;
        CString text = platform::Profile::AtPath(path).GetProfileString(Section(id), L"TimerMark", L"0");
        text = text.Left(19);  // what a buffer of 20 characters holds
        wchar_t* end = nullptr;
        long long v = std::wcstoll(text.GetString(), &end, 10);
        return end == text.GetString() ? 0 : v;
    }
    for (const auto& m : List())
        if (m.nID == id) return m.nTime;
    return kNoMark;
}

int64_t CAi_Time::ConvertMilliseconds(int64_t ms, int unit) {
    if (ms == kNoMark) return kNoMark;
    if (unit == eMilliseconds) return ms;
    int64_t seconds = ms / 1000;
    m_nMsRest = ms % 1000;
    if (unit == eSeconds) return seconds;
    int64_t minutes = seconds / 60;
    m_nSecRest = seconds % 60;
    if (unit == eMinutes) return minutes;
    int64_t hours = minutes / 60;
    m_nMinRest = minutes % 60;
    return unit == eHours ? hours : 0;
}

int64_t CAi_Time::GetTimeIn(int64_t ms, int unit, bool rounding) {
    if (unit == eMilliseconds) return ms;
    if (unit < eSeconds || unit > eHours) return 0;
    int64_t v = ConvertMilliseconds(ms, unit);
    if (rounding && v != kNoMark) {
        // The whole remainder below the unit, in milliseconds, against half the unit; a half
        // rounds up (90.5 s are 91 s).
        int64_t rest = m_nMsRest, half = 500;
        if (unit >= eMinutes) rest += m_nSecRest * 1000, half = 30000;
        if (unit == eHours) rest += m_nMinRest * 60000, half = 1800000;
        if (rest >= half) ++v;
    }
    return v;
}

int64_t CAi_Time::GetTimePeriod(int id, int unit, bool restart, bool rounding, bool fromFile, const CString& file) {
    int64_t mark = LoadTimerMark(id, m_bStatic ? false : fromFile, file);
    if (mark == kNoMark) return kNoMark;
    int64_t now = GetCurrentTimeByMilliseconds();
    if (restart) SaveCurrentTime(id, false);
    return GetTimeIn(now - mark, unit, rounding);
}

int64_t CAi_Time::GetTimePeriod_(int id, int unit, bool restart, bool rounding) {
    CAi_Time t;
    t.m_bStatic = true;
    return t.GetTimePeriod(id, unit, restart, rounding, false);
}

int64_t CAi_Time::GetSavedTime(int id, int unit, bool fromFile, const CString& file) {
    int64_t mark = LoadTimerMark(id, m_bStatic ? false : fromFile, file);
    return mark == kNoMark ? kNoMark : GetTimeIn(mark, unit, false);
}

int64_t CAi_Time::GetSavedTime_(int id, int unit) {
    CAi_Time t;
    t.m_bStatic = true;
    return t.GetSavedTime(id, unit, false);
}

bool CAi_Time::IsID_(int id) {
    for (const auto& m : m_timerMarkList_stc)
        if (m.nID == id) return true;
    return false;
}

void CAi_Time::FreeID_(int id) {
    std::erase_if(m_timerMarkList_stc, [id](const TIMER_MARK& m) { return m.nID == id; });
}

CString CAi_Time::GetCurrentTimeByString(int kind, int64_t ms) {
    LocalNow n = Now();
    const std::tm& t = n.tm;
    CString s;
    switch (kind) {
        case eStrDateTime:
            s.Format(L"%d.%d.%d %d:%d:%d.%d", t.tm_mday, t.tm_mon + 1, t.tm_year + 1900, t.tm_hour, t.tm_min,
                     t.tm_sec, n.ms);
            break;
        case eStrDigits:
            s.Format(L"%d%d%d%d%d%d%d", t.tm_mday, t.tm_mon + 1, t.tm_year + 1900, t.tm_hour, t.tm_min, t.tm_sec,
                     n.ms);
            break;
        case eStrTimeMs: s.Format(L"%d:%d:%d.%d", t.tm_hour, t.tm_min, t.tm_sec, n.ms); break;
        case eStrTime: s.Format(L"%d:%d:%d", t.tm_hour, t.tm_min, t.tm_sec); break;
        case eStrDuration: {
            long long h = ms / 3600000, m = ms % 3600000 / 60000, sec = ms % 60000 / 1000, rest = ms % 1000;
            if (h > 0)
                s.Format(L"%lld:%lld:%lld.%lld ч", h, m, sec, rest);
            else if (m > 0)
                s.Format(L"%lld:%lld.%lld мин", m, sec, rest);
            else if (sec > 0)
                s.Format(L"%lld.%lld с", sec, rest);
            else
                s.Format(L"%lld мс", rest);
            break;
        }
        default: break;
    }
    return s;
}

CString CAi_Time::GetCurrentDateByString(const CString& separator) {
    const std::tm t = Now().tm;
    CString s;
    s.Format(L"%d%s%02d%s%02d", t.tm_year + 1900, separator.GetString(), t.tm_mon + 1, separator.GetString(),
             t.tm_mday);
    return s;
}

CString CAi_Time::GetCur() {
    const std::tm t = Now().tm;
    CString s;
    s.Format(L"%02d:%02d:%02d", t.tm_hour, t.tm_min, t.tm_sec);
    return s;
}

bool CAi_Time::IsEmpty(const SYSTEMTIME* t) {
    return t && !t->wYear && !t->wMonth && !t->wDayOfWeek && !t->wDay && !t->wHour && !t->wMinute && !t->wSecond &&
           !t->wMilliseconds;
}
