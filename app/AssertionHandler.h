#pragma once
// The toolkit checks its callers with assertions, and by default shows each failed one to the
// user in a dialog that means nothing to him. The program answers them itself: an ordinary run
// writes each to the standard error stream and goes on; a smoke run also keeps them, reports
// them and ends with a failure, so that a test meets the next one before a user does.
#include <string>
#include <vector>

namespace assertions {

// Installs the program's answer to the toolkit's assertions; `smokeRun` keeps them to report.
void Install(bool smokeRun);

// One assertion as it is written: "file(line) in function: condition: message".
std::string Describe(const std::string& file, int line, const std::string& function, const std::string& condition,
                     const std::string& message);

// What Install's handler does with one assertion; kept apart so that a test can call it.
void Record(const std::string& text);

// The assertions a smoke run met so far, in order; empty in an ordinary run.
std::vector<std::string> Met();

// The exit code of a smoke run that met an assertion.
constexpr int kSmokeAssertionExitCode = 3;

}  // namespace assertions
