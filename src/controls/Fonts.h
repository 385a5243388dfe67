#pragma once
// The typefaces the skins, templates and cell kinds name ("Arial", "MS Sans Serif", "Small
// Fonts") are not on this system; the program and every test that draws windows map them to
// fonts that are.

// Registers the substitutions with the toolkit; calling it again changes nothing.
void RegisterFontSubstitutions();
