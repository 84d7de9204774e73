#pragma once
// Skins for the control tests: a complete DeepBlue-looking skin with some
// colours replaced, as tools/skin-pack writes it.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "tools/skin-pack/skin_pack.h"

namespace skintest {

inline std::vector<unsigned char> SkinWith(const std::vector<std::pair<std::string, std::int32_t>>& colours)
{
    std::vector<skinpack::Record> records = skinpack::StyleSkinRecords(TkivUIStyle::DeepBlue);
    for (const auto& [name, value] : colours)
        for (skinpack::Record& r : records)
            if (r.name == name) r = skinpack::IntegerRecord(name, value);
    const auto archive = skinpack::BuildArchive(skinpack::BuildPayload(records));
    return {archive.begin(), archive.end()};
}

}  // namespace skintest
