#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "tessel/Digest.h"
#include "tessel/UnnamedFile.h"

namespace platform {

// The body of a response: in memory while small; once it grows past kSpoolThreshold, in
// an unnamed file (when spooling was asked for), so that memory does not grow with it.
// Moved along, never copied.
class ResponseBody {
  public:
    static constexpr std::size_t kSpoolThreshold = 1 << 20;

    ResponseBody() = default;  // keeps every byte in memory
    // Spools to `folder`'s file system where it can, else to the temporary folder.
    explicit ResponseBody(std::string spoolFolder) : spoolFolder_(std::move(spoolFolder)) {}
    // A body already whole in memory.
    static ResponseBody Holding(std::string bytes);
    ResponseBody(ResponseBody&&) noexcept = default;
    ResponseBody& operator=(ResponseBody&&) noexcept = default;
    ResponseBody(const ResponseBody&) = delete;
    ResponseBody& operator=(const ResponseBody&) = delete;

    // False when the spool file could not take the data: Failure() has the system's
    // description, and the body is of no use.
    bool Append(std::string_view data);
    // From now on the SHA-256 of the bytes appended is computed as they come, and begun
    // anew when the body is cleared.
    void DigestSha256();
    // That SHA-256, raw; empty when it was not asked for.
    std::string Sha256() const { return sha256_ ? sha256_->Value() : std::string(); }
    const std::string& Failure() const { return failure_; }
    void Clear();  // empty again, in memory; a spool file is freed
    // Makes room in memory for a body of about that size, up to what memory would hold of it.
    void Reserve(int64_t bytes);
    int64_t Size() const { return file_ ? file_->Size() : static_cast<int64_t>(bytes_.size()); }
    bool IsSpooled() const { return file_.has_value(); }
    // The bytes of a body in memory; empty once it is spooled.
    const std::string& Bytes() const { return bytes_; }
    // The file of a spooled body; only when IsSpooled().
    const tessel::UnnamedFile& File() const { return *file_; }
    // Writes the body to `path` under a temporary name and renames it into place; a spooled
    // body is linked or copied inside the kernel. Throws ComError(err::kFileError).
    void SaveAs(const std::string& path) const;

  private:
    bool Spool();
    bool Fail(std::string description);

    std::optional<std::string> spoolFolder_;
    std::string bytes_;
    std::optional<tessel::UnnamedFile> file_;
    std::string failure_;
    std::optional<tessel::Digest> sha256_;
};

}  // namespace platform
