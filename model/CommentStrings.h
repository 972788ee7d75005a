#pragma once
// String resources of the comment items, their list and the comment dialog.
enum : unsigned {
    IDS_COMMENT_LEVEL = 9950,          // "\n\nУровень: " before a level's value
    IDS_COMMENT_DURATION = 9951,       // "\n\nДлительность: " before an area's duration
    IDS_COMMENT_TIME = 9952,           // "\n\nВремя: " before a moment's date and time
    IDS_COMMENT_FROM_START = 9953,     // "\nОт начала ОСЦ: " before a moment's offset
    IDS_COMMENT_SECONDS = 9954,        // "%s с": the seconds' number
    IDS_COMMENTS_DROPPED = 9955,       // comments of the settings file left out, with their count
    IDS_COMMENT_DELETE_AREA = 9956,
    IDS_COMMENT_DELETE_MOMENT = 9957,
    IDS_COMMENT_DELETE_LEVEL = 9958,
    IDS_COMMENT_UNLOCK_AREA = 9959,
    IDS_COMMENT_LOCK_AREA = 9960,
    IDS_COMMENT_UNLOCK_MOMENT = 9961,
    IDS_COMMENT_LOCK_MOMENT = 9962,
    IDS_COMMENT_UNLOCK_LEVEL = 9963,
    IDS_COMMENT_LOCK_LEVEL = 9964,
    IDS_COMMENT_HIDE = 9965,
    IDS_COMMENT_SHOW = 9966,
    IDS_COMMENT_DIALOG_TITLE = 9967,   // "Комментарии к диаграмме"
    IDS_COMMENT_CODEPAGE_OEM = 9968,   // "866 MS-DOS"
    IDS_COMMENT_CODEPAGE_ANSI = 9969,  // "Windows-1251"
    IDS_COMMENT_CANCEL = 9970,         // "Отмена"
    // The header comment holds characters its code page lacks: another code page holds them
    // all / none does.
    IDS_COMMENT_LOSS_OTHER_PAGE = 9650,
    IDS_COMMENT_LOSS_NO_PAGE = 9651,
};
