// BuildRenamePlan on arbitrary names: the renamed file is always the mover, and its new name
// is the partner's stem followed by the mover's own extension, for any bytes. It is refused
// with tesslin::RenameRefused, and only then, when the mover's file name (after its last
// '/') holds no dot, or when the new file name would be the extension alone.
#include "rename/RenamePlan.h"

#include "fuzz/FuzzCheck.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace {

// Index of the last `c` found by a forward walk (independent of the code under test).
std::optional<std::size_t> LastOf(const std::string& name, char c) {
    std::optional<std::size_t> found;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (name[i] == c) {
            found = i;
        }
    }
    return found;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const bool rename_sub_file = input.ConsumeBool();
    const std::string video = input.ConsumeRandomLengthString(4096);
    const std::string subtitle = input.ConsumeRemainingBytesAsString();

    const std::string& mover = rename_sub_file ? subtitle : video;
    const std::string& partner = rename_sub_file ? video : subtitle;
    const auto mover_slash = LastOf(mover, '/');
    const auto mover_dot = LastOf(mover, '.');
    const bool has_extension = mover_dot && (!mover_slash || *mover_dot > *mover_slash);
    const auto partner_dot = LastOf(partner, '.');
    const std::string stem = partner_dot ? partner.substr(0, *partner_dot) : partner;
    const bool names_a_file = !stem.empty() && stem.back() != '/';

    tesslin::RenamePlan plan;
    try {
        plan = tesslin::BuildRenamePlan(video, subtitle, rename_sub_file);
    } catch (const tesslin::RenameRefused&) {
        FUZZ_CHECK(!has_extension || !names_a_file);
        return 0;
    }
    FUZZ_CHECK(has_extension && names_a_file);
    FUZZ_CHECK(plan.existingName == mover);

    const std::string extension = mover.substr(*mover_dot);
    FUZZ_CHECK(plan.newName == stem + extension);
    // The new name keeps the mover's extension: its last dot starts that extension.
    FUZZ_CHECK(LastOf(plan.newName, '.') == stem.size());
    return 0;
}
