// What a command did, for the front end to act on. The window has shown all there is and may
// ignore it; the command line turns it into its exit code (cli/exit_codes.h).
#pragma once

#include <string>
#include <utility>

struct Outcome {
    enum class Kind {
        Done,
        EntriesLeftOut,  // done, but some entries were refused, skipped or failed (the log says which)
        Failed,
        Refused,  // nothing was done: no choice made, a choice refused or a question answered No
    };
    Kind kind = Kind::Done;
    // What a failure or a refusal said; empty for the others and for a cancelled prompt.
    std::string error;
    // Whether a box showed `error`; a failure said in the log alone, or not said, is false.
    bool shown = true;

    static Outcome failed(std::string error, bool shown = true) { return {Kind::Failed, std::move(error), shown}; }
    static Outcome refused(std::string error = {}, bool shown = true) { return {Kind::Refused, std::move(error), shown}; }
    bool done() const { return kind == Kind::Done; }
};
