#pragma once

#include <optional>
#include <string>
#include <string_view>

class CNotifier;

// Reading and writing whole files; plain functions, any thread (one writer of a file at a time,
// except AppendLines).

// Files the program reads are treated as hostile: a file larger than this is read only up to it.
inline constexpr std::size_t kMaxFileBytes = 16 * 1024 * 1024;

// How an empty file reads: as no file at all, or as empty contents.
enum class EmptyFile { Missing, Contents };

// The whole contents of a regular file, or nothing when it is missing, not a regular file,
// unreadable or (unless `empty` says otherwise) empty.
std::optional<std::string> ReadFileBytes(const std::string& path,
                                         EmptyFile empty = EmptyFile::Missing);

// Why a file that is there cannot be read (an errno value: no permission, a folder in its place);
// none when it is missing or can be read.
std::optional<int> UnreadableReason(const std::string& path);

// Writes `bytes` (after the existing contents when `append`) so that a failure never leaves a
// half-written file where a good one was: the new contents go to a temporary file beside the
// target, are flushed to disk and then renamed over it. A target that exists but is read-only or
// not a regular file is refused. Returns false on any failure, leaving the target as it was.
bool WriteFileBytes(const std::string& path, std::string_view bytes, bool append);

// Adds `lines` (each with its line end) at the end of a file of lines, in place and under an
// advisory lock (flock), so that windows of the program appending to one file lose nothing of
// each other's. After a last line cut short (no line end: a crash, a full disk, an editor) they
// begin on a line of their own, so that a record is never glued onto the end of another. A write
// that fails takes back what it wrote; false then. A file that exists but is read-only or not a
// regular file is refused.
bool AppendLines(const std::string& path, std::string_view lines);

// Removes from `folder` the temporary files of writes that never finished ("name.tmp-PID-N" of a
// process that is gone: killed, or the machine stopped); those of a running process (another
// window saving) stay. Returns how many went.
int RemoveStaleTemporaries(const std::string& folder);

// WriteFileBytes that reports a failure to `notifier` with the path.
bool WriteFileBytesOrNotify(const std::string& path, std::string_view bytes, bool append,
                            CNotifier& notifier);
