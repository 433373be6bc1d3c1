#pragma once

#include <string_view>

#include "config/SettingsFile.h"

class CMorseSession;

// The settings file "init" and the session: each stored value is applied through the operation
// that the user's own choice runs, in file order, so that loading has the side effects of the
// user making the same choices. User-interface thread, as the session.

struct AppliedSettings {
    // The first line said to remember: everything was applied and the text may be restored.
    bool remembered = false;
    // An output can be used.
    bool outputUsable = true;
    // The file is no settings file (its first line holds something other than a number): none
    // of it was taken, and remember stays on so that the text remembered is kept.
    bool damaged = false;
};

// Applies the bytes of "init" (hostile input: any bytes, any length). A list index outside its
// list keeps the value there is; the text kind is one of the five kinds the file has always
// held, and the lesson kind comes back through the course file.
AppliedSettings ApplySettings(CMorseSession& session, std::string_view bytes);

// The values the session would store now.
Settings CollectSettings(const CMorseSession& session);
