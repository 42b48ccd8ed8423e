// Replacing a file whole or not at all, for both programs. A new file is
// written to a temporary file beside the one it replaces, flushed to the
// disk, closed, and only then renamed over the old one: a program killed or
// a disk that fills at any moment leaves the whole old file or the whole new
// one, never a part of either. The temporary file is the file's name with
// ".new" appended; one a killed writer left is removed the next time the
// file is written or read.
#ifndef PLATFORM_FILES_WHOLE_FILE_H
#define PLATFORM_FILES_WHOLE_FILE_H

#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <functional>

// The step of a write that failed.
enum class wholeFileStep { none, open, write, flush, close, rename };

// What a failed step means, for a message that names the file:
// "could not be created", "could not be written", "could not be flushed to
// the disk (is the disk full?)", "could not be closed (is the disk full?)",
// "could not replace the old file"; "" for none.
const char* whole_file_step_text(wholeFileStep step);

// The temporary file beside target.
std::filesystem::path whole_file_temporary(const std::filesystem::path& target);

// Writes target whole or not at all: write fills the temporary file (opened
// with mode, "w" or "wb"); it is flushed to the disk (the stream and the
// system's buffers), closed, and renamed over target. On any failure (write
// returning false included) the temporary file is removed, target stays as
// it was, false is returned and failed (when given) names the step.
bool write_file_whole(const std::filesystem::path& target, const char* mode,
                      const std::function<bool(std::FILE*)>& write, wholeFileStep* failed = nullptr);

// The same for a narrow path, taken as UTF-8 (as the desktop holds its
// paths); a null path fails to open.
bool write_file_whole(const char* path, const char* mode, const std::function<bool(std::FILE*)>& write,
                      wholeFileStep* failed = nullptr);

// The same for bytes held in memory, written as they are.
bool write_bytes_whole(const std::filesystem::path& target, const void* bytes, size_t size,
                       wholeFileStep* failed = nullptr);

// The same in two steps, for a stream its caller fills in between: the
// temporary file beside target opened with mode (null when it cannot be:
// failed is open), then flushed, closed and renamed over target (false, the
// temporary file removed and target as it was, when a step fails). Every
// stream opened must be finished.
std::FILE* open_whole_file(const std::filesystem::path& target, const char* mode, wholeFileStep* failed = nullptr);
bool finish_whole_file(std::FILE* file, const std::filesystem::path& target, wholeFileStep* failed = nullptr);

// Removes a temporary file a killed writer left beside target, if any.
void remove_leftover_temporary(const std::filesystem::path& target);
void remove_leftover_temporary(const char* path);

// The seam for tests: from now on the file layer refuses one step as a full
// disk or a locked file would (the flush and the close fail after the bytes
// reached the temporary file), or, with killed, the writer stops after the
// close as a killed program would: the temporary file stays, nothing is
// renamed. none restores the real layer.
enum class wholeFileFault { none, open, flush, close, rename, killed };
void set_whole_file_fault(wholeFileFault fault);

#endif
