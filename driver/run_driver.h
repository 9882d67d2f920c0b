// The run: dialogue, loading, then one job per requested dimension.
#pragma once

namespace corrsum {

/// The whole program. Returns only through the end of the run.
[[noreturn]] void runProgram();

}  // namespace corrsum
