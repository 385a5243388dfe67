#pragma once
// The one password under which every picture archive (.nox) of the edition is encrypted.

// Every caller passes it when it opens an archive; the edition builder encrypts with it.
inline constexpr char kArchivePassword[] = "PlumTreeVoyage";
