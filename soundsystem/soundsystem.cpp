// The optional sound library loaded by the program from data/soundsystem.so.
// It plays short sound files fire-and-forget through SDL_mixer. The program
// looks up the five C functions below by name; nothing else is exported.
#include <SDL.h>
#include <SDL_mixer.h>

#include <array>
#include <atomic>
#include <cstdio>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>
#include <string>
#include <vector>

#define QVL_SOUND_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

constexpr int kSampleRate = 44100;
constexpr int kOutputChannels = 2;
constexpr int kBufferFrames = 1024; // about 23 ms: short enough for answer feedback
constexpr int kMixChannels = 16;
constexpr int kDecoders = MIX_INIT_OGG | MIX_INIT_MP3 | MIX_INIT_FLAC;
// Sound files come from lessons anybody may have written: a device or a FIFO
// could feed or block the decoder forever, so only regular files this small are read.
constexpr off_t kMaxFileSize = off_t(64) * 1024 * 1024;

struct PlayingChunk
{
    int channel;
    Mix_Chunk* chunk;
};

// Guards everything below; taken by the exported functions only. The
// channel-finished callback never takes it: SDL_mixer calls the callback with
// its audio lock held, also from Mix_HaltChannel/Mix_FreeChunk on our thread.
std::mutex stateLock;
bool initialised = false;
int decoders = 0;
std::vector<PlayingChunk> chunks; // every chunk we loaded and have not freed yet

// Set by the callback (audio thread) for channels that stopped. Only a hint:
// a channel may stop and be reused before we look, so the reaper confirms
// against the channel's state before freeing anything.
std::array<std::atomic<bool>, kMixChannels> channelStopped{};

void SDLCALL ChannelFinished(int channel)
{
    if (channel >= 0 && channel < kMixChannels)
        channelStopped[static_cast<std::size_t>(channel)].store(true, std::memory_order_release);
}

// Frees the chunks whose playback has ended. Must not run on the audio thread.
void FreeFinishedChunks()
{
    std::array<bool, kMixChannels> stopped{};
    bool any = false;
    for (std::size_t i = 0; i < stopped.size(); ++i) {
        stopped[i] = channelStopped[i].exchange(false, std::memory_order_acq_rel);
        any = any || stopped[i];
    }
    if (!any)
        return;

    std::erase_if(chunks, [&](const PlayingChunk& entry) {
        if (!stopped[static_cast<std::size_t>(entry.channel)])
            return false;
        // A channel that already carries a newer chunk has finished ours; one
        // that still carries ours has finished it when idle. Otherwise the flag
        // was raised for an earlier chunk, and ours raises it again at its end.
        const bool done = Mix_GetChunk(entry.channel) != entry.chunk || Mix_Playing(entry.channel) == 0;
        if (done)
            Mix_FreeChunk(entry.chunk);
        return done;
    });
}

// We are the only SDL user of the process; release SDL's remaining globals
// as well so nothing is left behind when the program unloads us.
void ReleaseSdlWhenUnused()
{
    if (SDL_WasInit(SDL_INIT_EVERYTHING) == 0)
        SDL_Quit();
}

void StopSdlAudio()
{
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    ReleaseSdlWhenUnused();
}

std::string FormatList()
{
    // Before the mixer runs we cannot tell which decoders exist; name what we ask for.
    const int available = initialised ? decoders : kDecoders;
    std::vector<std::string> names{"WAV"};
    if (available & MIX_INIT_OGG)
        names.emplace_back("OGG");
    if (available & MIX_INIT_MP3)
        names.emplace_back("MP3");
    if (available & MIX_INIT_FLAC)
        names.emplace_back("FLAC");

    std::string text = names.front();
    for (std::size_t i = 1; i < names.size(); ++i)
        text += (i + 1 == names.size() ? " und " : ", ") + names[i];
    return text;
}

} // namespace

// The window handle is not needed: SDL's audio works without a window on Linux.
QVL_SOUND_EXPORT int init(void* /*mainWindowHandle*/)
{
    const std::lock_guard guard(stateLock);
    if (initialised)
        return 1;

    // The program ends on SIGTERM, SIGINT and SIGHUP by itself (saving its
    // results); SDL's own handlers would swallow them.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        ReleaseSdlWhenUnused();
        return 0;
    }
    // Formats whose decoder is missing are simply not playable.
    decoders = Mix_Init(kDecoders);
    if (Mix_OpenAudio(kSampleRate, AUDIO_S16SYS, kOutputChannels, kBufferFrames) != 0) {
        Mix_Quit();
        StopSdlAudio();
        return 0;
    }
    Mix_AllocateChannels(kMixChannels);
    for (auto& flag : channelStopped)
        flag.store(false);
    Mix_ChannelFinished(ChannelFinished);
    initialised = true;
    return 1;
}

// Without a running sound system there is nothing to stop, and the caller's
// goal - no audio running afterwards - holds, so that is a success too.
QVL_SOUND_EXPORT int deinit(void)
{
    const std::lock_guard guard(stateLock);
    if (!initialised)
        return 1;

    Mix_HaltChannel(-1);
    Mix_ChannelFinished(nullptr);
    for (const PlayingChunk& entry : chunks)
        Mix_FreeChunk(entry.chunk);
    chunks.clear();
    chunks.shrink_to_fit();
    Mix_CloseAudio();
    Mix_Quit();
    StopSdlAudio();
    initialised = false;
    decoders = 0;
    return 1;
}

QVL_SOUND_EXPORT int play(const char* fileName)
{
    const std::lock_guard guard(stateLock);
    if (!initialised || fileName == nullptr || *fileName == '\0')
        return 0;

    FreeFinishedChunks();
    // Opened once and checked on that descriptor, so the name cannot be
    // swapped for a device between the check and the read.
    const int fd = ::open(fileName, O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return 0;
    struct stat info
    {
    };
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > kMaxFileSize) {
        ::close(fd);
        return 0;
    }
    std::FILE* file = ::fdopen(fd, "rb");
    if (file == nullptr) {
        ::close(fd);
        return 0;
    }
    SDL_RWops* source = SDL_RWFromFP(file, SDL_TRUE);
    if (source == nullptr) {
        std::fclose(file);
        return 0;
    }
    Mix_Chunk* chunk = Mix_LoadWAV_RW(source, 1);
    if (chunk == nullptr)
        return 0;
    const int channel = Mix_PlayChannel(-1, chunk, 0); // -1 also when all channels are busy
    if (channel < 0) {
        Mix_FreeChunk(chunk);
        return 0;
    }
    chunks.push_back({channel, chunk});
    return 1;
}

QVL_SOUND_EXPORT const char* version(void)
{
    static char text[64];
    static std::once_flag once;
    std::call_once(once, [] {
        const SDL_version* mixer = Mix_Linked_Version();
        std::snprintf(text, sizeof text, "Quorvel SoundSystem 1.0 (SDL_mixer %d.%d.%d)", mixer->major, mixer->minor,
                      mixer->patch);
    });
    return text;
}

// The text stays valid until the next call of info().
QVL_SOUND_EXPORT const char* info(void)
{
    static char text[256];
    const std::lock_guard guard(stateLock);
    const char* driver = initialised ? SDL_GetCurrentAudioDriver() : nullptr;
    const std::string formats = FormatList();
    if (driver != nullptr)
        std::snprintf(text, sizeof text, "Spielt %s über %s", formats.c_str(), driver);
    else
        std::snprintf(text, sizeof text, "Spielt %s (Audioausgabe nicht gestartet)", formats.c_str());
    return text;
}
