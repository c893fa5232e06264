// A stand-in for the media engine library that exports every entry point name as an empty
// function. Built with one name defined away, it is an engine that lacks that entry point.
#include "playback/vlcentrypoints.h"

#define KORVANE_STANDIN_ENTRY(name) \
    extern "C" __attribute__((visibility("default"))) void name() {}
KORVANE_VLC_ENTRY_POINTS(KORVANE_STANDIN_ENTRY)
KORVANE_VLC_PLATFORM_ENTRY_POINTS(KORVANE_STANDIN_ENTRY)
