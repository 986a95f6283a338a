#include <span>

#include "platform/platform.h"
#include "run.h"

int main(int argc, char** argv) {
    platform::set_up_standard_output();
    const auto arguments = argc > 1 ? std::span<const char* const>(argv + 1, argc - 1)
                                    : std::span<const char* const>();
    return static_cast<int>(run_tool(arguments));
}
