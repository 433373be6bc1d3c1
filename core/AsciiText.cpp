#include "core/AsciiText.h"

char AsciiUpper(char character) {
    return character >= 'a' && character <= 'z' ? static_cast<char>(character - 'a' + 'A')
                                                : character;
}

std::string AsciiUpper(std::string_view text) {
    std::string upper(text);
    for (char& character : upper) {
        character = AsciiUpper(character);
    }
    return upper;
}
