#include "TestUtil.h"

#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <signal.h>
#include <spawn.h>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace testutil {

TempDir::TempDir() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "tenvorik-test-XXXXXX").string();
    if (!mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
    m_path = tmpl;
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream f(path, std::ios::binary);
    f.write(bytes.data(), std::streamsize(bytes.size()));
}

std::string ReadFile(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::stringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

bool HasDisplay() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY"})
        if (const char* v = std::getenv(name); v && *v) return true;
    return false;
}

std::vector<std::string> SmokeEnv(const TempDir& dir, std::vector<std::string> extra) {
    std::filesystem::create_directories(dir.File("config"));
    std::filesystem::create_directories(dir.File("runtime"));
    std::vector<std::string> env{"XDG_CONFIG_HOME=" + dir.File("config"), "XDG_RUNTIME_DIR=" + dir.File("runtime")};
    env.insert(env.end(), extra.begin(), extra.end());
    return env;
}

RunResult Run(const std::vector<std::string>& argv, const std::vector<std::string>& env, int timeoutSec) {
    RunResult r;
    TempDir dir;
    std::string outPath = dir.File("out"), errPath = dir.File("err");
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_addopen(&fa, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&fa, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<std::string> envs;
    // An entry of `env` replaces the inherited one of the same name.
    auto name = [](const std::string& e) { return e.substr(0, e.find('=')); };
    for (char** e = environ; *e; ++e) {
        std::string entry = *e;
        bool replaced = false;
        for (const auto& x : env) replaced = replaced || name(x) == name(entry);
        if (!replaced) envs.push_back(entry);
    }
    for (const auto& e : env) envs.push_back(e);
    std::vector<char*> cargv, cenv;
    for (const auto& a : argv) cargv.push_back(const_cast<char*>(a.c_str()));
    cargv.push_back(nullptr);
    for (const auto& e : envs) cenv.push_back(const_cast<char*>(e.c_str()));
    cenv.push_back(nullptr);
    pid_t pid = 0;
    int rc = posix_spawn(&pid, cargv[0], &fa, nullptr, cargv.data(), cenv.data());
    posix_spawn_file_actions_destroy(&fa);
    if (rc != 0) return r;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSec);
    int status = 0;
    for (;;) {
        pid_t w = waitpid(pid, &status, WNOHANG);
        if (w == pid) break;
        if (std::chrono::steady_clock::now() > deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            r.out = ReadFile(outPath);
            r.err = ReadFile(errPath);
            return r;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    r.out = ReadFile(outPath);
    r.err = ReadFile(errPath);
    return r;
}

}  // namespace testutil
