// BuildRenamePlan on arbitrary names: the renamed file is always the mover, and its new name
// is the partner's stem followed by the mover's own extension, for any bytes; a mover without
// a dot is refused with tesslin::Error and nothing else.
#include "rename/RenamePlan.h"

#include "fuzz/FuzzCheck.h"
#include "platform/Error.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace {

// Index of the last '.' found by a forward walk (independent of the code under test).
std::optional<std::size_t> LastDot(const std::string& name) {
    std::optional<std::size_t> dot;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (name[i] == '.') {
            dot = i;
        }
    }
    return dot;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const bool rename_sub_file = input.ConsumeBool();
    const std::string video = input.ConsumeRandomLengthString(4096);
    const std::string subtitle = input.ConsumeRemainingBytesAsString();

    const std::string& mover = rename_sub_file ? subtitle : video;
    const std::string& partner = rename_sub_file ? video : subtitle;
    const auto mover_dot = LastDot(mover);
    const auto partner_dot = LastDot(partner);

    tesslin::RenamePlan plan;
    try {
        plan = tesslin::BuildRenamePlan(video, subtitle, rename_sub_file);
    } catch (const tesslin::Error&) {
        FUZZ_CHECK(!mover_dot.has_value());
        return 0;
    }
    FUZZ_CHECK(mover_dot.has_value());
    FUZZ_CHECK(plan.existingName == mover);

    const std::string stem = partner_dot ? partner.substr(0, *partner_dot) : partner;
    const std::string extension = mover.substr(*mover_dot);
    FUZZ_CHECK(plan.newName == stem + extension);
    // The new name keeps the mover's extension: its last dot starts that extension.
    FUZZ_CHECK(LastDot(plan.newName) == stem.size());
    return 0;
}
