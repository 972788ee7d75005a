#pragma once
// Protection block types of the characteristic library: characteristics with parameters,
// intermediate variables and zone figures, and the block chosen for a record.
#include <memory>
#include <vector>

#include "analysis/Calculator.h"
#include "diagrams/Figure.h"
#include "platform/CString.h"

class CTenvorikDoc;

struct BlockParameter {
    CString name;
    CString value;  // the value the user edits; what the figures are computed from
    CString defaultValue;
};

struct BlockVariable {
    CString name;
    CString expression;
};

struct Characteristic {
    Characteristic();
    Characteristic(const Characteristic& other);
    Characteristic& operator=(const Characteristic& other);
    Characteristic(Characteristic&&) noexcept = default;
    Characteristic& operator=(Characteristic&&) noexcept = default;
    ~Characteristic() = default;

    // Real part of an expression over the parameters and variables set so far.
    double Evaluate(const CString& expression);

    std::vector<BlockParameter> parameters;
    std::vector<BlockVariable> variables;
    std::vector<std::unique_ptr<Figure>> figures;
    CString name;
    CString dimension;  // "DIF": of the differential diagram
    Calculator calculator;
    bool visible = true;
    uint32_t colorIndex = 0;
};

struct ProtectionBlock {
    std::vector<Characteristic> characteristics;
    CString name;

    // Sets every characteristic's parameters and variables and recalculates its figures. The
    // first error stops it and is reported once; false then.
    bool ApplyParameters();
    // The block and its parameter values in the record's settings, "Circle Chart" (circle)
    // or "Diff Chart". Nothing without a document.
    void SaveSelection(CTenvorikDoc* doc, bool circle) const;
    void LoadSelection(CTenvorikDoc* doc, bool circle);
};

// Pen and fill colours of a characteristic's colour index.
COLORREF CharacteristicPenColor(uint32_t colorIndex);
COLORREF CharacteristicFillColor(uint32_t colorIndex);

// Replaces `blocks` by "Нет" and the blocks of every ".tvb" file of `folder` (the program's
// folder when empty), keeping the characteristics of the differential diagram ("DIF") or of
// the impedance plane. A file that cannot be read is reported and skipped.
void LoadProtectionBlocks(std::vector<ProtectionBlock>& blocks, bool diff, const CString& folder = CString());
// The same from one library's text (tests and tools).
void AddProtectionBlocks(std::vector<ProtectionBlock>& blocks, const class XmlNode& root, bool diff);
// The names the block-type choice offers: each name once, in list order.
std::vector<CString> BlockTypeOptions(const std::vector<ProtectionBlock>& blocks);
