#ifndef WFDB_H
#define WFDB_H

// The program only tells the signal-record library where to look for
// records; this small layer keeps that search path.

// Sets the blank-separated search path (copied; null clears it).
void setwfdb(const char* path);
// The search path last set, or an empty string.
const char* getwfdb();

#endif // WFDB_H
