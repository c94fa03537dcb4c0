#include "platform/system/sound.h"

#include <alsa/asoundlib.h>
#include <memory>
#include <mutex>
#include <sndfile.h>
#include <vector>

namespace qm::sys {

namespace {

// ALSA prints its failures on standard error; ours are reported by the result alone.
void quietAlsa(const char*, int, const char*, int, const char*, ...) { }

struct SndfileCloser {
    void operator()(SNDFILE* f) const { sf_close(f); }
};
struct PcmCloser {
    void operator()(snd_pcm_t* p) const { snd_pcm_close(p); }
};

} // namespace

bool PlayWaveFile(const std::string& path)
{
    return PlayWaveFile(path, "default");
}

bool PlayWaveFile(const std::string& path, const std::string& device)
{
    static std::once_flag silenced;
    std::call_once(silenced, [] { snd_lib_error_set_handler(quietAlsa); });

    SF_INFO info {};
    std::unique_ptr<SNDFILE, SndfileCloser> file(sf_open(path.c_str(), SFM_READ, &info));
    if (!file || info.channels < 1 || info.samplerate < 1)
        return false;

    snd_pcm_t* raw = nullptr;
    if (snd_pcm_open(&raw, device.c_str(), SND_PCM_STREAM_PLAYBACK, 0) < 0)
        return false;
    std::unique_ptr<snd_pcm_t, PcmCloser> pcm(raw);
    // Resampling and channel mapping by ALSA; a tenth of a second of buffer.
    if (snd_pcm_set_params(pcm.get(), SND_PCM_FORMAT_S16, SND_PCM_ACCESS_RW_INTERLEAVED,
            unsigned(info.channels), unsigned(info.samplerate), 1, 100000)
        < 0)
        return false;

    std::vector<short> buffer(std::size_t(4096) * std::size_t(info.channels));
    for (;;) {
        const sf_count_t frames = sf_readf_short(file.get(), buffer.data(), 4096);
        if (frames <= 0)
            break;
        const short* at = buffer.data();
        snd_pcm_sframes_t left = frames;
        while (left > 0) {
            snd_pcm_sframes_t written = snd_pcm_writei(pcm.get(), at, snd_pcm_uframes_t(left));
            if (written < 0) {
                // An underrun or a suspended device recovers; anything else ends the sound.
                if (snd_pcm_recover(pcm.get(), int(written), 1) < 0)
                    return false;
                continue;
            }
            left -= written;
            at += written * info.channels;
        }
    }
    snd_pcm_drain(pcm.get());
    return true;
}

} // namespace qm::sys
