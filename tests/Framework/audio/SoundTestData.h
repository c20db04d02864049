#pragma once
// Sound file bytes made by the tests themselves: WAV files with any header (valid or
// not), tones, and Ogg Vorbis streams encoded in memory.

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include <ogg/ogg.h>
#include <vorbis/vorbisenc.h>

namespace zor::test {

inline void appendU16(std::string& out, std::uint32_t value) {
    out.push_back(char(value & 0xFF));
    out.push_back(char((value >> 8) & 0xFF));
}

inline void appendU32(std::string& out, std::uint32_t value) {
    appendU16(out, value & 0xFFFF);
    appendU16(out, value >> 16);
}

// A RIFF/WAVE file; every field can be set to a wrong value.
struct WavSpec {
    std::string riff = "RIFF";
    std::string wave = "WAVE";
    std::string fmtId = "fmt ";
    std::uint32_t fmtSize = 16;
    std::uint32_t audioFormat = 1;
    std::uint32_t channels = 1;
    std::uint32_t rate = 22050;
    std::uint32_t bits = 16;
    int blockAlign = -1;           // -1: channels x bits / 8
    std::string betweenChunks;     // bytes between the fmt and the data chunk
    std::string dataId = "data";
    std::int64_t dataSizeField = -1; // -1: the size of pcm
    std::string pcm;
};

inline std::string wavBytes(const WavSpec& spec) {
    std::string out = spec.riff;
    appendU32(out, 0); // RIFF size, not read
    out += spec.wave;
    out += spec.fmtId;
    appendU32(out, spec.fmtSize);
    appendU16(out, spec.audioFormat);
    appendU16(out, spec.channels);
    appendU32(out, spec.rate);
    const std::uint32_t blockAlign =
        spec.blockAlign >= 0 ? std::uint32_t(spec.blockAlign) : spec.channels * spec.bits / 8;
    appendU32(out, spec.rate * blockAlign);
    appendU16(out, blockAlign);
    appendU16(out, spec.bits);
    if (spec.fmtSize > 16) {
        out.append(spec.fmtSize - 16, '\0');
    }
    out += spec.betweenChunks;
    out += spec.dataId;
    appendU32(out, spec.dataSizeField >= 0 ? std::uint32_t(spec.dataSizeField) : std::uint32_t(spec.pcm.size()));
    out += spec.pcm;
    return out;
}

// Bytes 0, 1, 2, ... (wrapping), so that a read can be checked against its position.
inline std::string countingBytes(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = char(i * 7 % 251);
    }
    return bytes;
}

// A 16-bit sine tone, the same on every channel.
inline std::string tonePcm(double frequency, double seconds, std::uint32_t rate, std::uint32_t channels = 1,
                           double amplitude = 0.5) {
    const std::size_t frames = std::size_t(seconds * rate);
    std::string pcm;
    for (std::size_t i = 0; i < frames; ++i) {
        const double value = amplitude * std::sin(2.0 * M_PI * frequency * double(i) / rate);
        for (std::uint32_t c = 0; c < channels; ++c) {
            appendU16(pcm, std::uint32_t(std::int16_t(std::lround(value * 32767.0))) & 0xFFFF);
        }
    }
    return pcm;
}

inline std::string toneWav(double frequency, double seconds, std::uint32_t rate = 22050) {
    WavSpec spec;
    spec.rate = rate;
    spec.pcm = tonePcm(frequency, seconds, rate);
    return wavBytes(spec);
}

// One Ogg Vorbis logical stream of a sine tone. A granuleJump adds that many frames to the
// sample position of every audio page after the first, so that a short file claims a very
// long stream (decoders read the length from the first and last positions).
inline std::string oggBytes(int channels, long rate, std::size_t frames, int serial, std::int64_t granuleJump = 0) {
    vorbis_info info;
    vorbis_info_init(&info);
    vorbis_encode_init_vbr(&info, channels, rate, 0.2f);
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_dsp_state dsp;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block block;
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, serial);

    std::string out;
    ogg_page page;
    int audioPages = 0;
    auto appendPage = [&out, &audioPages, granuleJump](ogg_page& p) {
        const std::int64_t granule = ogg_page_granulepos(&p);
        if (granule > 0 && ++audioPages > 1 && granuleJump != 0) {
            for (int i = 0; i < 8; ++i) {
                p.header[6 + i] = static_cast<unsigned char>(std::uint64_t(granule + granuleJump) >> (8 * i));
            }
            ogg_page_checksum_set(&p);
        }
        out.append(reinterpret_cast<const char*>(p.header), std::size_t(p.header_len));
        out.append(reinterpret_cast<const char*>(p.body), std::size_t(p.body_len));
    };

    ogg_packet header, commentHeader, codeHeader;
    vorbis_analysis_headerout(&dsp, &comment, &header, &commentHeader, &codeHeader);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &commentHeader);
    ogg_stream_packetin(&stream, &codeHeader);
    while (ogg_stream_flush(&stream, &page) != 0) {
        appendPage(page);
    }

    std::size_t written = 0;
    bool ended = false;
    while (!ended) {
        if (written < frames) {
            const std::size_t count = std::min<std::size_t>(1024, frames - written);
            float** buffer = vorbis_analysis_buffer(&dsp, int(count));
            for (std::size_t i = 0; i < count; ++i) {
                const float value = 0.4f * float(std::sin(2.0 * M_PI * 440.0 * double(written + i) / double(rate)));
                for (int c = 0; c < channels; ++c) {
                    buffer[c][i] = value;
                }
            }
            vorbis_analysis_wrote(&dsp, int(count));
            written += count;
        } else {
            vorbis_analysis_wrote(&dsp, 0);
        }
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&dsp, &packet) != 0) {
                ogg_stream_packetin(&stream, &packet);
                // One page per packet, so that even a short stream has several pages.
                while (ogg_stream_flush(&stream, &page) != 0) {
                    appendPage(page);
                    ended = ended || ogg_page_eos(&page) != 0;
                }
            }
        }
    }
    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return out;
}

} // namespace zor::test
