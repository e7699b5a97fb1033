#pragma once
// What real phones do that the simulator's prompt, tidy answers do not: take
// their time, dribble their bytes, pause, mix lines of their own into an
// answer, refuse a command, never stop or never answer. Each is an option of
// phonesim and of quillbox-demo; SimServer plays them.
#include "tools/phonesim/AnswerShape.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace qb {

struct PhoneQuirks {
    int answerDelayMs = 0;  // before each answer (the echo and the reply)
    int listingDelayMs = 0; // between the listing's echo and the listing: reading the flash
    int dribbleGapMs = -1;  // 0 or more: every byte on its own, this far apart
    int pauseMs = 0;        // in the middle of the reply to pauseCommand
    std::string pauseCommand = "at+mmgl=\"ALL\"";
    bool unsolicited = false;   // RING, +CMTI: and +MBAN: mixed into the answers
    std::string refusedCommand; // answered with "+CMS ERROR: <cmsError>"
    int cmsError = 500;
    std::string endlessCommand; // its reply never ends
    std::string silentCommand;  // from this command on the phone sends nothing at all

    bool any() const;
};

// Whether a command line as received is the quirk's command (letter case aside).
bool isCommand(std::string_view line, std::string_view command);

// The timing of each answer under the quirks: its delay, the cuts and the gaps.
AnswerShaper answerShaper(const PhoneQuirks& quirks);

// The n-th answer with lines of the phone's own put in, as a phone sends
// them: a banner before the first echo, RING inside the reply, +CMTI: after it.
std::string withUnsolicitedLines(std::string answer, std::size_t n);

// Listing lines that never end, for a reply that never ends: the n-th batch.
std::string endlessListingLines(std::size_t batch);

// Takes the quirk option at argv[i] with its value; returns how many
// arguments it took: 0 when argv[i] is no quirk option, -1 for a bad value.
int takeQuirkOption(int argc, char** argv, int i, PhoneQuirks& quirks);

extern const char QuirksUsage[];

} // namespace qb
