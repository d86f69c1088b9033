# Our own code builds with -Wall -Wextra and no warnings; third-party headers come in as SYSTEM.
function(tesslin_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
endfunction()
