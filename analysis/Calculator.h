#pragma once
// The formula engine: a lexer that turns a formula text into tokens once, and an evaluator
// that computes the formula's value at any sample of the record. The evaluator translates
// the token list into a flat program on first use, so that evaluating a formula over a
// million samples walks that program, not the text.
#include <complex>
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "analysis/FormulaToken.h"
#include "model/TenvorikException.h"
#include "platform/CString.h"

class CChannel;

// A letter as formula names know it (the character class of unquoted channel names, besides
// the digits 0-9 and '_').
bool IsFormulaLetter(wchar_t c);

// Kind bits of a formula value.
enum : uint8_t {
    FV_REAL = 0x01,     // the real part is valid
    FV_COMPLEX = 0x02,  // the complex part is valid
    FV_CHANNEL = 0x04,  // the value refers to a channel
};

struct FormulaValue {
    uint8_t kind = 0;
    std::complex<double> complex{0.0, 0.0};
    double real = 0.0;
    const CChannel* channel = nullptr;
};

namespace formula {
struct Program;
}

class Calculator {
public:
    Calculator();
    Calculator(const Calculator& other);
    Calculator& operator=(const Calculator& other);
    virtual ~Calculator();

    // The channel a name in a formula denotes, or null (then the name gives no token).
    virtual const CChannel* GetChannelIndex(const CString& name);
    // The per-sample value behind "frequency:".
    virtual double GetSampleValue(unsigned sampleIndex);
    // Samples in one network period.
    virtual unsigned GetSamplesPerPeriod();

    // Replaces the token list by the tokens of `formula`; throws CTenvorikException* on a
    // lexical error.
    void Tokenize(const CString& formula);
    // The value of the tokenized formula at the current sample index; throws
    // CTenvorikException* on a syntax or argument error. The calculator stays usable.
    FormulaValue Evaluate();

    // Variable mode: evaluates `expression` with the variables set so far and stores the real
    // part of its value under the lower-cased name. Errors pass through; the map is then
    // unchanged for that name.
    void SetVariable(const CString& name, const CString& expression);

    // Owner's state.
    std::vector<CString>& FormulaNames() { return m_formulaNames; }
    const std::vector<CString>& FormulaNames() const { return m_formulaNames; }
    void SetFormulaIndex(unsigned index) { m_formulaIndex = index; }
    unsigned GetFormulaIndex() const { return m_formulaIndex; }
    void SetSampleIndex(unsigned index) { m_sampleIndex = index; }
    unsigned GetSampleIndex() const { return m_sampleIndex; }
    void SetChannelMode(bool channelMode) { m_channelMode = channelMode; }
    bool IsChannelMode() const { return m_channelMode; }
    std::map<CString, double>& Variables() { return m_variables; }
    const std::map<CString, double>& Variables() const { return m_variables; }
    const std::vector<FormulaToken>& Tokens() const { return m_tokens; }
    // Index of the first token after the value that the last Evaluate read (a unit given at
    // the end of a formula stands there).
    unsigned GetTokenCursor() const { return m_cursor; }
    const CString& GetFormulaText() const { return m_formulaText; }

    // Deepest bracket and power nesting a formula may have; deeper formulas are refused as
    // syntax errors instead of exhausting the stack.
    static constexpr int kMaxNesting = 256;

    // The name that error messages give for the formula being worked on: the name of the
    // current formula of the list in channel mode, else the formula text.
    CString FormulaName() const;

protected:
    CString ErrorContext() const;
    [[noreturn]] void ThrowMessage(const CString& message) const;
    [[noreturn]] void ThrowSyntaxError() const;

    std::vector<CString> m_formulaNames;
    unsigned m_sampleIndex = 0;
    unsigned m_formulaIndex = 0;
    std::vector<FormulaToken> m_tokens;
    unsigned m_cursor = 0;
    std::map<CString, double> m_variables;
    bool m_channelMode = true;
    CString m_formulaText;

private:
    friend struct formula::Program;
    void Compile();
    std::unique_ptr<formula::Program> m_program;
};
