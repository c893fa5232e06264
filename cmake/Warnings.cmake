# korvane_warnings: the warning set every project target builds with.
add_library(korvane_warnings INTERFACE)
target_compile_options(korvane_warnings INTERFACE -Wall -Wextra -Wpedantic -Wshadow=local
                       -Wnon-virtual-dtor -Wno-missing-field-initializers)
