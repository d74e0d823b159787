// Runs a shell command for the tests that drive the command-line tool and
// read back what it wrote: its exit status and everything it printed.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <string>

struct ShellRun {
  int status = -1;
  std::string out;
};

inline ShellRun Shell(const std::string& command) {
  ShellRun run;
  FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  if (!pipe) return run;
  char buffer[4096];
  std::size_t n = 0;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.out.append(buffer, n);
  const int status = pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}
