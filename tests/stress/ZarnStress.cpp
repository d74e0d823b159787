// Starts and closes the desktop program many times on its own X server while
// busy processes load every core, and counts what goes wrong: a program that
// dies by a signal (its stack taken from the core dump with gdb), a window
// that never appears, and a close request the program does not answer.
// Not part of the test suites: run by `make stress`.
//
// Usage: zarn_stress BIN_DIR [CYCLES] [LOADERS]
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "X11Session.h"

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

const char* kTitle = "Stellwick Glyphkiln";

// Repeats done every 20 ms until it holds or the time is up.
template <class Done>
bool WaitUntil(Done done, std::chrono::milliseconds limit) {
  const auto end = Clock::now() + limit;
  while (Clock::now() < end) {
    if (done()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return done();
}

// A child that does nothing but count, for the load.
pid_t StartLoader() {
  const pid_t pid = fork();
  if (pid == 0) {
    volatile unsigned long n = 0;
    for (;;) n = n + 1;
  }
  return pid;
}

// Xvfb on a display number it picks (-displayfd); the name, or empty.
std::string StartServer(pid_t& server) {
  int fds[2];
  if (pipe(fds) != 0) return {};
  server = fork();
  if (server == 0) {
    close(fds[0]);
    const std::string fd = std::to_string(fds[1]);
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, 2);
    // -noreset: the server would otherwise reset whenever its last client
    // leaves, between two cycles, under the feet of the next connection.
    execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24", "-nolisten", "tcp", "-noreset",
           static_cast<char*>(nullptr));
    _exit(127);
  }
  close(fds[1]);
  std::string number;
  char c = 0;
  while (read(fds[0], &c, 1) == 1 && c != '\n') number += c;
  close(fds[0]);
  if (number.empty()) return {};
  const std::string name = ":" + number;
  if (!WaitUntil([&] { return X11Session(name).Connected(); }, std::chrono::seconds(30))) return {};
  return name;
}

