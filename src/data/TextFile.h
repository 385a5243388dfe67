#pragma once
// Reading a text file whole (the page templates are read this way).

#include <string>

// Reads the whole file at path into text. A file that cannot be opened or read gives empty
// text and false.
bool ReadTextFile(const std::string& path, std::string& text);
