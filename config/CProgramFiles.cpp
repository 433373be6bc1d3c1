#include "config/CProgramFiles.h"

#include "config/CConditionsFile.h"
#include "config/CKeyingFile.h"
#include "config/CPunctuationFile.h"
#include "config/CSoundOptionsFile.h"

CProgramFiles::CProgramFiles(std::string programFolder) : folder(std::move(programFolder)) {
    if (folder.empty() || folder.back() != '/') {
        folder.push_back('/');
    }
}

std::string CProgramFiles::Settings() const {
    return folder + "init";
}

std::string CProgramFiles::RememberedText() const {
    return folder + "initt";
}

std::string CProgramFiles::PrintCollection() const {
    return folder + "tisk.tmp";
}

std::string CProgramFiles::History() const {
    return folder + "historie";
}

std::string CProgramFiles::Course() const {
    return folder + "kurz";
}

std::string CProgramFiles::Recognition() const {
    return folder + "rozpoznani";
}

std::string CProgramFiles::Conditions() const {
    return folder + CConditionsFile::kFileName;
}

std::string CProgramFiles::SoundOptions() const {
    return folder + CSoundOptionsFile::kFileName;
}

std::string CProgramFiles::Punctuation() const {
    return folder + CPunctuationFile::kFileName;
}

std::string CProgramFiles::Keying() const {
    return folder + CKeyingFile::kFileName;
}

std::string CProgramFiles::CallsignRecords() const {
    return folder + "volaci";
}

std::string CProgramFiles::SendingRecords() const {
    return folder + "vysilani";
}

std::string CProgramFiles::Language(std::string_view name) const {
    return folder + std::string(kLanguageFolder) + "/" + std::string(name);
}
