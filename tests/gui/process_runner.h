// Starting and watching the programs a window test needs (the X server, the
// editor, xdotool, ImageMagick's import), without a shell in between.
#pragma once

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace zel::testing {

// The current environment with some variables replaced or added.
inline std::vector<std::string> EnvironmentWith(const std::map<std::string, std::string>& changes) {
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) {
    const std::string entry = *e;
    const std::string name = entry.substr(0, entry.find('='));
    if (!changes.count(name)) env.push_back(entry);
  }
  for (const auto& [name, value] : changes) env.push_back(name + "=" + value);
  return env;
}

struct Spawned {
  pid_t pid = -1;
  int error = 0;  // errno of a failed start (ENOENT: the program is not installed)
};

// Starts argv[0] (searched on PATH). stdoutFd, when not -1, becomes the
// child's standard output; keepFd stays open in the child.
inline Spawned Spawn(const std::vector<std::string>& argv, const std::vector<std::string>& env, int stdoutFd = -1,
                     int keepFd = -1) {
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  std::vector<char*> envp;
  for (const std::string& e : env) envp.push_back(const_cast<char*>(e.c_str()));
  envp.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (stdoutFd >= 0) posix_spawn_file_actions_adddup2(&actions, stdoutFd, 1);
  (void)keepFd;  // descriptors without close-on-exec are inherited as they are
  Spawned s;
  s.error = posix_spawnp(&s.pid, args[0], &actions, nullptr, args.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (s.error != 0) s.pid = -1;
  return s;
}

// The exit status of pid once it ends within the time, else nullopt (the
// process is left running). A process ended by a signal gives 128 + signal.
inline std::optional<int> WaitForExit(pid_t pid, std::chrono::milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    int status = 0;
    const pid_t r = ::waitpid(pid, &status, WNOHANG);
    if (r == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    if (r < 0) return std::nullopt;
    if (std::chrono::steady_clock::now() >= end) return std::nullopt;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

inline void Stop(pid_t pid) {
  if (pid <= 0) return;
  ::kill(pid, SIGTERM);
  if (!WaitForExit(pid, std::chrono::seconds(5))) {
    ::kill(pid, SIGKILL);
    WaitForExit(pid, std::chrono::seconds(5));
  }
}

struct RunResult {
  int error = 0;    // errno of a failed start
  int status = -1;  // exit status
  std::string out;  // standard output
};

// Runs a short command to its end and collects its standard output.
inline RunResult Run(const std::vector<std::string>& argv, const std::vector<std::string>& env,
                     std::chrono::milliseconds timeout = std::chrono::seconds(30)) {
  RunResult r;
  int fds[2];
  if (::pipe(fds) != 0) {
    r.error = errno;
    return r;
  }
  const Spawned s = Spawn(argv, env, fds[1]);
  ::close(fds[1]);
  if (s.pid < 0) {
    ::close(fds[0]);
    r.error = s.error;
    return r;
  }
  char buf[4096];
  ssize_t n;
  while ((n = ::read(fds[0], buf, sizeof buf)) > 0) r.out.append(buf, size_t(n));
  ::close(fds[0]);
  const std::optional<int> status = WaitForExit(s.pid, timeout);
  if (!status) Stop(s.pid);
  r.status = status.value_or(-1);
  return r;
}

}  // namespace zel::testing
