#pragma once

#include "frame/ErrorLog.h"

// Says each report as one UTF-8 line on stderr, through the player's one
// writer there (the executable's log when QUILTOR_LOG is set).
class CStderrLogDevice : public kivotasuGameKit::IErrorLog {
public:
    void Out(const char* format, ...) override __attribute__((format(printf, 2, 3)));
};
