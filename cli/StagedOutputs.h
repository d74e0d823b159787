// The output files of one run, committed together: each is written to a
// temporary file beside it first, and only when every output has been
// written are the temporaries renamed over their targets. A run that fails
// replaces none of them; the old files stay as they were.
#pragma once

#include <string>
#include <vector>

class StagedOutputs {
 public:
  StagedOutputs() = default;
  StagedOutputs(const StagedOutputs&) = delete;
  StagedOutputs& operator=(const StagedOutputs&) = delete;
  // Removes the temporaries of outputs that were never committed.
  ~StagedOutputs();

  // Registers an output and returns the path to write it to: a fresh
  // temporary file beside the target, or the target itself when it cannot
  // be replaced by renaming (standard output as "-", a pipe or device) or
  // no temporary can be made there (its writer then meets the same trouble
  // and reports it as it always does).
  std::string Add(const std::string& target);

  // Notes that the output registered for `target` has been written (to its
  // temporary, or directly), for the fates of a failed run.
  void MarkWritten(const std::string& target);

  // Renames every temporary over its target, giving each the old file's
  // permissions (or those of a new file). False with `error` naming the
  // first target that could not be replaced; the ones before it are.
  bool CommitAll(std::string& error);

  // A writer's message with the temporary names put back to the targets'.
  std::string InTargetNames(std::string message) const;

  // One line per output saying what became of it, for a run that failed
  // after Add. The output the failure message already names is left out;
  // nothing is said when the run had only one output.
  std::vector<std::string> Fates(const std::string& failure) const;

 private:
  struct Output {
    std::string target;     // as given
    std::string resolved;   // the file a symbolic link names, or the target
    std::string temporary;  // empty when written directly
    bool written = false;
    bool committed = false;
  };
  std::vector<Output> m_outputs;
};

// Whether two output paths name the same file ("-" names none): compared
// after making them absolute and following symbolic links, so "x", "./x"
// and a link to x are one file.
bool SameOutputFile(const std::string& a, const std::string& b);
