#include "AudioFiles.hpp"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

#include "Dsp.hpp"
#include "Random.hpp"

namespace soundgen {

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

void putLittleEndian(std::vector<unsigned char>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<unsigned char>((value >> (8 * i)) & 0xFF));
    }
}

void putText(std::vector<unsigned char>& out, const char* text) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<unsigned char>(text[i]));
    }
}

std::int16_t toPcm16(float sample) {
    const double scaled = std::round(static_cast<double>(sample) * 32767.0);
    return static_cast<std::int16_t>(std::clamp(scaled, -32768.0, 32767.0));
}

bool writeAll(std::FILE* file, const unsigned char* data, std::size_t size) {
    return std::fwrite(data, 1, size, file) == size;
}

}  // namespace

bool writeWav(const std::string& path, const StereoBuffer& buffer) {
    constexpr int channels = 2;
    constexpr int bytesPerSample = 2;
    const std::uint32_t dataBytes =
        static_cast<std::uint32_t>(buffer.frames() * channels * bytesPerSample);
    std::vector<unsigned char> bytes;
    bytes.reserve(44 + dataBytes);
    putText(bytes, "RIFF");
    putLittleEndian(bytes, 36 + dataBytes, 4);
    putText(bytes, "WAVE");
    putText(bytes, "fmt ");
    putLittleEndian(bytes, 16, 4);
    putLittleEndian(bytes, 1, 2);  // integer PCM
    putLittleEndian(bytes, channels, 2);
    putLittleEndian(bytes, sampleRate, 4);
    putLittleEndian(bytes, sampleRate * channels * bytesPerSample, 4);
    putLittleEndian(bytes, channels * bytesPerSample, 2);
    putLittleEndian(bytes, 8 * bytesPerSample, 2);
    putText(bytes, "data");
    putLittleEndian(bytes, dataBytes, 4);
    for (std::size_t i = 0; i < buffer.frames(); ++i) {
        putLittleEndian(bytes, static_cast<std::uint16_t>(toPcm16(buffer.left[i])), 2);
        putLittleEndian(bytes, static_cast<std::uint16_t>(toPcm16(buffer.right[i])), 2);
    }
    File file(std::fopen(path.c_str(), "wb"));
    return file && writeAll(file.get(), bytes.data(), bytes.size());
}

namespace {

// Owns the libvorbis and libogg encoder state for one file.
class VorbisEncoder {
  public:
    VorbisEncoder() {
        vorbis_info_init(&info);
        vorbis_comment_init(&comment);
    }
    ~VorbisEncoder() {
        if (started) {
            ogg_stream_clear(&stream);
            vorbis_block_clear(&block);
            vorbis_dsp_clear(&dsp);
        }
        vorbis_comment_clear(&comment);
        vorbis_info_clear(&info);
    }
    VorbisEncoder(const VorbisEncoder&) = delete;
    VorbisEncoder& operator=(const VorbisEncoder&) = delete;

    bool start(float quality, const std::string& title, std::FILE* file) {
        if (vorbis_encode_init_vbr(&info, 2, sampleRate, quality) != 0) {
            return false;
        }
        vorbis_comment_add_tag(&comment, "TITLE", title.c_str());
        vorbis_comment_add_tag(&comment, "ARTIST", "Rollavortex");
        vorbis_analysis_init(&dsp, &info);
        vorbis_block_init(&dsp, &block);
        ogg_stream_init(&stream, static_cast<int>(hashText(title.c_str()) & 0x7FFFFFFF));
        started = true;
        output = file;

        ogg_packet identification;
        ogg_packet comments;
        ogg_packet codebooks;
        vorbis_analysis_headerout(&dsp, &comment, &identification, &comments, &codebooks);
        ogg_stream_packetin(&stream, &identification);
        ogg_stream_packetin(&stream, &comments);
        ogg_stream_packetin(&stream, &codebooks);
        // The audio must start on a fresh page.
        return flushPages();
    }

    bool encode(const StereoBuffer& buffer) {
        constexpr std::size_t blockFrames = 1024;
        for (std::size_t from = 0; from < buffer.frames(); from += blockFrames) {
            const std::size_t count = std::min(blockFrames, buffer.frames() - from);
            float** channels = vorbis_analysis_buffer(&dsp, static_cast<int>(count));
            std::copy_n(buffer.left.begin() + from, count, channels[0]);
            std::copy_n(buffer.right.begin() + from, count, channels[1]);
            vorbis_analysis_wrote(&dsp, static_cast<int>(count));
            if (!drain()) {
                return false;
            }
        }
        vorbis_analysis_wrote(&dsp, 0);  // end of stream
        return drain() && flushPages();
    }

  private:
    // Writes out every page the stream holds, full or not.
    bool flushPages() {
        ogg_page page;
        while (ogg_stream_flush(&stream, &page) != 0) {
            if (!writePage(page)) {
                return false;
            }
        }
        return true;
    }

    bool drain() {
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&dsp, &packet) != 0) {
                ogg_stream_packetin(&stream, &packet);
                ogg_page page;
                while (ogg_stream_pageout(&stream, &page) != 0) {
                    if (!writePage(page)) {
                        return false;
                    }
                }
            }
        }
        return true;
    }

    bool writePage(const ogg_page& page) {
        return writeAll(output, page.header, static_cast<std::size_t>(page.header_len)) &&
               writeAll(output, page.body, static_cast<std::size_t>(page.body_len));
    }

    vorbis_info info{};
    vorbis_comment comment{};
    vorbis_dsp_state dsp{};
    vorbis_block block{};
    ogg_stream_state stream{};
    bool started = false;
    std::FILE* output = nullptr;
};

}  // namespace

bool writeOgg(const std::string& path, const StereoBuffer& buffer, const std::string& title,
              float quality) {
    File file(std::fopen(path.c_str(), "wb"));
    if (!file) {
        return false;
    }
    VorbisEncoder encoder;
    return encoder.start(quality, title, file.get()) && encoder.encode(buffer);
}

}  // namespace soundgen
