#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "common/Result.h"
#include "store/Cp1252.h"

namespace vaultrix {

// The longest set name, in characters. A log record (its header, "Sicherung=", "Name=",
// "Verlauf=": about 60 bytes besides the name) thus stays far below the log's 4200 bytes, and
// the trim never removes a run's own record at once.
inline constexpr std::size_t kMaxSetNameLength = 200;

// Why a text (a name, a path) cannot be stored in a data file so that it reads back exactly: a
// control character, a character Windows-1252 lacks, or a sequence that reads back as another
// character. The German rest of a sentence after its subject ("Der Pfad" + " " + reason); empty
// when the text can be stored. Every refusal of such a text words it this way.
std::string unstorableReason(std::string_view text);

// The same for a sequence that reads back as another character, for a whole file.
std::string misreadReason(const Utf8Lookalike& lookalike);

// A set name that can be stored: not empty, storable, at most kMaxSetNameLength characters.
// Fails with the German message for the user.
Result<> checkSetName(std::string_view name);

}  // namespace vaultrix
