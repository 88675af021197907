#pragma once

// Where the program and its maker are found on the web, for the About box and
// the mail that tells a friend; nowhere else names them. The maker's site
// lives under a reserved example domain: there is no real site behind it.
namespace Addresses {

// The maker's web site, as the About box shows it.
inline constexpr char WebSite[] = "www.pelliwick.example.org";
// The program's own page on that site, opened from the About box.
inline constexpr char HomePage[] = "https://www.pelliwick.example.org/pelliwick.html";
// Where a friend told about the program can fetch it: the page, and the
// package itself for a direct download.
inline constexpr char DownloadPage[] = "https://www.pelliwick.example.org/download.html";
inline constexpr char Installer[] =
    "https://www.pelliwick.example.org/download/pelliwick_" PELLIWICK_VERSION "_amd64.deb";
// Questions and reports go here.
inline constexpr char Support[] = "help@pelliwick.example.org";

} // namespace Addresses
