#pragma once

#include "config/CProgramFiles.h"
#include "training/CCallsignRecordsFile.h"
#include "training/CHistoryFile.h"
#include "training/CRecognitionFile.h"

// The records the program keeps in its folder: the copy checks' history, the runs of instant
// recognition and the callsign runs. Built where the program is assembled and handed to the
// session and the windows' models, which outlive none of it.
struct RecordFiles {
    explicit RecordFiles(const CProgramFiles& files)
        : history(files.History()),
          recognition(files.Recognition()),
          callsigns(files.CallsignRecords()) {}

    CHistoryFile history;
    CRecognitionFile recognition;
    CCallsignRecordsFile callsigns;
};
