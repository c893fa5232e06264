#include "playback/vlcfunctionexecutor.h"

#include "app/logwriter.h"
#include "playback/channelengine.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "testsupport/tempdir.h"

namespace {

// A recording stand-in for the engine: every call the binding makes lands in `calls`.
std::vector<std::string> calls;
int isPlayingAnswer = 0;

libvlc_instance_t* const kInstance = reinterpret_cast<libvlc_instance_t*>(0x10);
libvlc_media_player_t* const kPlayer = reinterpret_cast<libvlc_media_player_t*>(0x20);
libvlc_media_t* const kMedia = reinterpret_cast<libvlc_media_t*>(0x30);
libvlc_event_manager_t* const kManager = reinterpret_cast<libvlc_event_manager_t*>(0x40);

void Record(std::string call) {
    calls.push_back(std::move(call));
}

libvlc_instance_t* FakeNew(int argc, const char* const* argv) {
    std::string call = "new(" + std::to_string(argc);
    for (int i = 0; i < argc; ++i) {
        call.append(",").append(argv[i]);
    }
    Record(call + ")");
    return kInstance;
}
libvlc_media_player_t* FakePlayerNew(libvlc_instance_t*) {
    Record("player_new");
    return kPlayer;
}
libvlc_media_t* FakeMediaNewPath(libvlc_instance_t*, const char* path) {
    Record(std::string("media_new_path(") + path + ")");
    return kMedia;
}
void FakeMediaRelease(libvlc_media_t*) {
    Record("media_release");
}
int FakePlay(libvlc_media_player_t*) {
    Record("play");
    return 0;
}
void FakeStop(libvlc_media_player_t*) {
    Record("stop");
}
void FakePlayerRelease(libvlc_media_player_t*) {
    Record("player_release");
}
void FakeRelease(libvlc_instance_t*) {
    Record("release");
}
void FakeSetXwindow(libvlc_media_player_t*, uint32_t window) {
    Record("set_xwindow(" + std::to_string(window) + ")");
}
void FakeSetMedia(libvlc_media_player_t*, libvlc_media_t*) {
    Record("set_media");
}
void FakeSetPause(libvlc_media_player_t*, int pause) {
    Record("set_pause(" + std::to_string(pause) + ")");
}
int FakeIsPlaying(libvlc_media_player_t*) {
    Record("is_playing");
    return isPlayingAnswer;
}
libvlc_event_manager_t* FakeEventManager(libvlc_media_player_t*) {
    Record("event_manager");
    return kManager;
}
int FakeEventAttach(libvlc_event_manager_t*, libvlc_event_type_t type, libvlc_callback_t,
                    void* userData) {
    Record("attach(" + std::to_string(type) + (userData == nullptr ? ",null)" : ",data)"));
    return 0;
}
void FakeSetAdjustInt(libvlc_media_player_t*, unsigned option, int value) {
    Record("adjust_int(" + std::to_string(option) + "," + std::to_string(value) + ")");
}
void FakeSetAdjustFloat(libvlc_media_player_t*, unsigned option, float value) {
    std::ostringstream call;
    call << "adjust_float(" << option << "," << value << ")";
    Record(call.str());
}
int FakeSetVolume(libvlc_media_player_t*, int volume) {
    Record("volume(" + std::to_string(volume) + ")");
    return 0;
}
int FakeSetRate(libvlc_media_player_t*, float rate) {
    std::ostringstream call;
    call << "rate(" << rate << ")";
    Record(call.str());
    return 0;
}
void FakeSetPosition(libvlc_media_player_t*, float position) {
    std::ostringstream call;
    call << "position(" << position << ")";
    Record(call.str());
}
int FakeSetTrack(libvlc_media_player_t*, int track) {
    Record("set_track(" + std::to_string(track) + ")");
    return track == 7 ? 0 : -1;
}
int FakeSnapshot(libvlc_media_player_t*, unsigned number, const char* path, unsigned width,
                 unsigned height) {
    Record("snapshot(" + std::to_string(number) + "," + path + "," + std::to_string(width) + "," +
           std::to_string(height) + ")");
    return 0;
}
void FakeSetAspect(libvlc_media_player_t*, const char* ratio) {
    Record(std::string("aspect(") + ratio + ")");
}
libvlc_track_description_t* FakeTrackDescription(libvlc_media_player_t*) {
    static libvlc_track_description_t second{4, const_cast<char*>("Track 2"), nullptr};
    static libvlc_track_description_t first{3, const_cast<char*>("Track 1"), &second};
    static libvlc_track_description_t disable{-1, const_cast<char*>("Disable"), &first};
    return &disable;
}
void FakeTrackListRelease(libvlc_track_description_t*) {
    Record("track_list_release");
}

void Unused() {
    ADD_FAILURE() << "an entry point the viewer never calls was called";
}

// Symbols of the stand-in, by name; names without a fake get a pointer that must not be called.
std::map<std::string, void*> FakeSymbols() {
    std::map<std::string, void*> symbols;
    for (const char* name : VlcFunctionExecutor::kEntryPointNames) {
        symbols[name] = reinterpret_cast<void*>(&Unused);
    }
    for (const char* name : VlcFunctionExecutor::kPlatformEntryPointNames) {
        symbols[name] = reinterpret_cast<void*>(&Unused);
    }
    const std::map<std::string, void*> fakes = {
        {"libvlc_new", reinterpret_cast<void*>(&FakeNew)},
        {"libvlc_media_player_new", reinterpret_cast<void*>(&FakePlayerNew)},
        {"libvlc_media_new_path", reinterpret_cast<void*>(&FakeMediaNewPath)},
        {"libvlc_media_release", reinterpret_cast<void*>(&FakeMediaRelease)},
        {"libvlc_media_player_play", reinterpret_cast<void*>(&FakePlay)},
        {"libvlc_media_player_stop", reinterpret_cast<void*>(&FakeStop)},
        {"libvlc_media_player_release", reinterpret_cast<void*>(&FakePlayerRelease)},
        {"libvlc_release", reinterpret_cast<void*>(&FakeRelease)},
        {"libvlc_media_player_set_xwindow", reinterpret_cast<void*>(&FakeSetXwindow)},
        {"libvlc_media_player_set_media", reinterpret_cast<void*>(&FakeSetMedia)},
        {"libvlc_media_player_set_pause", reinterpret_cast<void*>(&FakeSetPause)},
        {"libvlc_media_player_is_playing", reinterpret_cast<void*>(&FakeIsPlaying)},
        {"libvlc_media_player_event_manager", reinterpret_cast<void*>(&FakeEventManager)},
        {"libvlc_event_attach", reinterpret_cast<void*>(&FakeEventAttach)},
        {"libvlc_video_set_adjust_int", reinterpret_cast<void*>(&FakeSetAdjustInt)},
        {"libvlc_video_set_adjust_float", reinterpret_cast<void*>(&FakeSetAdjustFloat)},
        {"libvlc_audio_set_volume", reinterpret_cast<void*>(&FakeSetVolume)},
        {"libvlc_media_player_set_rate", reinterpret_cast<void*>(&FakeSetRate)},
        {"libvlc_media_player_set_position", reinterpret_cast<void*>(&FakeSetPosition)},
        {"libvlc_video_set_track", reinterpret_cast<void*>(&FakeSetTrack)},
        {"libvlc_video_take_snapshot", reinterpret_cast<void*>(&FakeSnapshot)},
        {"libvlc_video_set_aspect_ratio", reinterpret_cast<void*>(&FakeSetAspect)},
        {"libvlc_video_get_track_description", reinterpret_cast<void*>(&FakeTrackDescription)},
        {"libvlc_track_description_list_release", reinterpret_cast<void*>(&FakeTrackListRelease)},
    };
    for (const auto& [name, symbol] : fakes) {
        symbols[name] = symbol;
    }
    return symbols;
}

std::unique_ptr<VlcFunctionExecutor> FakeExecutor() {
    const auto symbols = FakeSymbols();
    std::string error;
    auto executor = VlcFunctionExecutor::FromLookup(
        [&](const char* name) {
            auto found = symbols.find(name);
            return found == symbols.end() ? nullptr : found->second;
        },
        error);
    EXPECT_TRUE(executor) << error;
    return executor;
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// The log lines' "[class]\t[method]\ttext" parts, in order.
std::vector<std::string> LogEntries(const std::filesystem::path& folder) {
    std::vector<std::string> entries;
    for (const auto& file : std::filesystem::directory_iterator(folder / "LOG")) {
        std::istringstream lines(ReadFile(file.path()));
        for (std::string line; std::getline(lines, line);) {
            while (!line.empty() && line.back() == '\r') {
                line.pop_back();
            }
            const std::size_t tab = line.find('\t');
            if (tab != std::string::npos) {
                entries.push_back(line.substr(tab + 1));
            }
        }
    }
    return entries;
}

class EngineCallsTest : public ::testing::Test {
protected:
    void SetUp() override {
        calls.clear();
        isPlayingAnswer = 0;
    }
    std::unique_ptr<VlcFunctionExecutor> vlc = FakeExecutor();
};

}  // namespace

TEST(VlcEntryPoints, LooksUpAllNamesInTableOrderAndRejectsAnyMissingOne) {
    std::vector<std::string> expected(VlcFunctionExecutor::kEntryPointNames.begin(),
                                      VlcFunctionExecutor::kEntryPointNames.end());
    ASSERT_EQ(expected.size(), 37u);
    EXPECT_EQ(expected[10], "libvlc_media_player_set_hwnd");
    EXPECT_EQ(expected[36], "libvlc_video_set_aspect_ratio");
    expected.insert(expected.end(), VlcFunctionExecutor::kPlatformEntryPointNames.begin(),
                    VlcFunctionExecutor::kPlatformEntryPointNames.end());

    const auto symbols = FakeSymbols();
    for (const std::string& missing : expected) {
        std::vector<std::string> asked;
        std::string error;
        auto executor = VlcFunctionExecutor::FromLookup(
            [&](const char* name) -> void* {
                asked.emplace_back(name);
                return missing == name ? nullptr : symbols.at(name);
            },
            error);
        EXPECT_FALSE(executor) << missing;
        EXPECT_EQ(error, "Vlc Function is not imported.") << missing;
        EXPECT_EQ(asked, expected) << missing;
    }
}

TEST(VlcLibrary, LoadsTheInstalledEngine) {
    std::string error = "stale";
    auto executor = VlcFunctionExecutor::Load("libvlc.so.5", error);
    ASSERT_TRUE(executor) << error;
    EXPECT_EQ(error, "");
    EXPECT_NE(executor->functions().libvlc_media_player_set_hwnd, nullptr);
}

TEST(VlcLibrary, ReportsAMissingLibrary) {
    std::string error;
    EXPECT_FALSE(VlcFunctionExecutor::Load("/nonexistent/libvlc.so.5", error));
    EXPECT_EQ(error, "libvlc.dll or libvlccore.dll file is not exist.");
}

TEST(VlcLibrary, RejectsAndUnloadsALibraryLackingAnUnusedEntryPoint) {
    const std::string path = KORVANE_STANDIN_LIBVLC;
    ASSERT_EQ(dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD), nullptr);
    std::string error;
    EXPECT_FALSE(VlcFunctionExecutor::Load(path, error));
    EXPECT_EQ(error, "Vlc Function is not imported.");
    EXPECT_EQ(dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD), nullptr) << "library left loaded";
}

