#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace vaultrix {

// The name of the n-th new copy beside an existing item (n counts from 1):
// "Name - Kopie.ext", "Name - Kopie (2).ext", …; a folder, a name without extension and a
// name starting with a dot keep their whole name before " - Kopie". The name is shortened
// before the suffix where it would exceed what file systems accept.
std::string newCopyName(const std::string& name, bool isFolder, unsigned number);

// The program that wrote a temporary file: its process number and a tag of its computer's name,
// so a program that finds the file can tell whether its writer may still be at work.
struct TemporaryOwner {
    unsigned long processId = 0;
    std::uint16_t host = 0;

    bool operator==(const TemporaryOwner&) const = default;
};

// The four hex digits that stand for a computer's name in temporary names.
std::uint16_t hostTag(const std::string& hostName);

// The temporary name under which an entry is written before it takes the place of `name`:
// "." + name + ".vx" + process number + "-" + host tag + "-" + six random hex digits + ".vxtmp",
// the name shortened like newCopyName.
std::string temporaryName(const std::string& name, const TemporaryOwner& owner,
                          std::uint32_t random);

// The owner for exactly the names temporaryName gives, nothing for any other name.
std::optional<TemporaryOwner> temporaryOwner(const std::string& name);

// The text cut to at most maxBytes without splitting a UTF-8 character.
std::string shortenUtf8(const std::string& text, std::size_t maxBytes);

}  // namespace vaultrix
