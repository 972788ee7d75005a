#pragma once
// The application-wide options that code below the windows reads: the program fills them at
// start-up from its command line and profile and writes them back at exit.
#include "platform/CString.h"
#include "platform/TextLanguage.h"

struct AppOptions {
    // The text after "-Dst" on the command line; the first document open uses it and empties it.
    CString commandLineDst;
    // "Dst folder": the folder of ".dst" description files.
    CString dstFolder;
    // "UTC for Comtrade2013": COMTRADE 2013 times shown in UTC (true) or local time (false).
    bool utcForComtrade2013 = true;
    // The English resource library was loaded at start.
    bool englishResources = false;
    // "Language": the texts the user chose for the next start ("ru", "en"; empty: the locale's).
    platform::TextLanguage textLanguage = platform::TextLanguage::System;
    // Page margins in hundredths of a millimetre and the orientation (1 portrait, 2 landscape).
    int leftMargin = 0, topMargin = 0, rightMargin = 0, bottomMargin = 0;
    short pageOrientation = 1;
};

// The options of this run. Written on the user-interface thread only, never while a load runs.
AppOptions& TheAppOptions();
