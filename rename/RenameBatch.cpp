#include "rename/RenameBatch.h"

#include "platform/Error.h"
#include "platform/PathStatus.h"
#include "platform/Translation.h"
#include "rename/FileMove.h"
#include "rename/RenamePlan.h"

namespace tesslin {

namespace {

std::string Quoted(const std::string& path) {
    return "\"" + path + "\"";
}

// A batch of renames refuses what the single rename refuses: a name that is empty or names
// no file, a file name without an extension, a new file name that is the extension alone,
// and anything but a regular file (or a link to one).
void Check(const RenameStep& step) {
    CheckRenamePlan(RenamePlan{step.from, step.to});
}

bool IdentityOf(const std::string& path, std::uint64_t& device, std::uint64_t& inode,
                std::int64_t& size, std::int64_t& mtime_ns) {
    const PathStatus status = StatusOf(path, false);
    device = status.device;
    inode = status.file_id;
    size = static_cast<std::int64_t>(status.size);
    mtime_ns = status.modified_ns;
    return status.exists;
}

} // namespace

std::vector<StepResult> RunRenames(const std::vector<RenameStep>& steps) {
    std::vector<StepResult> results;
    results.reserve(steps.size());
    for (const RenameStep& step : steps) {
        StepResult result{step, false, {}};
        try {
            Check(step);
            MoveFileNoReplace(step.from, step.to);
            result.done = true;
        } catch (const std::exception& e) {
            result.error = ErrorText(e);
        }
        results.push_back(std::move(result));
    }
    return results;
}

void RenameHistory::Record(const std::vector<StepResult>& results) {
    std::vector<Done> batch;
    for (const StepResult& result : results) {
        if (!result.done) {
            continue;
        }
        Done done{result.step, {}};
        Identity& id = done.identity;
        if (IdentityOf(result.step.to, id.device, id.inode, id.size, id.mtime_ns)) {
            batch.push_back(std::move(done));
        }
    }
    if (!batch.empty()) {
        batches_.push_back(std::move(batch));
    }
}

std::vector<StepResult> RenameHistory::UndoLast() {
    std::vector<StepResult> results;
    if (batches_.empty()) {
        return results;
    }
    const std::vector<Done> batch = std::move(batches_.back());
    batches_.pop_back();
    // Newest first: a later rename may have used a name that an earlier one freed.
    for (auto it = batch.rbegin(); it != batch.rend(); ++it) {
        StepResult result{{it->step.to, it->step.from}, false, {}};
        Identity now;
        if (!IdentityOf(it->step.to, now.device, now.inode, now.size, now.mtime_ns)) {
            result.error = Say("Cannot undo the rename of {0}: {1} is gone",
                               {Quoted(it->step.from), Quoted(it->step.to)});
        } else if (!(now == it->identity)) {
            result.error = Say("Cannot undo the rename of {0}: {1} has changed since",
                               {Quoted(it->step.from), Quoted(it->step.to)});
        } else {
            try {
                MoveFileNoReplace(it->step.to, it->step.from);
                result.done = true;
            } catch (const std::exception& e) {
                result.error = ErrorText(e);
            }
        }
        results.push_back(std::move(result));
    }
    return results;
}

} // namespace tesslin
