#pragma once

#include <string>
#include <string_view>

// Upper-casing as the program means it: ASCII a-z become A-Z and every other byte stays as it
// is, so that a typed character stays one character and accented letters keep their form. Plain
// functions; any thread.

char AsciiUpper(char character);
std::string AsciiUpper(std::string_view text);
