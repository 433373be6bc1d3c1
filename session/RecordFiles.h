#pragma once

#include "config/CProgramFiles.h"
#include "training/CCallsignRecordsFile.h"
#include "training/CHistoryFile.h"
#include "training/CRecognitionFile.h"
#include "training/CSendingRecordsFile.h"

// The records the program keeps in its folder: the copy checks' history, the runs of instant
// recognition, the callsign runs and the sessions of sending practice. Built where the program is
// assembled and handed to the session and the windows' models, which outlive none of it.
struct RecordFiles {
    explicit RecordFiles(const CProgramFiles& files)
        : history(files.History()),
          recognition(files.Recognition()),
          callsigns(files.CallsignRecords()),
          sending(files.SendingRecords()) {}

    CHistoryFile history;
    CRecognitionFile recognition;
    CCallsignRecordsFile callsigns;
    CSendingRecordsFile sending;
};
