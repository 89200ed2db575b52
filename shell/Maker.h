#pragma once

namespace vaultrix {

// Who makes Vaultrix: the project itself. The about window, the help text and the web shortcut
// show these; the addresses lie on a domain reserved for examples.
inline constexpr const char* kMakerName = "Vaultrix-Projekt";
inline constexpr const char* kMakerContact = "Kontakt: Projektteam";
inline constexpr const char* kMakerStreet = "Musterstraße 1";
inline constexpr const char* kMakerCity = "12345 Musterstadt";
inline constexpr const char* kMakerTaxNumber = "Steuernummer: 00/000/00000";
inline constexpr const char* kMakerTaxOffice = "Finanzamt Musterstadt";
inline constexpr const char* kMakerEmail = "vaultrix@example.org";
// The web address as the about window and the help text show it, and the page it opens.
inline constexpr const char* kMakerWebAddress = "www.example.org/vaultrix";
inline constexpr const char* kMakerWebPage = "https://www.example.org/vaultrix/";

}  // namespace vaultrix