TEST(VlcPaths, ToUtf8PathKeepsRoomForTheTerminatingZero) {
    struct Case {
        std::string path;
        bool accepted;
    };
    const std::string korean = "\xED\x95\x9C";  // one syllable, three bytes in UTF-8
    const Case cases[] = {
        {"/card/REC_2012_03_04_05_06_07.mp4", true},
        {"", true},
        {std::string(259, 'a'), true},
        {std::string(260, 'a'), false},
        {std::string(256, 'a') + korean, true},   // 259 bytes
        {std::string(257, 'a') + korean, false},  // 260 bytes
    };
    for (const Case& c : cases) {
        VlcFunctionExecutor::PathBuffer buffer;
        buffer.fill('x');
        EXPECT_EQ(VlcFunctionExecutor::ToUtf8Path(c.path, buffer), c.accepted) << c.path.size();
        const std::string stored(buffer.data());
        EXPECT_EQ(stored, c.accepted ? c.path : "") << c.path.size();
        EXPECT_EQ(buffer.back(), '\0');
    }
}

TEST(VlcPaths, SevenEngineArgumentsWithThePluginFolderBesideTheExecutable) {
    const std::string directory = VlcFunctionExecutor::GetModuleDirectory();
    EXPECT_EQ(std::filesystem::path(directory),
              std::filesystem::canonical("/proc/self/exe").parent_path());
    EXPECT_EQ(VlcFunctionExecutor::MakePluginPathArgument("/opt/korvane"),
              "--plugin-path=/opt/korvane/plugins");
    const std::vector<std::string> expected = {"-I",
                                               "dummy",
                                               "--ignore-config",
                                               "--no-osd",
                                               "--disable-screensaver",
                                               "--no-snapshot-preview",
                                               "--plugin-path=" + directory + "/plugins"};
    EXPECT_EQ(VlcFunctionExecutor::MakeEngineArguments(), expected);
}

