#pragma once
// The fault locator's view of a document's record.
#include "faultloc/WrongPlaceLocator.h"

class DocumentModel;

class DocumentLocatorRecord final : public LocatorRecord {
public:
    explicit DocumentLocatorRecord(DocumentModel& doc) : m_doc(doc) {}
    int GetSampleCount() const override;
    double GetSamplingFrequency() const override;
    double GetNetFrequency() const override;
    void ReadDisplayValues(const CString& name, int first, int count, double* out) const override;
    int FindChannelIndex(const CString& name) const override;
    double GetSampleTimeUs(int sample) const override;
    double GetSampleFrequency(int channel, int sample) const override;
    void SetCalculatedChannel(const CString& name, const CString& unit, const std::vector<double>& values) override;
    void SetDiscreteChannel(const CString& name, const std::vector<int>& flags) override;
    void RemoveChannel(const CString& name) override;
    bool GetChannelRatio(const CString& name, double& primary, double& secondary) const override;

private:
    DocumentModel& m_doc;
};