pid_t StartProgram(const std::string& program, const std::string& display, const fs::path& dir) {
  const pid_t pid = fork();
  if (pid == 0) {
    if (chdir(dir.c_str()) != 0) _exit(127);
    // A core in the program's own directory when it dies by a signal.
    const rlimit unlimited{RLIM_INFINITY, RLIM_INFINITY};
    setrlimit(RLIMIT_CORE, &unlimited);
    setenv("DISPLAY", display.c_str(), 1);
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    setenv("GLYPHKILN_PROFILE", (dir / "zarn.ini").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
    const int log = open((dir / "output.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    dup2(log, 1);
    dup2(log, 2);
    execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  return pid;
}

// The program's status once it has ended within the limit; -1 while it runs.
int Reap(pid_t pid, std::chrono::milliseconds limit) {
  int status = -1;
  WaitUntil([&] { return waitpid(pid, &status, WNOHANG) == pid; }, limit);
  return status;
}

void ShowStack(const std::string& program, const fs::path& dir) {
  for (const auto& entry : fs::directory_iterator(dir)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind("core", 0) != 0) continue;
    const std::string command = "gdb -batch -q -ex 'thread apply all bt' '" + program + "' '" +
                                entry.path().string() + "' 2>&1 | grep -v '^\\[New LWP'";
    std::printf("---- stack from %s\n", entry.path().c_str());
    std::fflush(stdout);
    if (std::system(command.c_str()) != 0) std::printf("(gdb could not read the core)\n");
  }
  std::printf("---- program output:\n");
  std::fflush(stdout);
  std::system(("cat '" + (dir / "output.txt").string() + "'").c_str());
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: zarn_stress BIN_DIR [CYCLES] [LOADERS]\n");
    return 2;
  }
  const std::string program = fs::absolute(fs::path(argv[1]) / "zarn").string();
  const int cycles = argc > 2 ? std::atoi(argv[2]) : 200;
  const int loaders = argc > 3 ? std::atoi(argv[3]) : static_cast<int>(std::thread::hardware_concurrency());
  if (access(program.c_str(), X_OK) != 0) {
    std::fprintf(stderr, "zarn_stress: %s is not there; build it first\n", program.c_str());
    return 2;
  }
  pid_t server = 0;
  const std::string display = StartServer(server);
  if (display.empty()) {
    std::fprintf(stderr, "zarn_stress: could not start Xvfb\n");
    return 2;
  }
  // One connection for the whole run, so that the server always has a client.
  auto session = std::make_unique<X11Session>(display);
  std::vector<pid_t> load;
  for (int i = 0; i < loaders; ++i) load.push_back(StartLoader());

  int started = 0, signalled = 0, noWindow = 0, closeIgnored = 0, failedExit = 0;
  const fs::path root = fs::temp_directory_path() / ("zarn-stress-" + std::to_string(getpid()));
  for (int cycle = 1; cycle <= cycles; ++cycle) {
    const fs::path dir = root / std::to_string(cycle);
    fs::create_directories(dir);
    fs::permissions(dir, fs::perms::owner_all);  // Qt wants its runtime directory private
    const pid_t pid = StartProgram(program, display, dir);
    ++started;
    unsigned long window = 0;
    int status = -1;
    const bool shown = WaitUntil(
        [&] {
          if (waitpid(pid, &status, WNOHANG) == pid) return true;  // ended before its window
          return (window = session->FindWindow(kTitle)) != 0;
        },
        std::chrono::seconds(60));
    const char* fault = nullptr;
    if (status != -1) {
      fault = "ended before its window";
    } else if (!shown) {
      ++noWindow;
      fault = "no window";
      // What the server holds instead, for the report.
      std::fflush(stdout);
      std::system(("xwininfo -display " + display + " -root -children 2>&1 | grep '\"' | head -8; xwininfo -display " +
                   display + " -name '" + kTitle + "' 2>&1 | grep -i 'map state'")
                      .c_str());
      kill(pid, SIGABRT);
      status = Reap(pid, std::chrono::seconds(30));
    } else {
      // Closed after a varying moment, as a user might: at once, while the
      // start-up still runs, or later.
      std::this_thread::sleep_for(std::chrono::milliseconds((cycle * 37) % 400));
      session->RequestClose(window);
      status = Reap(pid, std::chrono::seconds(30));
      if (status == -1) {
        ++closeIgnored;
        fault = "close request ignored";
        kill(pid, SIGABRT);  // for its stack
        status = Reap(pid, std::chrono::seconds(30));
      }
    }
    if (status != -1 && WIFSIGNALED(status) && !fault) fault = "killed by a signal";
    if (status != -1 && WIFSIGNALED(status) && std::string(fault) != "close request ignored" &&
        std::string(fault) != "no window") {
      ++signalled;
    } else if (status != -1 && WIFEXITED(status) && WEXITSTATUS(status) != 0) {
      ++failedExit;
      if (!fault) fault = "exit status not 0";
    }
    if (fault) {
      std::printf("cycle %d: %s (signal %d, exit %d)\n", cycle, fault, WIFSIGNALED(status) ? WTERMSIG(status) : 0,
                  WIFEXITED(status) ? WEXITSTATUS(status) : -1);
      ShowStack(program, dir);
    } else {
      fs::remove_all(dir);
    }
    if (cycle % 20 == 0) {
      std::printf("%d cycles: %d signalled, %d without window, %d closes ignored, %d failed exits\n", cycle,
                  signalled, noWindow, closeIgnored, failedExit);
      std::fflush(stdout);
    }
  }
  for (pid_t pid : load) kill(pid, SIGKILL);
  for (pid_t pid : load) waitpid(pid, nullptr, 0);
  // Our connection goes before the server, which would otherwise end this
  // program with an I/O error when it stops.
  session.reset();
  kill(server, SIGTERM);
  waitpid(server, nullptr, 0);
  std::printf("started %d, killed by a signal %d, no window %d, close ignored %d, failed exit %d\n", started,
              signalled, noWindow, closeIgnored, failedExit);
  std::error_code ignored;
  if (signalled + noWindow + closeIgnored + failedExit == 0) fs::remove_all(root, ignored);
  else std::printf("kept: %s\n", root.c_str());
  return signalled + noWindow + closeIgnored + failedExit == 0 ? 0 : 1;
}
