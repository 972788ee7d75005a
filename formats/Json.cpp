#include "formats/Json.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "platform/Encoding.h"

namespace json {

void Str(std::string& out, const CString& s) {
    out += '"';
    for (char c : platform::WideToUtf8(s.view())) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", unsigned(static_cast<unsigned char>(c)));
                out += buf;
            } else {
                out += c;
            }
        }
    }
    out += '"';
}

void Num(std::string& out, double v) {
    if (!std::isfinite(v)) {
        out += "null";
        return;
    }
    char buf[32];
    auto r = std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, r.ptr);
}

void Num(std::string& out, int64_t v) { out += std::to_string(v); }

}  // namespace json
