#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace vaultrix {

// Every entry the program writes before it takes its final name (a backup copy in the making,
// a data file being rewritten) carries one temporary name, which says who wrote it, so that a
// leftover of a program that ended is told from an entry in use.

// The program that wrote a temporary entry: its process number and a tag of its computer's name.
struct TemporaryOwner {
    unsigned long processId = 0;
    std::uint16_t host = 0;

    bool operator==(const TemporaryOwner&) const = default;
};

// The four hex digits that stand for a computer's name in temporary names.
std::uint16_t hostTag(const std::string& hostName);

// This program on this computer.
TemporaryOwner thisProgram();

// The temporary name under which an entry is written before it takes the place of `name`:
// "." + name + ".vx" + process number + "-" + host tag + "-" + six random hex digits + ".vxtmp",
// the name shortened so the whole stays within what file systems accept.
std::string temporaryName(const std::string& name, const TemporaryOwner& owner,
                          std::uint32_t random);

// The owner for exactly the names temporaryName gives, nothing for any other name.
std::optional<TemporaryOwner> temporaryOwner(const std::string& name);

// True when the temporary entry at `path`, written by `owner`, was left behind: its program ran
// on this computer (`self`) and has ended, or it has not changed for a day (its writer's number
// may be another program's since, or its computer cannot be asked). An entry in use is marked
// changed more often than that.
bool leftBehind(const std::string& path, const TemporaryOwner& owner, const TemporaryOwner& self);

}  // namespace vaultrix
