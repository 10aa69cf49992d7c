#pragma once
// The maker's own texts, kept in this one place: the credit that ends the titles, the
// project's address on the status panel and the printed order's footer, the credit that
// stands in for the shop's name until the shop enters its own, and the second credit the
// panel shows in turn.
namespace kv::app {

// Ends the application's and the main window's title: "Kalvedo 1.04 - radionica Kalvedo".
inline constexpr const char* kMakerCredit = " - radionica Kalvedo";
// The status panel's address text (a leading blank keeps it off the panel's edge).
inline constexpr const char* kMakerAddress = " www.kalvedo.example";
// The web address as the printed order's footer shows it, at the footer's right edge: the
// panel's text without its blank.
inline constexpr const char* kMakerWebAddress = kMakerAddress + 1;
// The printed order's product line between the program's name with its version and the
// maker's credit.
inline constexpr const char* kMakerProductLine = " - program za servisne naloge";
// The shop's name while the settings file holds none ("Zaglavlje", "Naziv firme").
inline constexpr const char* kMakerShopName = "Radionica Kalvedo";
// The status panel's second credit.
inline constexpr const char* kMakerSecondCredit = " Radni nalozi servisa telefona";

}  // namespace kv::app
