#pragma once
// Helpers shared by the test programs: temporary folders and files, running a program.
#include <string>
#include <vector>

namespace testutil {

// A fresh folder under the system's temporary folder, removed with its contents on destruction.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return m_path; }
    std::string File(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

void WriteFile(const std::string& path, const std::string& bytes);
std::string ReadFile(const std::string& path);

// The environment of a program run that keeps its profile and its instance socket inside `dir`
// (folders "config" and "runtime", made here), followed by `extra`.
std::vector<std::string> SmokeEnv(const TempDir& dir, std::vector<std::string> extra);

struct RunResult {
    int exitCode = -1;  // -1 when it did not end in time or could not start
    std::string out, err;
};
// Runs `argv` with extra environment entries ("NAME=value"), waiting at most `timeoutSec`.
RunResult Run(const std::vector<std::string>& argv, const std::vector<std::string>& env = {}, int timeoutSec = 60);

// Whether a display server is named in the environment (X11 or Wayland).
bool HasDisplay();
// The exit code by which a test program tells CTest that it skipped all of its tests.
constexpr int kSkipExitCode = 77;

}  // namespace testutil
