#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "text/CRandomSource.h"

// What the program keys for the learner to send back.
enum class EchoItem : int { kCharacter = 0, kGroup = 1, kWord = 2, kCallsign = 3 };

// How echo practice begins: the characters to draw from (a character standing in the set more
// often is drawn more often: the weak ones), what is keyed, the first speed and the words to
// choose from.
struct EchoSettings {
    std::string characters;
    EchoItem item = EchoItem::kCharacter;
    int startSpeed = 60;  // characters a minute
    // Words in capitals, one per line; only those made of the set's characters are keyed.
    std::string_view wordList;
    std::uint32_t seed = 1;
};

// The rules of echo practice: the program keys an item, the learner sends it back; sent right,
// the next item comes a step faster; sent wrong, the same item comes again a step slower. Words
// and groups are made of the set's characters only (a word list without such a word gives groups);
// callsigns are of every shape. Plain data; any thread.
class CEchoTrainer {
public:
    static constexpr int kSpeedStep = 5;
    static constexpr int kLowestSpeed = 20;
    static constexpr int kHighestSpeed = 300;
    static constexpr std::size_t kGroupLength = 5;

    explicit CEchoTrainer(const EchoSettings& settings);

    // Whether there is anything to key (characters or, for callsigns, always).
    bool Empty() const { return item.empty(); }
    // What is keyed now, in capitals.
    const std::string& Item() const { return item; }
    int Speed() const { return speed; }
    // Judges what was read of the learner's sending of Item() (spaces and case do not count) and
    // moves on; true when it was right.
    bool Judge(std::string_view read);

private:
    void Draw();
    char Character();

    std::string characters;
    EchoItem kind;
    std::vector<std::string> words;
    CRandomSource random;
    std::string item;
    int speed;
};
