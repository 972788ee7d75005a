#include "app/AssertionHandler.h"

#include <wx/debug.h>
#include <wx/string.h>

#include <cstdio>
#include <mutex>

namespace assertions {
namespace {

std::mutex g_lock;
bool g_keep = false;
std::vector<std::string>& Kept() {
    static std::vector<std::string> kept;
    return kept;
}

void Handler(const wxString& file, int line, const wxString& func, const wxString& cond, const wxString& msg) {
    Record(Describe(file.utf8_str().data(), line, func.utf8_str().data(), cond.utf8_str().data(),
                    msg.utf8_str().data()));
}

}  // namespace

std::string Describe(const std::string& file, int line, const std::string& function, const std::string& condition,
                     const std::string& message) {
    std::string text = file + "(" + std::to_string(line) + ")";
    if (!function.empty()) text += " in " + function;
    text += ": " + condition;
    if (!message.empty()) text += ": " + message;
    // One line each, whatever the message holds.
    for (char& c : text)
        if (c == '\n' || c == '\r') c = ' ';
    return text;
}

void Record(const std::string& text) {
    // Assertions may fail on any thread, and the stream must not interleave them.
    std::lock_guard<std::mutex> hold(g_lock);
    std::fprintf(stderr, "Tenvorik: toolkit assertion: %s\n", text.c_str());
    std::fflush(stderr);
    if (g_keep) Kept().push_back(text);
}

void Install(bool smokeRun) {
    {
        std::lock_guard<std::mutex> hold(g_lock);
        g_keep = smokeRun;
    }
    wxSetAssertHandler(Handler);
}

std::vector<std::string> Met() {
    std::lock_guard<std::mutex> hold(g_lock);
    return Kept();
}

}  // namespace assertions
