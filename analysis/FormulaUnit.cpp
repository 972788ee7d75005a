#include "analysis/FormulaUnit.h"

#include "analysis/Calculator.h"
#include "analysis/FormulaChannel.h"
#include "model/Resources.h"
#include "platform/Encoding.h"

namespace {

constexpr unsigned kStrOhm = 3060;

enum class UnitRule { Empty, Fixed, Unchanged, SecondArgument };

struct FunctionUnit {
    bool entered;  // the argument list is walked
    UnitRule rule;
    const wchar_t* unit;
    bool cut;
};

FunctionUnit UnitOf(int id) {
    switch (id) {
        case FT_SIN: case FT_COS: case FT_TAN: case FT_COTAN: case FT_SQRT: case FT_EXP: case FT_ARG: case FT_FAULT:
            return {true, UnitRule::Empty, nullptr, false};
        case FT_COSUI: case FT_FOURIE:
            return {true, UnitRule::Empty, nullptr, true};
        case FT_FREQUENCY:
            return {false, UnitRule::Fixed, L"Hz", true};
        case FT_IB: case FT_3I0: case FT_I1: case FT_I2:
            return {true, UnitRule::Fixed, L"A", true};
        case FT_ULF: case FT_ULL: case FT_UA: case FT_UB: case FT_UC: case FT_3U0: case FT_U1F: case FT_U2F:
        case FT_U1L: case FT_U2L: case FT_UNIIK:
            return {true, UnitRule::Fixed, L"V", true};
        case FT_UNCN:
            return {false, UnitRule::Fixed, L"V", true};
        case FT_PF: case FT_PF3WM: case FT_PF2WM:
            return {true, UnitRule::Fixed, L"W", true};
        case FT_ZF: case FT_ZK: case FT_ZL:
            return {true, UnitRule::Fixed, nullptr, true};  // the ohm, a string resource
        case FT_COEFFPOWERPRIV: case FT_COEFFAMPPRIV:
            return {false, UnitRule::Fixed, L"ном", true};
        case FT_TORMSUMCUR:
            return {true, UnitRule::SecondArgument, nullptr, true};
        case FT_CHAN:
            return {true, UnitRule::Unchanged, nullptr, true};
        case FT_ABSIG: case FT_PK:
            return {false, UnitRule::Unchanged, nullptr, false};
        default:  // re:, im:, mod:, rms:, a0:, the coefficient and compensation family
            return {true, UnitRule::Unchanged, nullptr, false};
    }
}

// Walks the token list along the parser's levels, carrying a list of units (one per value).
class UnitWalker {
public:
    explicit UnitWalker(const std::vector<FormulaToken>& tokens) : m_t(tokens) {}

    CString Run() {
        std::vector<CString> units(1);
        List(units);
        if (Id() == FT_DIMENSION) return m_t[m_pos].unit;
        return units[0];
    }

private:
    int Id() const { return m_pos < m_t.size() ? m_t[m_pos].id : FT_END; }
    void Step() {
        if (m_pos + 1 < m_t.size()) ++m_pos;  // never past the closing END
    }
    bool Deeper() { return ++m_depth <= Calculator::kMaxNesting; }

    void List(std::vector<CString>& units) {
        Sum(units);
        while (Id() == FT_COMMA) {
            Step();
            std::vector<CString> next(1);
            Sum(next);
            units.push_back(next[0]);
        }
    }
    void Sum(std::vector<CString>& units) {
        Product(units);
        while (Id() == FT_PLUS || Id() == FT_MINUS) {
            Step();
            std::vector<CString> scratch(1);
            Product(scratch);
        }
    }
    void Product(std::vector<CString>& units) {
        Power(units);
        while (Id() == FT_MUL || Id() == FT_DIV) {
            Step();
            std::vector<CString> scratch(1);
            Power(scratch);
        }
    }
    void Power(std::vector<CString>& units) {
        Unary(units);
        if (Id() == FT_POWER) {
            Step();
            std::vector<CString> scratch(1);
            if (Deeper()) Power(scratch);
            --m_depth;
            units[0].Empty();
        }
    }
    void Unary(std::vector<CString>& units) {
        if (Id() == FT_PLUS || Id() == FT_MINUS) Step();
        Function(units);
    }
    void Function(std::vector<CString>& units) {
        int id = Id();
        if (!IsFormulaFunction(id)) {
            Primary(units);
            return;
        }
        FunctionUnit f = UnitOf(id);
        Step();
        if (f.entered) Primary(units);
        switch (f.rule) {
            case UnitRule::Empty:
                units[0].Empty();
                break;
            case UnitRule::Fixed:
                units[0] = f.unit ? CString(f.unit) : LoadResString(kStrOhm);
                break;
            case UnitRule::SecondArgument:
                if (units.size() >= 2) units[0] = units[1];
                break;
            case UnitRule::Unchanged:
                break;
        }
        if (f.cut) units.resize(1);
    }
    void Primary(std::vector<CString>& units) {
        const int id = Id();
        if (id == FT_OPEN_BRACKET) {
            Step();
            if (Deeper()) List(units);
            --m_depth;
            // On to the matching bracket, past anything the walk did not read.
            for (int depth = 0; Id() != FT_END; Step()) {
                if (Id() == FT_OPEN_BRACKET) ++depth;
                else if (Id() == FT_CLOSE_BRACKET && depth-- == 0) break;
            }
            Step();
            return;
        }
        if (id == FT_NUMBER || id == FT_PI || id == FT_NULL_VALUE) units[0].Empty();
        else if ((id == FT_CHANNEL || id == FT_FORMULA_CHANNEL) && m_t[m_pos].channel)
            units[0] = formula::ChannelUnitText(*m_t[m_pos].channel);
        Step();
    }

    const std::vector<FormulaToken>& m_t;
    size_t m_pos = 0;
    int m_depth = 0;
};

}  // namespace

CString InferFormulaUnit(const std::vector<FormulaToken>& tokens, unsigned cursor) {
    if (cursor < tokens.size() && tokens[cursor].id == FT_DIMENSION) return tokens[cursor].unit;
    if (tokens.empty()) return CString();
    return UnitWalker(tokens).Run();
}
