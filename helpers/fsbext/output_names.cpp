// Choosing the file names of a bank's sounds.
#include "output_names.h"

#include <unordered_set>

#include "common/text.h"
#include "tools/sound_name.h"
#include "wav_file.h"

std::vector<std::string> soundFileNames(const std::vector<Fsb3Sample>& samples, std::string_view bankName,
                                        const std::function<bool(const std::string&)>& landsOnBank) {
    std::vector<std::string> names;
    std::unordered_set<std::string> taken;
    // The bank's file name is a host name, which may hold a ":" on some systems.
    std::string stem = bankName.empty() ? std::string("sound") : std::string(bankName);
    for (char& c : stem)
        if (c == '/' || c == '\\' || c == ':') c = '_';
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const std::string extension = writtenAsWav(samples[i]) ? ".wav" : ".raw";
        std::string name = samples[i].name;
        // A stored name may equal an earlier safe name, so a safe name can be taken too.
        for (int attempt = 0; !isPlainSoundFileName(name) || taken.count(asciiLower(name)) || landsOnBank(name);
             ++attempt)
            name = stem + "_" + std::to_string(i) + (attempt ? "_" + std::to_string(attempt) : "") + extension;
        taken.insert(asciiLower(name));
        names.push_back(std::move(name));
    }
    return names;
}
