#pragma once
// The record's settings file (".set" beside the record, the ".ini" of older versions when
// there is none): written with every save of the record, applied after every load. It carries
// the channels' display settings, the sampling frequency and code page, the chart pairs, and
// the categories that other parts of the program keep there.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/CString.h"

class DocumentModel;
class SettingsNode;
class SettingsStore;
struct ChannelPair;

// A part of the program that keeps one category of the record settings. A category without
// an owner is kept as it was read and written back unchanged.
class SettingsCategoryOwner {
public:
    virtual ~SettingsCategoryOwner() = default;
    virtual void SaveSettings(SettingsNode& category) = 0;
    virtual void LoadSettings(SettingsNode& category) = 0;
    // On a load, before the channels take their settings (the calculated channels leave the
    // record here and come back when their category is loaded).
    virtual void ClearForLoad() {}
};

// What the settings file is written from and applied to: the document's parts.
struct RecordSettingsParts {
    DocumentModel* doc = nullptr;
    SettingsStore* store = nullptr;
    std::vector<ChannelPair>* diffPairs = nullptr;
    std::vector<ChannelPair>* circlePairs = nullptr;
    // Applies the code-page flag to the record's display texts; without one only the flag
    // and the channels' display names follow.
    std::function<void(int32_t)> setCodePage;
    SettingsCategoryOwner* calculatedChannels = nullptr;  // "CalculatedChannels"
    SettingsCategoryOwner* faultLocation = nullptr;       // "WrongPlaceFinding"
    SettingsCategoryOwner* comments = nullptr;            // "Comments"
};

// The settings file of a record: its path without the record's extension, plus ".set".
CString SettingsFileOf(const CString& recordPath);

// Fills the fixed categories from the document and writes the whole store to `path`. A file
// that cannot be written throws CTenvorikException* (the old file stays whole).
void SaveRecordSettings(const RecordSettingsParts& parts, const CString& path);
// The same filling of the store, giving the file's bytes instead of writing them (for a save
// that writes the settings file with the rest of the record).
std::string RecordSettingsBytes(const RecordSettingsParts& parts);

// Loads the store from `path` (or its ".ini" variant when there is no such file) and applies
// it: channel settings, sampling frequency, code page, owners' categories, chart pairs. The
// record's channels must be recalculated already; those whose settings change them are
// recalculated again. A
// damaged file still applies what could be read, and the damage is reported to the user. A
// cancelled load stops at the channels. Exceptions of the owners pass to the caller.
void LoadRecordSettings(const RecordSettingsParts& parts, const CString& path, bool skipComments);
