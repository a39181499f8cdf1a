#include "OutputFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <stdexcept>

#include "CliOptions.h"

namespace kestrova::cli {
namespace {

std::string Failure(const std::string& what, const std::string& path, int error) {
    return "cannot " + what + " '" + path + "': " + std::strerror(error);
}

}  // namespace

OutputFile::OutputFile(std::string path) : path_(std::move(path)) {
    int fd = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    created_ = fd >= 0;
    if (fd < 0 && errno == EEXIST) fd = ::open(path_.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) throw UsageError(Failure("write the output file", path_, errno));
    ::close(fd);
}

OutputFile::~OutputFile() {
    if (created_ && !committed_) ::unlink(path_.c_str());
}

void OutputFile::Commit(const std::string& text) {
    committed_ = true;
    std::ofstream out(path_, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out) throw std::runtime_error(Failure("write the output file", path_, errno));
}

void BeginWarcFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) throw UsageError(Failure("write the WARC file", path, errno));
    ::close(fd);
}

}  // namespace kestrova::cli
