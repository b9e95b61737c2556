// The exit statuses of every qorcfg command: the same mistake gets the same status
// from each of them. docs/qorcfg.md holds the table that scripts read.
#pragma once

enum QorcfgStatus {
    kStatusDone = 0,      // done; `check`: no finding; `diff`: no difference
    kStatusRefused = 1,   // the input was refused and nothing changed (a value outside its
                          // set, a text too long, a bad address, a document that names an
                          // unknown field or holds a wrong value); `check`: a finding;
                          // `diff`: a difference
    kStatusFailed = 2,    // trouble: a command line that cannot be parsed, a file or a
                          // document that cannot be read at all, a write that failed
    kStatusTryAgain = 75, // nothing changed, and the same command may succeed later: another
                          // writer held the lock, another program held the file or kept
                          // changing it (the "temporary failure" of sysexits.h)
};
