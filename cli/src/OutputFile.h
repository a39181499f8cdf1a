#pragma once

#include <string>

namespace kestrova::cli {

// The --output file. Opened for writing before the job, so a path that cannot be written is
// refused before any work; filled only when the job has succeeded, so a failed job leaves an
// existing file as it was and leaves no new empty one behind.
class OutputFile {
  public:
    // Throws UsageError when the file cannot be opened for writing.
    explicit OutputFile(std::string path);
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Replaces the file's content. Throws std::runtime_error when it cannot be written.
    void Commit(const std::string& text);

  private:
    std::string path_;
    bool created_ = false;
    bool committed_ = false;
};

// Begins the run's --warc file empty, creating it when missing; each job then appends its
// records. Throws UsageError when the file cannot be written.
void BeginWarcFile(const std::string& path);

}  // namespace kestrova::cli
