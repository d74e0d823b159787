// Runs the built glyphkiln program as a user would and collects what it
// printed and how it ended.
#pragma once

#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

struct CliRun {
  int status = -1;  // exit status, or -1 when the program did not exit normally
  std::string out;
  std::string err;
};

inline std::string ReadWhole(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// `stdoutPath` replaces the captured standard output (e.g. /dev/full).
inline CliRun RunGlyphkiln(const std::vector<std::string>& args, const std::string& stdoutPath = "") {
  const std::string program = std::string(GLYPHKILN_BIN_DIR) + "/glyphkiln";
  char outTemplate[] = "/tmp/glyphkiln-cli-outXXXXXX";
  char errTemplate[] = "/tmp/glyphkiln-cli-errXXXXXX";
  const int outFd = mkstemp(outTemplate);
  const int errFd = mkstemp(errTemplate);
  CliRun run;
  if (outFd < 0 || errFd < 0) {
    ADD_FAILURE() << "cannot make temporary files";
    return run;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (stdoutPath.empty()) {
    posix_spawn_file_actions_adddup2(&actions, outFd, STDOUT_FILENO);
  } else {
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, stdoutPath.c_str(), O_WRONLY, 0);
  }
  posix_spawn_file_actions_adddup2(&actions, errFd, STDERR_FILENO);
  std::vector<char*> argv{const_cast<char*>(program.c_str())};
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned == 0) {
    int wstatus = 0;
    waitpid(pid, &wstatus, 0);
    run.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
  } else {
    ADD_FAILURE() << "cannot start " << program;
  }
  close(outFd);
  close(errFd);
  run.out = ReadWhole(outTemplate);
  run.err = ReadWhole(errTemplate);
  unlink(outTemplate);
  unlink(errTemplate);
  return run;
}
