#pragma once
// Named time marks for measuring durations, kept in memory or in an INI file in the temporary
// folder, and texts of the current date, time and of durations.
#include <cstdint>
#include <vector>

#include "platform/CString.h"
#include "platform/WinTypes.h"

struct SYSTEMTIME {
    WORD wYear, wMonth, wDayOfWeek, wDay, wHour, wMinute, wSecond, wMilliseconds;
};

struct TIMER_MARK {
    int32_t nID = 0;
    int64_t nTime = 0;  // local wall-clock milliseconds since 1601-01-01
};

class CAi_Time {
public:
    enum TimerMarkResult { eMilliseconds = 1, eSeconds = 2, eMinutes = 3, eHours = 4 };
    // Kinds of GetCurrentTimeByString: date and time, the same without separators, time with
    // milliseconds, time, and a duration.
    enum TimerStringResult { eStrDateTime = 0, eStrDigits = 1, eStrTimeMs = 2, eStrTime = 3, eStrDuration = 4 };
    static constexpr int64_t kNoMark = -1;

    CAi_Time();
    explicit CAi_Time(int id);  // saves now as mark `id` in its own list

    static int64_t GetCurrentTimeByMilliseconds();

    // Saves now as mark `id` in the list in use; with `store` also in the mark file (`file`,
    // or "StorageOfTimerMarks.ini" in the temporary folder when empty).
    void SaveCurrentTime(int id, bool store, const CString& file = CString());
    static void SaveCurrentTime_(int id);

    // Time since mark `id` in `unit` (kNoMark when there is no mark); `restart` makes now the mark.
    int64_t GetTimePeriod(int id, int unit, bool restart, bool rounding, bool fromFile,
                          const CString& file = CString());
    static int64_t GetTimePeriod_(int id, int unit, bool restart, bool rounding);
    int64_t GetSavedTime(int id, int unit, bool fromFile, const CString& file = CString());
    static int64_t GetSavedTime_(int id, int unit);
    static bool IsID_(int id);
    static void FreeID_(int id);

    // `ms` is used by the duration kind only; the other kinds show the local time now.
    static CString GetCurrentTimeByString(int kind, int64_t ms);
    static CString GetCurrentDateByString(const CString& separator);
    static CString GetCur();
    static bool IsEmpty(const SYSTEMTIME* time);

    int64_t m_nMsRest = 0;   // left by the last unit conversion
    int64_t m_nSecRest = 0;
    int64_t m_nMinRest = 0;
    std::vector<TIMER_MARK> m_timerMarkList;
    bool m_bStatic = false;  // works on the static list

    static std::vector<TIMER_MARK> m_timerMarkList_stc;

protected:
    // Unit conversion of a duration; the remainders below the unit are left in the fields.
    int64_t ConvertMilliseconds(int64_t ms, int unit);
    int64_t GetTimeIn(int64_t ms, int unit, bool rounding);

private:
    std::vector<TIMER_MARK>& List() { return m_bStatic ? m_timerMarkList_stc : m_timerMarkList; }
    int64_t LoadTimerMark(int id, bool fromFile, const CString& file);
};
