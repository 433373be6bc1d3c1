#pragma once

#include <string>
#include <string_view>

// The paths of the files the program names itself, all in the program folder: the settings
// "init", the remembered text "initt", the print collection "tisk.tmp", the history of copy checks
// "historie", the course "kurz", the reception conditions "podminky", the options of sound files
// "zvuk", the records of instant recognition "rozpoznani", the records of callsign runs "volaci",
// the records of sending practice "vysilani" and the language files below "jazyk". Every such path
// is built here. Plain data; any thread.
class CProgramFiles {
public:
    static constexpr std::string_view kLanguageFolder = "jazyk";

    // `folder` with or without its final "/".
    explicit CProgramFiles(std::string folder);

    // The folder followed by "/".
    const std::string& Folder() const { return folder; }
    std::string Settings() const;
    std::string RememberedText() const;
    std::string PrintCollection() const;
    std::string History() const;
    std::string Course() const;
    std::string Conditions() const;
    std::string SoundOptions() const;
    std::string Punctuation() const;
    // The learner's key ("klicovani").
    std::string Keying() const;
    // The records of instant recognition.
    std::string Recognition() const;
    std::string CallsignRecords() const;
    std::string SendingRecords() const;
    // The language file `name` ("local", "localSO", ...).
    std::string Language(std::string_view name) const;

private:
    std::string folder;
};
