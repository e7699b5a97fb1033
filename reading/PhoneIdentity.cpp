#include "reading/PhoneIdentity.h"

namespace qb {

Parsed<std::string> parseManufacturer(std::string_view reply) {
    for (const std::string_view line : answerLines(reply)) {
        const auto named = afterPrefix(line, "+CGMI:");
        const std::string_view name = unquote(named ? *named : line);
        if (!name.empty())
            return std::string(name);
    }
    return ReplyError{"no manufacturer", {}};
}

PhoneDialogue dialogueForMaker(std::string_view manufacturer) {
    return upperAscii(manufacturer).find("MOTOROLA") != std::string::npos ? PhoneDialogue::Motorola
                                                                          : PhoneDialogue::Standard;
}

} // namespace qb
