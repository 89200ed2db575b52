// Windows-1252 at the file boundary: any stored bytes survive a load and a save unchanged,
// whatever text the encoder takes comes back as the same text, and a stored text reads back as
// itself unless its bytes look like UTF-8.
#include <cstdint>
#include <string_view>

#include "FuzzSupport.h"
#include "store/Cp1252.h"

using vaultrix::fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    const auto text = vaultrix::decodeCp1252(bytes);
    const auto stored = vaultrix::encodeCp1252(text);
    require(stored.has_value(), "decoded bytes always encode");
    require(*stored == bytes, "bytes round-trip unchanged");

    // The same bytes taken as UTF-8 text, as a name or path typed by the user.
    const auto encoded = vaultrix::encodeCp1252(bytes);
    require(vaultrix::fitsCp1252(bytes) == encoded.has_value(), "fitsCp1252 agrees with encode");
    if (encoded) {
        require(encoded->size() <= bytes.size(), "one byte per character");
        require(vaultrix::decodeCp1252(*encoded) == bytes, "encoded text decodes to itself");
        // As a line of a file (after a header), so a byte-order mark cannot come first.
        const auto line = "[A]\n" + std::string(bytes);
        const bool readsBack = vaultrix::decodeStoredText("[A]\n" + *encoded) == line;
        require(readsBack != vaultrix::utf8Lookalike(bytes).has_value(),
                "a stored text reads back exactly when it looks like no UTF-8");
    }
    return 0;
}
