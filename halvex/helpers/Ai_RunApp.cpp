#include "halvex/helpers/Ai_RunApp.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "halvex/helpers/CmdLineInfo.h"
#include "halvex/helpers/HalvexResources.h"
#include "platform/Encoding.h"
#include "platform/UiServices.h"

extern char** environ;

namespace {

std::string Sys(const CString& s) { return platform::WideToUtf8(s.view()); }

std::vector<char*> Pointers(std::vector<std::string>& items) {
    std::vector<char*> p;
    for (auto& s : items) p.push_back(s.data());
    p.push_back(nullptr);
    return p;
}

// Starts the process; -1 when it cannot be started.
pid_t Spawn(const CString& application, const CString& commandLine, const CString* environment, const CString* folder) {
    std::vector<std::string> args;
    for (const CString& a : CCmdLineInfo::SplitArguments(commandLine)) args.push_back(Sys(a));
    std::string program = application.IsEmpty() ? (args.empty() ? std::string() : args[0]) : Sys(application);
    if (program.empty()) return -1;
    if (args.empty()) args.push_back(program);
    std::vector<std::string> env;
    if (environment && !environment->IsEmpty()) {
        const std::wstring& all = environment->str();
        for (size_t pos = 0; pos < all.size();) {
            size_t end = all.find(L'\0', pos);
            if (end == std::wstring::npos) end = all.size();
            if (end > pos) env.push_back(platform::WideToUtf8(std::wstring_view(all).substr(pos, end - pos)));
            pos = end + 1;
        }
    }
    std::vector<char*> argv = Pointers(args), envp = Pointers(env);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (folder && !folder->IsEmpty()) posix_spawn_file_actions_addchdir_np(&actions, Sys(*folder).c_str());
    pid_t pid = -1;
    char** e = env.empty() ? environ : envp.data();
    int rc = application.IsEmpty() ? posix_spawnp(&pid, program.c_str(), &actions, nullptr, argv.data(), e)
                                   : posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), e);
    posix_spawn_file_actions_destroy(&actions);
    return rc == 0 ? pid : -1;
}

int WaitFor(pid_t pid) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0)
        if (errno != EINTR) return -1;
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : -1;
}

// A child nobody waits for is still reaped, so that it leaves no zombie behind.
void Reap(pid_t pid) { std::thread([pid] { WaitFor(pid); }).detach(); }

}  // namespace

int CAi_RunApp::RunApplication(const CString& application, const CString& commandLine, int wait, WORD,
                               DWORD* exitCode, const CString* environment, const CString* folder) {
    pid_t pid = Spawn(application, commandLine, environment, folder);
    if (pid < 0) {
        CString msg;
        msg.Format(HalvexLoadString(7065).GetString(), commandLine.GetString());
        platform::Ui().MessageBox(msg, CString(), MB_OK | MB_ICONERROR);
        return 0;
    }
    if (wait) {
        int code = WaitFor(pid);
        if (exitCode) *exitCode = DWORD(code);
    } else {
        Reap(pid);
    }
    return 1;
}

bool CAi_RunApp::RunApplication2(const CString& commandLine, bool) {
    pid_t pid = Spawn(CString(), commandLine, nullptr, nullptr);
    if (pid < 0) return false;
    WaitFor(pid);
    return true;
}

namespace {

// The first executable `name` on PATH; empty when there is none.
std::string FindOnPath(const char* name) {
    const char* path = getenv("PATH");
    std::string all = path ? path : "";
    for (size_t pos = 0; pos <= all.size();) {
        size_t end = all.find(':', pos);
        if (end == std::string::npos) end = all.size();
        std::string dir = all.substr(pos, end - pos);
        std::string candidate = (dir.empty() ? std::string(".") : dir) + "/" + name;
        if (access(candidate.c_str(), X_OK) == 0) return candidate;
        pos = end + 1;
    }
    return {};
}

}  // namespace

namespace {

// The name the kernel gives a process (at most 15 bytes of its program's file name); empty
// when the process is gone.
std::string ProcessName(pid_t pid) {
    std::string name;
    if (FILE* f = std::fopen(("/proc/" + std::to_string(pid) + "/comm").c_str(), "r")) {
        char line[64] = {};
        if (std::fgets(line, sizeof line, f)) name = line;
        std::fclose(f);
    }
    while (!name.empty() && name.back() == '\n') name.pop_back();
    return name;
}

std::string KernelName(const std::string& path) {
    const size_t slash = path.rfind('/');
    return (slash == std::string::npos ? path : path.substr(slash + 1)).substr(0, 15);
}

}  // namespace

// Raised rights come from polkit: pkexec asks for the administrator's password through the
// desktop's own agent and then replaces itself by the program. Its own failures end it with
// 127 (not authorised, no agent, a program it cannot run) or 126 (the password dialog
// dismissed); any other end is the program's. So the call waits for pkexec's decision, which
// comes once the user has answered: pkexec ending, or pkexec's process taking the program's
// name. The program itself is not waited for.
bool CAi_RunApp::RunApplicationElevated(const CString& file) {
    std::string program = Sys(file);
    std::string pkexec = FindOnPath("pkexec");
    if (program.empty() || pkexec.empty()) {
        CString msg;
        msg.Format(HalvexLoadString(program.empty() ? 7065 : 7390).GetString(), file.GetString());
        platform::Ui().MessageBox(msg, CString(), MB_OK | MB_ICONERROR);
        return false;
    }
    // pkexec takes only absolute program paths.
    if (program[0] != '/') {
        if (program.find('/') == std::string::npos) {
            std::string found = FindOnPath(program.c_str());
            if (!found.empty()) program = found;
        }
        if (char* real = realpath(program.c_str(), nullptr)) {
            program = real;
            free(real);
        }
    }
    std::vector<std::string> args = {pkexec, program};
    std::vector<char*> argv = Pointers(args);
    pid_t pid = -1;
    if (posix_spawn(&pid, pkexec.c_str(), nullptr, nullptr, argv.data(), environ) != 0) {
        CString msg;
        msg.Format(HalvexLoadString(7065).GetString(), file.GetString());
        platform::Ui().MessageBox(msg, CString(), MB_OK | MB_ICONERROR);
        return false;
    }
    // posix_spawn returns once the child runs pkexec, so until the program replaces it the
    // process bears pkexec's name.
    const std::string waiting = KernelName(pkexec);
    for (useconds_t pause = 2000;;) {
        int status = 0;
        const pid_t ended = waitpid(pid, &status, WNOHANG);
        if (ended == pid) {
            if (WIFEXITED(status)) return WEXITSTATUS(status) != 126 && WEXITSTATUS(status) != 127;
            return false;  // pkexec killed before it decided
        }
        if (ended < 0 && errno != EINTR) return false;
        const std::string name = ProcessName(pid);
        if (!name.empty() && name != waiting) break;  // the program runs
        usleep(pause);
        pause = std::min<useconds_t>(pause * 2, 50000);
    }
    Reap(pid);
    return true;
}
