# korvane_warnings: the warning set every project target builds with.
add_library(korvane_warnings INTERFACE)
target_compile_options(korvane_warnings INTERFACE -Wall -Wextra -Wpedantic -Wnon-virtual-dtor
                       -Wno-missing-field-initializers)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    target_compile_options(korvane_warnings INTERFACE -Wshadow=local)
else()
    target_compile_options(korvane_warnings INTERFACE -Wshadow-uncaptured-local)
endif()
