#pragma once

#include <QString>
#include <string>

// Conversion between the program's single-byte Windows-1250 text and Qt's strings. Any thread.
QString FromCp1250(const std::string& bytes);
QString FromCp1250(char byte);
// Characters that Windows-1250 cannot hold become 0x7F, which has no Morse code, so that the
// validators remove them rather than letting them turn into a valid character.
std::string ToCp1250(const QString& text);
