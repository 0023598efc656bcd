// Building the WAV file of a PCM sample.
#include "wav_file.h"

#include <algorithm>
#include <limits>

#include "common/bytes.h"

namespace {

// Flags of compressed sample formats (MPEG, IT sample packing, IMA ADPCM, VAG, XMA, GameCube
// ADPCM). Such a sample may carry the 16-bit flag for its decoded form; its bytes are not PCM.
constexpr std::uint32_t kCompressedFormats = 0x200 | 0x400 | 0x800 | 0x400000 | 0x800000 | 0x1000000 | 0x2000000;
constexpr std::uint16_t kWavePcm = 1;
constexpr std::size_t kWavHeaderSize = 44;

int bytesPerSample(const Fsb3Sample& sample) {
    bool eight = sample.mode & kFsbMode8Bits, sixteen = sample.mode & kFsbMode16Bits;
    if (eight == sixteen || (sample.mode & kCompressedFormats)) return 0;
    return eight ? 1 : 2;
}

}  // namespace

bool writtenAsWav(const Fsb3Sample& sample) {
    int bytes = bytesPerSample(sample);
    if (bytes == 0 || sample.channels == 0 || sample.frequency <= 0) return false;
    std::uint64_t blockAlign = std::uint64_t{sample.channels} * bytes;
    std::uint64_t byteRate = blockAlign * static_cast<std::uint64_t>(sample.frequency);
    // The RIFF size field counts everything after it, including a pad byte.
    std::uint64_t riffSize = kWavHeaderSize - 8 + std::uint64_t{sample.dataLength} + 1;
    constexpr std::uint64_t kMax32 = std::numeric_limits<std::uint32_t>::max();
    return blockAlign <= std::numeric_limits<std::uint16_t>::max() && byteRate <= kMax32 && riffSize <= kMax32;
}

namespace {

// "RIFF", its size, the format chunk and the data chunk's tag and size.
std::string wavHeader(const Fsb3Sample& sample, int bytes, bool pad) {
    const auto blockAlign = static_cast<std::uint16_t>(sample.channels * bytes);
    std::string wav;
    wav += "RIFF";
    appendU32(wav, static_cast<std::uint32_t>(kWavHeaderSize - 8 + sample.dataLength + (pad ? 1 : 0)));
    wav += "WAVEfmt ";
    appendU32(wav, 16);
    appendU16(wav, kWavePcm);
    appendU16(wav, sample.channels);
    appendU32(wav, static_cast<std::uint32_t>(sample.frequency));
    appendU32(wav, static_cast<std::uint32_t>(sample.frequency) * blockAlign);
    appendU16(wav, blockAlign);
    appendU16(wav, static_cast<std::uint16_t>(8 * bytes));
    wav += "data";
    appendU32(wav, static_cast<std::uint32_t>(sample.dataLength));
    return wav;
}

constexpr std::size_t kPiece = 1 << 20;

}  // namespace

void writeSoundFile(const Fsb3Sample& sample, const SampleData& data, WorkFile& out) {
    const bool wav = writtenAsWav(sample);
    const int bytes = wav ? bytesPerSample(sample) : 0;
    const bool pad = wav && sample.dataLength % 2 != 0;  // RIFF chunks keep an even size
    if (wav) out.write(wavHeader(sample, bytes, pad));
    // WAV holds 8-bit samples unsigned; the bank holds them signed unless flagged unsigned.
    const bool flipSign = bytes == 1 && !(sample.mode & kFsbModeUnsigned);
    for (std::uint64_t done = 0; done < sample.dataLength;) {
        std::string piece =
            data(done, static_cast<std::size_t>(std::min<std::uint64_t>(kPiece, sample.dataLength - done)));
        if (flipSign)
            for (char& c : piece) c = static_cast<char>(c ^ 0x80);
        out.write(piece);
        done += piece.size();
    }
    if (pad) out.write(std::string_view("\0", 1));
}
