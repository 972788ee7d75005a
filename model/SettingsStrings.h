#pragma once
// String resources of the settings store, the XML reader and the record settings file.
enum : unsigned {
    IDS_PASTED_SUFFIX = 3024,          // " (вст.)" after the name of a pasted channel
    IDS_SETTINGS_FILTER = 3294,        // open-file filter of the settings files
    IDS_XML_FORMAT_ERROR = 469,        // a text that is not an XML document of ours
    IDS_LOAD_SETTINGS_PROMPT = 32860,  // prompt of the "load settings" command
    IDS_SETTINGS_WRITE_ERROR = 9702,   // a settings file that cannot be written
    IDS_SETTINGS_DAMAGED = 9703,       // a damaged settings file, read only in part
    // Loading another record's settings: the file dialog's title, the question first asked
    // with what would be replaced (each part with its count).
    IDS_LOAD_SETTINGS_TITLE = 9652,
    IDS_LOAD_SETTINGS_QUESTION = 9653,
    IDS_LOAD_SETTINGS_CALCULATED = 9654,
    IDS_LOAD_SETTINGS_DIFF_PAIRS = 9655,
    IDS_LOAD_SETTINGS_CIRCLE_PAIRS = 9656,
    IDS_LOAD_SETTINGS_STRIPS = 9657,
};
