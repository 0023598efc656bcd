// The texture names a model file refers to, found without parsing the model: every ".tga"
// (ASCII letters in any case) and the bytes back to the zero byte before it, searched in
// windows of 1024 bytes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct TextureNameHit {
    std::string name;      // from the byte after the zero byte through the "a" of ".tga"
    std::uint64_t offset;  // file offset of the "." of ".tga"
};

// Every name the windowed search finds, in file order, duplicates included.
std::vector<TextureNameHit> findTextureNames(std::string_view model);

// The names as the listing shows them: each split again at every "|", and each entry kept
// only at its first appearance (entries compared byte for byte).
std::vector<std::string> listedTextureNames(const std::vector<TextureNameHit>& hits);
