#pragma once

struct DialogEnvironment;

// Gives the main window the parts that reach this machine: the keying engine on the real clock,
// scheduling and devices, the sound card's cue player, the serial ports and the monotonic clock
// that times key presses.
void AddMachineParts(DialogEnvironment& environment);
