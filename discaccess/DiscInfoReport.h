#pragma once
// What the layer reads from every drive, as text: the body of the discinfo probe.
#include <ostream>

namespace quillon::disc {

// Builds the drive table through the current transport and reports every drive: inquiry,
// capabilities, TOC, sessions, ATIP and CD-Text. Returns the number of drives found.
int writeDiscInfo(std::ostream &out);

class TkseCDDrives;
// What the drive objects of the list report: letter, node and tool argument, readiness,
// capacity, sessions (through the list's session reader) and the disc state.
void writeDriveObjects(std::ostream &out, TkseCDDrives &drives, const char *mountInfoFile);

} // namespace quillon::disc