TEST_F(EngineCallsTest, ChannelEngineLifeFollowsTheFixedSequence) {
    {
        ChannelEngine engine(vlc.get(), 0x2a00005,
                             {libvlc_MediaPlayerPositionChanged, libvlc_MediaPlayerPlaying},
                             [](const libvlc_event_t*, void*) {});
        EXPECT_EQ(engine.player(), kPlayer);
    }
    const std::string plugins = VlcFunctionExecutor::MakeEngineArguments().back();
    const std::vector<std::string> expected = {
        "new(7,-I,dummy,--ignore-config,--no-osd,--disable-screensaver,--no-snapshot-preview," +
            plugins + ")",
        "player_new",
        "set_xwindow(" + std::to_string(0x2a00005) + ")",
        "event_manager",
        "attach(268,null)",
        "attach(260,null)",
        "aspect(16:9)",
        "player_release",  // no stop before the release
        "release",
    };
    EXPECT_EQ(calls, expected);
}

TEST_F(EngineCallsTest, OperationsMakeTheEngineCallsOfTheirContract) {
    ChannelEngine engine(vlc.get(), 1, {}, nullptr);
    struct Case {
        const char* name;
        std::function<void()> operation;
        int playing;
        std::vector<std::string> expected;
    };
    const std::string tooLong(260, 'p');
    const Case cases[] = {
        {"load",
         [&] { engine.Load("/card/a.mp4", 30); },
         0,
         {"media_new_path(/card/a.mp4)", "set_media", "media_release", "volume(30)"}},
        {"load of a path too long keeps the media",
         [&] { engine.Load(tooLong, 0); },
         0,
         {"volume(0)"}},
        {"toggle while playing pauses with 1",
         [&] { engine.TogglePlayPause(); },
         1,
         {"is_playing", "set_pause(1)"}},
        {"toggle while paused resumes with play",
         [&] { engine.TogglePlayPause(); },
         0,
         {"is_playing", "play"}},
        {"pause while playing",
         [&] { engine.PauseIfPlaying(); },
         1,
         {"is_playing", "set_pause(1)"}},
        {"pause while paused", [&] { engine.PauseIfPlaying(); }, 0, {"is_playing"}},
        {"forced pause", [&] { engine.Pause(); }, 0, {"set_pause(1)"}},
        {"stop", [&] { engine.Stop(); }, 1, {"stop"}},
        {"seek", [&] { engine.Seek(0.25f); }, 1, {"position(0.25)"}},
        {"rate", [&] { engine.SetRate(2.0f); }, 1, {"rate(2)"}},
        {"brightness switches the adjustment on first",
         [&] { engine.SetBrightness(1.5f); },
         1,
         {"adjust_int(0,1)", "adjust_float(2,1.5)"}},
        {"snapshot at the video's own size",
         [&] { engine.Snapshot("/tmp/a(Track1).png"); },
         1,
         {"snapshot(0,/tmp/a(Track1).png,0,0)"}},
        {"snapshot to a path too long", [&] { engine.Snapshot(tooLong); }, 1, {}},
    };
    for (const Case& c : cases) {
        calls.clear();
        isPlayingAnswer = c.playing;
        c.operation();
        EXPECT_EQ(calls, c.expected) << c.name;
    }
}

