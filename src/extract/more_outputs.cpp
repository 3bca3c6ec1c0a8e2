// No option asks for another output yet; each new output joins here.
#include "extract/more_outputs.hpp"

namespace corvane::extract {

const MoreOutputs& more_outputs(const ExtractOptions&) {
    static const MoreOutputs none;
    return none;
}

}  // namespace corvane::extract
