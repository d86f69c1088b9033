#include "rename/RenameBatch.h"

#include "platform/Error.h"
#include "platform/PathStatus.h"
#include "platform/Translation.h"
#include "rename/FileMove.h"
#include "rename/RenamePlan.h"

#include <boost/filesystem/operations.hpp>

namespace fs = boost::filesystem;

namespace tesslin {

namespace {

std::string Quoted(const std::string& path) {
    return "\"" + path + "\"";
}

// The folder that holds `path`, "." for a bare name.
fs::path FolderOf(const std::string& path) {
    const fs::path folder = fs::path(path).parent_path();
    return folder.empty() ? fs::path(".") : folder;
}

bool SameFolder(const std::string& a, const std::string& b) {
    boost::system::error_code ec;
    return FolderOf(a) == FolderOf(b) || fs::equivalent(FolderOf(a), FolderOf(b), ec);
}

// A batch of renames refuses what the single rename refuses: a name that is empty or names
// no file, a file name without an extension, a new file name that is the extension alone,
// and anything but a regular file (or a link to one). Its steps come from outside (records
// of `tesslin apply`), so it refuses as well what the single rename never builds: a new name
// with another extension, and a link that would stop pointing at its file.
void Check(const RenameStep& step) {
    CheckRenamePlan(RenamePlan{step.from, step.to});
    const std::string extension = step.from.substr(step.from.rfind('.'));
    if (!step.to.ends_with(extension)) {
        throw Error(Say("The new name does not keep the extension {0} of the file to rename: {1} "
                        "to {2}",
                        {Quoted(extension), Quoted(step.from), Quoted(step.to)}));
    }
    // A relative target is read from the link's folder: moved to another folder, the link
    // would lead nowhere, or to another file. It is refused, not rewritten: the link is the
    // user's, and what it says stays as the user wrote it.
    boost::system::error_code ec;
    if (fs::symlink_status(step.from, ec).type() == fs::symlink_file) {
        const fs::path target = fs::read_symlink(step.from, ec);
        if (!ec && !target.is_absolute() && !SameFolder(step.from, step.to)) {
            throw Error(Say("The file to rename is a symbolic link to the relative path {0}, "
                            "which would lead elsewhere from another folder: {1} to {2}",
                            {Quoted(target.string()), Quoted(step.from), Quoted(step.to)}));
        }
    }
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

// Whether the batch is to stop before its next step.
bool StopBefore(const BatchProgress* progress) {
    return progress && progress->stop.load();
}

void Finished(BatchProgress* progress) {
    if (progress) {
        progress->finished.fetch_add(1);
    }
}

} // namespace

std::vector<StepResult> RunRenames(const std::vector<RenameStep>& steps, BatchProgress* progress) {
    std::vector<StepResult> results;
    results.reserve(steps.size());
    if (progress) {
        progress->total = steps.size();
    }
    for (const RenameStep& step : steps) {
        if (StopBefore(progress)) {
            break;
        }
        StepResult result{step, false, {}};
        try {
            Check(step);
            MoveFileNoReplace(step.from, step.to);
            result.done = true;
        } catch (const std::exception& e) {
            result.error = ErrorText(e);
        }
        results.push_back(std::move(result));
        Finished(progress);
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

std::vector<StepResult> RenameHistory::UndoLast(BatchProgress* progress) {
    std::vector<StepResult> results;
    if (batches_.empty()) {
        return results;
    }
    std::vector<Done> batch = std::move(batches_.back());
    batches_.pop_back();
    if (progress) {
        progress->total = batch.size();
    }
    // Newest first: a later rename may have used a name that an earlier one freed.
    while (!batch.empty()) {
        if (StopBefore(progress)) {
            // What was not tried can still be undone later.
            batches_.push_back(std::move(batch));
            break;
        }
        const Done* it = &batch.back();
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
        batch.pop_back();
        Finished(progress);
    }
    return results;
}

} // namespace tesslin