TEST_F(EngineCallsTest, TrackIdsComeFromTheEngineWithoutTheDisableEntry) {
    EXPECT_EQ(vlc->VideoTrackIds(kPlayer), (std::vector<int>{3, 4}));
    EXPECT_EQ(calls, std::vector<std::string>{"track_list_release"});
}

TEST_F(EngineCallsTest, WrappersLogEachCallWithItsText) {
    TempDir dir;
    LogWriter& log = LogWriter::Instance();
    log.SetLogFolder(dir.path());
    log.Configure(true, 3, 3);

    vlc->libvlc_media_player_play(kPlayer);
    vlc->libvlc_media_player_stop(kPlayer);
    vlc->libvlc_media_player_set_hwnd(kPlayer, 77);
    vlc->libvlc_media_player_set_media(kPlayer, kMedia);
    vlc->libvlc_media_player_set_pause(kPlayer);
    vlc->libvlc_media_player_is_playing(kPlayer);
    vlc->libvlc_media_player_event_manager(kPlayer);
    vlc->libvlc_event_attach(kManager, libvlc_MediaPlayerOpening, nullptr);
    vlc->libvlc_audio_set_volume(kPlayer, 30);
    vlc->libvlc_media_player_set_rate(kPlayer, 1.5f);
    vlc->libvlc_media_player_set_position(kPlayer, 0.5f);
    EXPECT_EQ(vlc->libvlc_video_set_track(kPlayer, 7), 0);
    EXPECT_EQ(vlc->libvlc_video_set_track(kPlayer, 2), -1);
    vlc->libvlc_video_take_snapshot(kPlayer, "/tmp/x.png");
    vlc->libvlc_video_set_aspect_ratio(kPlayer);
    log.Configure(false, 3, 3);
    log.SetLogFolder({});

    const std::vector<std::pair<std::string, std::string>> logged = {
        {"libvlc_media_player_play", "Media Player Play"},
        {"libvlc_media_player_stop", "Media Player Stop"},
        {"libvlc_media_player_set_hwnd", "Media Player Set Hwnd"},
        {"libvlc_media_player_set_media", "Media Player Set Media"},
        {"libvlc_media_player_set_pause", "Media Player Set Pause"},
        {"libvlc_media_player_is_playing", "Media Player is Playing"},
        {"libvlc_media_player_event_manager", "Event Manager"},
        {"libvlc_event_attach", "Event Attach"},
        {"libvlc_audio_set_volume", "Audio Set Volume"},
        {"libvlc_media_player_set_rate", "Media Player Set Rate"},
        {"libvlc_media_player_set_position", "Media Player Set Position"},
        {"libvlc_video_set_track", "Set Track"},
        {"libvlc_video_set_track", "Set Track"},
        {"libvlc_video_take_snapshot", "Snap Shot"},
        {"libvlc_video_set_aspect_ratio", "Set Aspect Ratio"},
    };
    std::vector<std::string> expected;
    for (const auto& [method, text] : logged) {
        expected.push_back("[VlcFunctionExecutor]\t[" + method + "]\t" + text);
    }
    EXPECT_EQ(LogEntries(dir.path()), expected);
    EXPECT_EQ(calls,
              (std::vector<std::string>{
                  "play", "stop", "set_xwindow(77)", "set_media", "set_pause(1)", "is_playing",
                  "event_manager", "attach(258,null)", "volume(30)", "rate(1.5)", "position(0.5)",
                  "set_track(7)", "set_track(2)", "snapshot(0,/tmp/x.png,0,0)", "aspect(16:9)"}));
}
