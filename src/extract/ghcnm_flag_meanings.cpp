// The flag letters of versions 3 and 4 with their meanings.
#include "extract/ghcnm_flag_meanings.hpp"

#include <string>

namespace corvane::extract {

std::vector<FlagMeaning> dmflag_meanings() {
    std::vector<FlagMeaning> meanings;
    for (char letter = 'a'; letter <= 'i'; ++letter) {
        const int days = letter - 'a' + 1;
        meanings.push_back({letter, std::to_string(days) + (days == 1 ? " day" : " days") + " missing"});
    }
    meanings.push_back({'E', "estimated"});
    return meanings;
}

std::vector<FlagMeaning> qcflag_meanings(ghcn::Edition edition, ghcn::FileKind kind) {
    std::vector<FlagMeaning> meanings;
    for (const ghcn::QcFlag& flag : ghcn::qc_flags(edition, kind)) meanings.push_back({flag.letter, std::string(flag.meaning)});
    return meanings;
}

std::vector<FlagMeaning> dsflag_meanings() {
    std::vector<FlagMeaning> meanings;
    for (char letter = '0'; letter <= '9'; ++letter) meanings.push_back({letter, std::string("source ") + letter});
    for (char letter = 'A'; letter <= 'Z'; ++letter) meanings.push_back({letter, std::string("source ") + letter});
    return meanings;
}

}  // namespace corvane::extract
