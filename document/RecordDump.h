#pragma once
// A loaded record as JSON text: header, sampling rates, times and every channel with its
// scaling and samples (the first and last three, or all). The record dump tool prints it;
// tests compare it with expectations kept beside them, so the layout stays as it is.
#include <string>

class CTenvorikDoc;

std::string DumpRecordJson(const CTenvorikDoc& doc, bool allSamples);
