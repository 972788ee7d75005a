#include "analysis/Calculator.h"

#include <charconv>
#include <numbers>
#include <cmath>
#include <string>

#include "analysis/FormulaChannel.h"
#include "analysis/FormulaFunctions.h"
#include "model/Resources.h"
#include "platform/Encoding.h"

namespace {

constexpr unsigned kStrNotDefined = 468;
constexpr unsigned kStrSyntaxError = 343;
constexpr unsigned kStrVariableNotFound = 1071;
constexpr unsigned kStrWrongArgCount = 1072;
constexpr unsigned kStrMustBeChannel = 1073;

bool IsAsciiDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// Letters without a run-time locale: ASCII, every character with a case pair (Latin-1,
// Cyrillic, Greek...), and the Cyrillic block, so names in Russian lex alike on every system.
bool IsLetter(wchar_t c) {
    if ((c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z')) return true;
    if (c < 0x80) return false;
    if (c >= 0x0400 && c <= 0x052F) return true;
    return platform::ToLowerWide(c) != c || platform::ToUpperWide(c) != c;
}

bool IsNameChar(wchar_t c) { return IsLetter(c) || IsAsciiDigit(c) || c == L'_'; }

double ParseNumber(const std::string& run) {
    double value = 0.0;
    auto [end, ec] = std::from_chars(run.data(), run.data() + run.size(), value);
    (void)end;
    if (ec == std::errc::result_out_of_range) {
        // Too many digits for a double: a run with a non-zero integer part overflows to
        // infinity, anything else is a tiny fraction.
        for (char c : run) {
            if (c == '.') break;
            if (c != '0') return HUGE_VAL;
        }
        return 0.0;
    }
    return value;
}

}  // namespace

bool IsFormulaLetter(wchar_t c) { return IsLetter(c); }

namespace formula {

enum class Op : uint8_t { Leaf, Add, Sub, Mul, Div, Pow, Neg, Func, FailSyntax, FailCount, FailChannel };

struct Instr {
    Op op;
    int32_t fn = 0;      // function id, or token index for a leaf
    uint32_t left = 0;   // values of the left list (operators), arguments (functions)
    uint32_t right = 0;  // values of the right list
};

struct Program {
    std::vector<Instr> code;
    size_t maxStack = 0;
    unsigned endCursor = 0;
    std::vector<FormulaValue> stack;
};

namespace {

// Raised inside the translation to stop at the first error found in reading order; the
// error becomes the program's last instruction, so that everything before it still runs
// and a formula fails exactly where reading it fails.
struct Stop {};

class Translator {
public:
    Translator(std::vector<FormulaToken>& tokens, Program& program) : m_tokens(tokens), m_p(program) {}

    void Run() {
        try {
            uint32_t n = List();
            if (n != 1) Fail(Op::FailSyntax);
        } catch (const Stop&) {
        }
        m_p.endCursor = m_cursor;
    }

private:
    const FormulaToken& Current() {
        if (m_cursor >= m_tokens.size()) Fail(Op::FailSyntax);
        return m_tokens[m_cursor];
    }
    int32_t CurrentId() { return Current().id; }
    uint32_t Take() {
        if (m_cursor + 1 >= m_tokens.size()) Fail(Op::FailSyntax);  // the closing END
        return m_cursor++;
    }
    [[noreturn]] void Fail(Op op) {
        m_p.code.push_back({op});
        throw Stop();
    }
    void Push(bool isChannel) {
        m_channel.push_back(isChannel);
        if (m_channel.size() > m_p.maxStack) m_p.maxStack = m_channel.size();
    }
    void Enter() {
        if (++m_depth > Calculator::kMaxNesting) Fail(Op::FailSyntax);
    }
    void Leave() { --m_depth; }

    void Binary(Op op, uint32_t left, uint32_t right) {
        if (left == 0 || right == 0) Fail(Op::FailSyntax);
        m_p.code.push_back({op, 0, left, right});
        m_channel.resize(m_channel.size() - right);
        m_channel[m_channel.size() - left] = false;
    }

    uint32_t List() {
        uint32_t n = Sum();
        while (CurrentId() == FT_COMMA) {
            Take();
            n += Sum();
        }
        return n;
    }
    uint32_t Sum() {
        uint32_t n = Product();
        for (int32_t id = CurrentId(); id == FT_PLUS || id == FT_MINUS; id = CurrentId()) {
            Take();
            uint32_t r = Product();
            Binary(id == FT_PLUS ? Op::Add : Op::Sub, n, r);
        }
        return n;
    }
    uint32_t Product() {
        uint32_t n = Power();
        for (int32_t id = CurrentId(); id == FT_MUL || id == FT_DIV; id = CurrentId()) {
            Take();
            uint32_t r = Power();
            Binary(id == FT_MUL ? Op::Mul : Op::Div, n, r);
        }
        return n;
    }
    // A chain of powers groups from the right, as in mathematics: 2^3^2 is 2^9.
    uint32_t Power() {
        uint32_t n = Unary();
        if (CurrentId() == FT_POWER) {
            Take();
            Enter();
            uint32_t r = Power();
            Leave();
            Binary(Op::Pow, n, r);
        }
        return n;
    }
    uint32_t Unary() {
        int32_t id = CurrentId();
        if (id == FT_PLUS || id == FT_MINUS) {
            Take();
            uint32_t n = Primary();
            if (id == FT_MINUS) {
                if (n == 0) Fail(Op::FailSyntax);
                m_p.code.push_back({Op::Neg, 0, n, 0});
                m_channel[m_channel.size() - n] = false;
            }
            return n;
        }
        return Primary();
    }
    uint32_t Primary() {
        int32_t id = CurrentId();
        if (!IsFormulaFunction(id)) return Arguments();
        Take();
        if (id >= FT_COEFFPRIV && id <= FT_TORMMAXCUR) {
            // This family reads every later channel through its formula value.
            for (size_t i = m_cursor; i < m_tokens.size(); ++i)
                if (m_tokens[i].id == FT_CHANNEL) m_tokens[i].id = FT_FORMULA_CHANNEL;
        }
        uint32_t n = Arguments();
        FunctionSignature sig = SignatureOf(id);
        if (sig.argCount >= 0 && n != uint32_t(sig.argCount)) Fail(Op::FailCount);
        size_t base = m_channel.size() - n;
        for (uint32_t k = 0; k < n && k < 32; ++k)
            if ((sig.channelArgs >> k & 1u) && !m_channel[base + k]) Fail(Op::FailChannel);
        m_p.code.push_back({Op::Func, id, n, 0});
        m_channel.resize(base);
        Push(false);
        return 1;
    }
    uint32_t Arguments() {
        if (CurrentId() != FT_OPEN_BRACKET) return Leaf();
        Take();
        Enter();
        if (CurrentId() == FT_CLOSE_BRACKET) {
            Take();
            Leave();
            return 0;
        }
        uint32_t n = List();
        // The list must end at its own bracket: reading past a stray token would drop part
        // of what the user typed from the value without a word.
        if (CurrentId() != FT_CLOSE_BRACKET) Fail(Op::FailSyntax);
        Take();
        Leave();
        return n;
    }
    uint32_t Leaf() {
        uint32_t t = Take();
        switch (m_tokens[t].id) {
            case FT_NUMBER:
            case FT_PI:
            case FT_VARIABLE:
            case FT_NULL_VALUE:
                Push(false);
                break;
            case FT_CHANNEL:
            case FT_FORMULA_CHANNEL:
                Push(true);
                break;
            default:
                m_cursor = t;
                Fail(Op::FailSyntax);
        }
        m_p.code.push_back({Op::Leaf, int32_t(t)});
        if (CurrentId() == FT_DIMENSION) Take();
        return 1;
    }

    std::vector<FormulaToken>& m_tokens;
    Program& m_p;
    size_t m_cursor = 0;
    int m_depth = 0;
    std::vector<bool> m_channel;  // which values on the stack refer to a channel
};

}  // namespace
}  // namespace formula

using formula::Instr;
using formula::Op;

Calculator::Calculator() = default;

Calculator::Calculator(const Calculator& other)
    : m_formulaNames(other.m_formulaNames),
      m_sampleIndex(other.m_sampleIndex),
      m_formulaIndex(other.m_formulaIndex),
      m_tokens(other.m_tokens),
      m_cursor(other.m_cursor),
      m_variables(other.m_variables),
      m_channelMode(other.m_channelMode),
      m_formulaText(other.m_formulaText) {}

Calculator& Calculator::operator=(const Calculator& other) {
    if (this != &other) {
        m_formulaNames = other.m_formulaNames;
        m_sampleIndex = other.m_sampleIndex;
        m_formulaIndex = other.m_formulaIndex;
        m_tokens = other.m_tokens;
        m_cursor = other.m_cursor;
        m_variables = other.m_variables;
        m_channelMode = other.m_channelMode;
        m_formulaText = other.m_formulaText;
        m_program.reset();
    }
    return *this;
}

Calculator::~Calculator() = default;

const CChannel* Calculator::GetChannelIndex(const CString&) { return nullptr; }
double Calculator::GetSampleValue(unsigned) { return 0.0; }
unsigned Calculator::GetSamplesPerPeriod() { return 0; }

CString Calculator::FormulaName() const {
    if (m_channelMode && m_formulaIndex < m_formulaNames.size()) return m_formulaNames[m_formulaIndex];
    return m_formulaText;
}

CString Calculator::ErrorContext() const { return m_channelMode ? FormulaName() : m_formulaText; }

void Calculator::ThrowMessage(const CString& message) const { throw CTenvorikException::FromText(message); }

void Calculator::ThrowSyntaxError() const { ThrowMessage(ErrorContext() + L": " + LoadResString(kStrSyntaxError)); }

void Calculator::Tokenize(const CString& formula) {
    m_formulaText = formula;
    m_program.reset();
    m_tokens.clear();
    m_cursor = 0;
    const std::wstring& typed = m_formulaText.str();
    const size_t n = typed.size();

    // Keywords match in any case; unit texts inside square brackets keep theirs.
    std::wstring work(n, L'\0');
    bool outside = true;
    for (size_t i = 0; i < n; ++i) {
        wchar_t c = typed[i];
        if (c == L'[') outside = false;
        else if (c == L']') outside = true;
        work[i] = outside ? platform::ToLowerWide(c) : c;
    }

    auto notDefined = [&]() {
        ThrowMessage(LoadResString(kStrNotDefined) + L" '" + FormulaName() + L"'");
    };

    std::vector<FormulaToken> tokens;
    size_t p = 0;
    while (p < n) {
        wchar_t c = work[p];
        if (c == L' ') {
            ++p;
            continue;
        }
        if (c == L'[') {
            // A unit has at least one character, so the closing bracket is looked for from
            // the second character on.
            size_t close = p + 2 < n ? work.find(L']', p + 2) : std::wstring::npos;
            if (close == std::wstring::npos) notDefined();
            FormulaToken t(FT_DIMENSION);
            t.unit = CString(typed.substr(p + 1, close - p - 1));
            tokens.push_back(std::move(t));
            p = close + 1;
            continue;
        }
        const FormulaTokenTableEntry* hit = nullptr;
        size_t hitLength = 0;
        for (const auto& e : FormulaTokenTable::kEntries) {
            // Tokens without a keyword (channel, number, end...) are never typed; their empty
            // keyword would match a NUL without moving on.
            if (e.keyword[0] == L'\0' || e.keyword[0] != c) continue;
            size_t len = std::char_traits<wchar_t>::length(e.keyword);
            if (len <= n - p && work.compare(p, len, e.keyword) == 0) {
                hit = &e;
                hitLength = len;
                break;
            }
        }
        if (hit) {
            tokens.emplace_back(hit->id);
            p += hitLength;
            continue;
        }
        if (IsAsciiDigit(c)) {
            std::string run;
            int points = 0;
            while (p < n && (IsAsciiDigit(work[p]) || work[p] == L'.')) {
                if (work[p] == L'.') ++points;
                run += char(work[p]);
                ++p;
            }
            if (points > 1) notDefined();
            FormulaToken t(FT_NUMBER);
            t.number = ParseNumber(run);
            tokens.push_back(std::move(t));
            continue;
        }
        if (IsLetter(c) || c == L'_' || c == L'"') {
            CString name;
            if (c == L'"') {
                size_t end = typed.find(L'"', p + 1);
                if (end == std::wstring::npos) end = n;
                name = CString(typed.substr(p + 1, end - p - 1));
                p = end < n ? end + 1 : n;
            } else {
                size_t start = p;
                while (p < n && IsNameChar(work[p])) ++p;
                name = CString(typed.substr(start, p - start));
                if (p < n && work[p] == L'"') ++p;
            }
            if (m_channelMode) {
                for (size_t k = m_formulaIndex; k < m_formulaNames.size(); ++k) {
                    if (name.CompareNoCase(m_formulaNames[k]) == 0)
                        ThrowMessage(FormulaName() + L": '" + name + L"' - " + LoadResString(kStrNotDefined));
                }
                if (const CChannel* ch = GetChannelIndex(name)) {
                    FormulaToken t(FT_CHANNEL);
                    t.channel = ch;
                    tokens.push_back(std::move(t));
                }
            } else {
                CString key = name;
                if (m_variables.find(key) == m_variables.end()) key.MakeLower();
                if (m_variables.find(key) == m_variables.end())
                    ThrowMessage(m_formulaText + L": " + LoadResString(kStrVariableNotFound));
                FormulaToken t(FT_VARIABLE);
                t.variable = key;
                tokens.push_back(std::move(t));
            }
            continue;
        }
        ThrowSyntaxError();
    }

    // An empty argument after a comma is a null value.
    m_tokens.reserve(tokens.size() + 1);
    for (size_t i = 0; i < tokens.size(); ++i) {
        m_tokens.push_back(std::move(tokens[i]));
        if (m_tokens.back().id == FT_COMMA && i + 1 < tokens.size() &&
            (tokens[i + 1].id == FT_COMMA || tokens[i + 1].id == FT_CLOSE_BRACKET))
            m_tokens.emplace_back(FT_NULL_VALUE);
    }
    m_tokens.emplace_back(FT_END);
}

void Calculator::Compile() {
    m_program = std::make_unique<formula::Program>();
    formula::Translator(m_tokens, *m_program).Run();
    m_program->stack.resize(m_program->maxStack + 1);
}

FormulaValue Calculator::Evaluate() {
    if (!m_program) Compile();
    formula::Program& prog = *m_program;
    m_cursor = prog.endCursor;
    FormulaValue* stack = prog.stack.data();
    size_t sp = 0;
    const unsigned s = m_sampleIndex;

    for (const Instr& in : prog.code) {
        switch (in.op) {
            case Op::Leaf: {
                const FormulaToken& t = m_tokens[size_t(in.fn)];
                FormulaValue& v = stack[sp++];
                v.channel = nullptr;
                switch (t.id) {
                    case FT_NUMBER:
                        v.kind = FV_REAL | FV_COMPLEX;
                        v.real = t.number;
                        v.complex = {t.number, 0.0};
                        break;
                    case FT_PI:
                        v.kind = FV_REAL | FV_COMPLEX;
                        v.real = std::numbers::pi;
                        v.complex = {std::numbers::pi, 0.0};
                        break;
                    case FT_VARIABLE: {
                        auto it = m_variables.find(t.variable);
                        if (it == m_variables.end())
                            ThrowMessage(m_formulaText + L": " + LoadResString(kStrVariableNotFound));
                        v.kind = FV_REAL | FV_COMPLEX;
                        v.real = it->second;
                        v.complex = {it->second, 0.0};
                        break;
                    }
                    case FT_CHANNEL:
                    case FT_FORMULA_CHANNEL:
                        v.kind = FV_REAL | FV_COMPLEX | FV_CHANNEL;
                        v.channel = t.channel;
                        v.real = t.id == FT_CHANNEL ? formula::ChannelValue(*t.channel, s)
                                                    : formula::ChannelFormulaValue(*t.channel, s);
                        v.complex = formula::ChannelPhasor(*t.channel, s);
                        break;
                    default:  // null
                        v.kind = 0;
                        v.real = 0.0;
                        v.complex = {0.0, 0.0};
                        break;
                }
                break;
            }
            case Op::Add:
            case Op::Sub:
            case Op::Mul:
            case Op::Div:
            case Op::Pow: {
                FormulaValue& a = stack[sp - in.right - in.left];
                const FormulaValue& b = stack[sp - in.right];
                switch (in.op) {
                    case Op::Add:
                        a.complex += b.complex;
                        a.real += b.real;
                        a.kind &= b.kind;
                        break;
                    case Op::Sub:
                        a.complex -= b.complex;
                        a.real -= b.real;
                        a.kind &= b.kind;
                        break;
                    case Op::Mul:
                        a.complex *= b.complex;
                        a.real *= b.real;
                        a.kind &= b.kind;
                        break;
                    case Op::Div:
                        a.complex = formula::Divide(a.complex, b.complex);
                        a.real /= b.real;
                        a.kind &= b.kind;
                        break;
                    default: {
                        // Only whole exponents are allowed; a negative one gives the
                        // reciprocal power, and a huge one costs no more than a small one.
                        double n = b.real;
                        if (!std::isfinite(n) || n != std::trunc(n)) ThrowSyntaxError();
                        a.real = n == 0.0 ? 1.0 : std::pow(a.real, n);
                        a.kind = FV_REAL;
                        break;
                    }
                }
                a.kind &= uint8_t(~FV_CHANNEL);
                a.channel = nullptr;
                sp -= in.right;
                break;
            }
            case Op::Neg: {
                FormulaValue& a = stack[sp - in.left];
                a.complex = -a.complex;
                a.real = -a.real;
                a.kind &= uint8_t(~FV_CHANNEL);
                a.channel = nullptr;
                break;
            }
            case Op::Func: {
                size_t base = sp - in.left;
                FormulaValue r = formula::ApplyFunction(in.fn, stack + base, int(in.left), *this);
                r.kind &= uint8_t(~FV_CHANNEL);
                r.channel = nullptr;
                stack[base] = r;
                sp = base + 1;
                break;
            }
            case Op::FailSyntax:
                ThrowSyntaxError();
            case Op::FailCount:
                ThrowMessage(LoadResString(kStrWrongArgCount) + L": '" + FormulaName() + L"'");
            case Op::FailChannel:
                ThrowMessage(LoadResString(kStrMustBeChannel) + L": '" + FormulaName() + L"'");
        }
    }
    return stack[0];
}

void Calculator::SetVariable(const CString& name, const CString& expression) {
    CString key = name;
    key.MakeLower();
    bool mode = m_channelMode;
    m_channelMode = false;
    try {
        Tokenize(expression);
        double value = Evaluate().real;
        m_channelMode = mode;
        m_variables[key] = value;
    } catch (...) {
        m_channelMode = mode;
        throw;
    }
}
