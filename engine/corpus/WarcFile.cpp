#include "corpus/WarcFile.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/file.h>
#include <sys/uio.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

#include "platform/ResponseBody.h"
#include "tessel/Error.h"
#include "tessel/Text.h"

namespace fetchcore {
namespace {

constexpr std::size_t kBufferBytes = 256 * 1024;
constexpr std::string_view kRecordEnd = "\r\n\r\n";

[[noreturn]] void Fail(int error) {
    throw tessel::ComError(tessel::err::kFileError, std::strerror(error));
}

}  // namespace

// Where the bytes of records go: each record begun, written and ended; what a record leaves
// pending is written by its End. Every call answers 0 or the errno that failed it.
class WarcOutput {
  public:
    virtual ~WarcOutput() = default;
    virtual int Begin() { return 0; }
    virtual int Write(std::string_view bytes) = 0;
    virtual int WriteFile(const tessel::UnnamedFile& file) = 0;
    virtual int End() = 0;
    // Drops what a failed record left pending.
    virtual void Discard() {}
};

namespace {

// Records as they are: the pieces in memory gathered into one write, without a copy (they
// live until End); spooled bodies copied inside the kernel.
class PlainOutput final : public WarcOutput {
  public:
    explicit PlainOutput(int fd) : fd_(fd) {}
    int Write(std::string_view bytes) override {
        if (pending_.size() == IOV_MAX) {
            if (const int error = End()) return error;
        }
        if (!bytes.empty()) pending_.push_back({const_cast<char*>(bytes.data()), bytes.size()});
        return 0;
    }
    int WriteFile(const tessel::UnnamedFile& file) override {
        if (const int error = End()) return error;
        return file.CopyTo(fd_);
    }
    int End() override {
        const int error = WriteGathered();
        pending_.clear();
        return error;
    }
    void Discard() override { pending_.clear(); }

  private:
    int WriteGathered() {
        for (std::size_t first = 0; first < pending_.size();) {
            const auto count = static_cast<int>(pending_.size() - first);
            const ssize_t n = tessel::RetryOnInterrupt(
                [&] { return ::writev(fd_, pending_.data() + first, count); });
            if (n < 0) return errno;
            if (n == 0) return EIO;  // no progress and no reason: do not spin
            // Past the pieces written whole, into the one written in part.
            for (auto left = static_cast<std::size_t>(n); left > 0;) {
                iovec& piece = pending_[first];
                const std::size_t taken = std::min(left, piece.iov_len);
                piece.iov_base = static_cast<char*>(piece.iov_base) + taken;
                piece.iov_len -= taken;
                left -= taken;
                if (piece.iov_len == 0) ++first;
            }
        }
        return 0;
    }

    int fd_;
    std::vector<iovec> pending_;
};

// Every record a gzip member of its own, compressed in pieces so memory stays small.
class GzipOutput final : public WarcOutput {
  public:
    explicit GzipOutput(int fd) : fd_(fd), out_(kBufferBytes, '\0') {
        // windowBits 15 + 16: the gzip wrapper, which makes each record a member. The fastest
        // level: HTML shrinks nearly as well, at a third of the default level's CPU.
        ready_ = deflateInit2(&stream_, Z_BEST_SPEED, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY) ==
                 Z_OK;
    }
    ~GzipOutput() override {
        if (ready_) deflateEnd(&stream_);
    }
    GzipOutput(const GzipOutput&) = delete;
    GzipOutput& operator=(const GzipOutput&) = delete;

    int Begin() override { return ready_ && deflateReset(&stream_) == Z_OK ? 0 : ENOMEM; }
    int Write(std::string_view bytes) override { return Deflate(bytes, Z_NO_FLUSH); }
    int WriteFile(const tessel::UnnamedFile& file) override {
        std::string piece(kBufferBytes, '\0');
        for (int64_t at = 0; at < file.Size();) {
            const ssize_t got = file.ReadAt(at, piece.data(), piece.size());
            if (got < 0) return errno;
            if (got == 0) return EIO;  // shorter than what was written to it
            if (const int error = Write({piece.data(), static_cast<std::size_t>(got)})) {
                return error;
            }
            at += got;
        }
        return 0;
    }
    int End() override { return Deflate({}, Z_FINISH); }

  private:
    int Deflate(std::string_view bytes, int flush) {
        stream_.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
        stream_.avail_in = static_cast<uInt>(bytes.size());
        for (;;) {
            stream_.next_out = reinterpret_cast<Bytef*>(out_.data());
            stream_.avail_out = static_cast<uInt>(out_.size());
            const int status = deflate(&stream_, flush);
            if (status == Z_STREAM_ERROR) return ENOMEM;
            const std::size_t made = out_.size() - stream_.avail_out;
            if (const int error = tessel::WriteAll(fd_, {out_.data(), made})) return error;
            if (flush == Z_FINISH ? status == Z_STREAM_END : stream_.avail_in == 0) return 0;
        }
    }

    int fd_;
    std::string out_;
    z_stream stream_{};
    bool ready_ = false;
};

// The writer's lock on the file, for writers in other processes and other opens.
class FileLock {
  public:
    explicit FileLock(int fd) : fd_(fd) {
        locked_ = tessel::RetryOnInterrupt([&] { return ::flock(fd_, LOCK_EX); }) == 0;
    }
    ~FileLock() {
        if (locked_) ::flock(fd_, LOCK_UN);
    }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    bool Locked() const { return locked_; }

  private:
    int fd_;
    bool locked_;
};

}  // namespace

WarcFile::WarcFile(std::string path)
    : path_(std::move(path)),
      gzip_(tessel::EndsWithNoCase(path_, ".gz")),
      file_(tessel::FileDescriptor::Open(path_, O_WRONLY | O_CREAT | O_CLOEXEC, 0666)) {
    if (!file_) Fail(errno);
    if (gzip_) {
        output_ = std::make_unique<GzipOutput>(file_.Get());
    } else {
        output_ = std::make_unique<PlainOutput>(file_.Get());
    }
}

WarcFile::~WarcFile() = default;

void WarcFile::Append(const std::vector<WarcRecord>& records) {
    std::lock_guard lock(mutex_);
    const FileLock fileLock(file_.Get());
    if (!fileLock.Locked()) Fail(errno);
    // Written at the end as it is now, whoever wrote last.
    const off_t start = ::lseek(file_.Get(), 0, SEEK_END);
    if (start < 0) Fail(errno);
    if (const int error = Write(records)) {
        output_->Discard();
        // What was written of the records goes again: the file ends with a whole record.
        if (::ftruncate(file_.Get(), start) != 0) Fail(errno);
        Fail(error);
    }
}

int WarcFile::Write(const std::vector<WarcRecord>& records) {
    WarcOutput& out = *output_;
    for (const WarcRecord& record : records) {
        int error = out.Begin();
        if (!error) error = out.Write(record.header);
        if (!error) error = out.Write(record.blockHead);
        if (!error && record.body) {
            error = record.body->IsSpooled() ? out.WriteFile(record.body->File())
                                             : out.Write(record.body->Bytes());
        }
        if (!error) error = out.Write(kRecordEnd);
        // A gzip member ends with its record; plain records go out together.
        if (!error && gzip_) error = out.End();
        if (error) return error;
    }
    return gzip_ ? 0 : out.End();
}

}  // namespace fetchcore
