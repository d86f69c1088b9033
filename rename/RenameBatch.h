// Renaming many files in one go, each with the move that never replaces, and undoing the
// last batch. Used by the window's pair suggestions and by `tesslin apply`.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tesslin {

struct RenameStep {
    std::string from; // the file's current full name
    std::string to;   // its new full name
};

struct StepResult {
    RenameStep step;
    bool done = false;
    std::string error; // why it was not done: the whole text, naming both files
};

// How far a running batch (of renames, or of an undo) got, and the request to stop it:
// shared between the thread that renames and whoever shows the progress.
struct BatchProgress {
    std::atomic<std::size_t> finished{0}; // steps tried so far, done or not
    std::atomic<std::size_t> total{0};    // steps in the batch
    // Set from any thread to stop the batch before its next step; the step in hand ends.
    std::atomic<bool> stop{false};
};

// Checks each step and renames it with MoveFileNoReplace, in order, going on after a
// failure. Refused before the disk is touched: an empty name, a file to rename whose file
// name has no extension, a new file name that is the extension alone, and a file to rename
// that is neither a regular file nor a link to one; and, as the steps may come from outside,
// a new name that does not end with the extension of the file to rename, and a symbolic link
// with a relative target that would move to another folder. One result per step tried, in
// order: when `progress` asks to stop, the steps not yet tried have none (the result is
// shorter).
std::vector<StepResult> RunRenames(const std::vector<RenameStep>& steps,
                                   BatchProgress* progress = nullptr);

// The renames of this run, to undo the last batch (or single rename). Lives in memory only.
class RenameHistory {
public:
    // Remembers the steps of `results` that were done, as one batch, with what each renamed
    // file is (device, inode, size, modification time) so that a later change is noticed,
    // even an edit in place that keeps the size.
    // A batch where nothing was done is not remembered.
    void Record(const std::vector<StepResult>& results);

    bool CanUndo() const { return !batches_.empty(); }

    // Moves every file of the last batch back to its old name (newest first) with the same
    // never-replacing move, and forgets the batch. A file that is gone or changed since its
    // rename is left alone, and one whose old name is taken is not moved; both are reported
    // as not done. The result's steps run from the new name back to the old one. Stopped
    // through `progress`, the renames not yet tried stay in the history as its last batch.
    std::vector<StepResult> UndoLast(BatchProgress* progress = nullptr);

private:
    struct Identity {
        std::uint64_t device = 0;
        std::uint64_t inode = 0;
        std::int64_t size = 0;
        std::int64_t mtime_ns = 0;
        bool operator==(const Identity&) const = default;
    };
    struct Done {
        RenameStep step;
        Identity identity;
    };
    std::vector<std::vector<Done>> batches_;
};

} // namespace tesslin
